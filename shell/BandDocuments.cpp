// The band form's document commands and the upload: thin bindings of the
// publishing layer to this form's state, its status line and the session.
#include "dialogs/wizard/Tformwizzard.h"
#include "platform/places/Places.h"
#include "publishing/documents/Documents.h"
#include "publishing/documents/Upload.h"
#include "shell/BandForm.h"
#include "shell/FtpSessionForm.h"
#include "shell/ProcessForms.h"

#include <stdexcept>

namespace {

ftp::FtpClient& sessionClient() {
    auto* form = shell::processFormAs<shell::FtpSessionFormObject>(shell::ProcessFormSlot::Ftp);
    if (!form)
        throw std::runtime_error("The FTP session does not exist");
    return form->session.IdFTP1;
}

} // namespace

documents::Documents TBandForm::documentCommands() {
    return documents::Documents({
        .browser = FBrowser.get(),
        .pageUri = FPageUri,
        .ftp = sessionClient(),
        .folder = FWindowsFolder,
        .templates = documents::templateFolder(),
        .enterEditMode =
            [this] {
                m_form["designmode"].setDown(true);
                designmodeClick();
            },
        .waiting = [this] { waiting(); },
        .trace = [this](const std::string& line) { trace(line); },
    });
}

void TBandForm::btnNewClick() {
    documentCommands().newPage();
}

void TBandForm::Anewlocalfile1Click() {
    documentCommands().newLocalPage();
}

void TBandForm::Anewfileonyourserver1Click() {
    documentCommands().newRemotePage();
}

void TBandForm::Startawebpagefromtemplate1Click() {
    documentCommands().pageFromTemplate();
}

void TBandForm::btnOpenClick() {
    documentCommands().open();
}

void TBandForm::btnSaveClick() {
    documentCommands().save();
}

documents::UploadOutcome TBandForm::upload() {
    documents::Upload publishing({
        .browser = FBrowser.get(),
        .pageUri = FPageUri,
        .remotePageURL = FRemotePageURL,
        .uploadNames = FUploadNames,
        .uploadFiles = FUploadFiles,
        .ftp = sessionClient(),
        .folder = FWindowsFolder,
        .reconnect = [this] { wizard()->finishedClick(); },
        .saveToDisk = [this] { btnSaveClick(); },
        .status = [this](const std::string& text) { panelinfo(text); },
        .trace = [this](const std::string& line) { trace(line); },
    });
    // While the files go out only Cancel may be pressed: the other commands
    // would start on a session and a page that the upload is using.
    m_upload = &publishing;
    uploadControls(true);
    try {
        documents::UploadOutcome outcome = publishing.run();
        m_upload = nullptr;
        uploadControls(false);
        return outcome;
    } catch (...) {
        m_upload = nullptr;
        uploadControls(false);
        throw;
    }
}

void TBandForm::uploadControls(bool uploading) {
    m_form["btnCancelUpload"].setVisible(uploading);
    m_form["btnCancelUpload"].setEnabled(uploading);
    for (const char* name : {"designmode", "btnNew", "ToolButton8"})
        m_form[name].setEnabled(!uploading);
}

void TBandForm::btnCancelUploadClick() {
    if (m_upload)
        m_upload->cancel();
}
