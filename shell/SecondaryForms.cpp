#include "shell/SecondaryForms.h"

#include "dialogs/TForm2.h"
#include "dialogs/Ttestform.h"
#include "dialogs/wizard/Tformwizzard.h"
#include "shell/BandForm.h"
#include "shell/FtpSessionForm.h"
#include "shell/ProcessForms.h"
#include "shell/Tblankform.h"
#include "tools/TForm3.h"

namespace shell {

namespace {

std::unique_ptr<ProcessForm> makeProcessForm(ProcessFormSlot slot) {
    switch (slot) {
    case ProcessFormSlot::Blank:
        return std::make_unique<Tblankform>();
    case ProcessFormSlot::Ftp:
        return std::make_unique<FtpSessionFormObject>();
    case ProcessFormSlot::PageProperties:
        return std::make_unique<dialogs::TForm2>();
    case ProcessFormSlot::Table:
        return std::make_unique<tools::TForm3>();
    case ProcessFormSlot::Wizard:
        return std::make_unique<dialogs::Tformwizzard>();
    case ProcessFormSlot::Gallery:
        return std::make_unique<dialogs::Ttestform>();
    case ProcessFormSlot::Count:
        break;
    }
    return nullptr;
}

} // namespace

bool createMissingProcessForms() {
    bool created = false;
    for (int i = 0; i < static_cast<int>(ProcessFormSlot::Count); ++i) {
        auto slot = static_cast<ProcessFormSlot>(i);
        if (!processForm(slot)) {
            setProcessForm(slot, makeProcessForm(slot));
            created = true;
        }
    }
    return created;
}

void linkProcessForms(TBandForm* band) {
    if (auto* f = processFormAs<dialogs::Ttestform>(ProcessFormSlot::Gallery))
        f->FBandForm = band;
    if (auto* f = processFormAs<dialogs::Tformwizzard>(ProcessFormSlot::Wizard))
        f->FBandForm = band;
    if (auto* f = processFormAs<FtpSessionFormObject>(ProcessFormSlot::Ftp)) {
        f->session.FBandForm = band;
        f->session.FErrorRoutine = processFormAs<dialogs::Tformwizzard>(ProcessFormSlot::Wizard);
    }
    if (auto* f = processFormAs<dialogs::TForm2>(ProcessFormSlot::PageProperties))
        f->FBandForm = band;
    if (auto* f = processFormAs<tools::TForm3>(ProcessFormSlot::Table))
        f->FBandForm = band;
}

} // namespace shell
