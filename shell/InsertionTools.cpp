#include "shell/InsertionTools.h"

#include "platform/browser/Dom.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"
#include "tools/BrowserCalls.h"
#include "tools/PositionedObjects.h"
#include "tools/Tables.h"

#include <memory>

namespace shell {

namespace {

// The table dialog opens for text; a selected object would have no place
// for the table.
void ToolButton13Click(TBandForm& band) {
    browser::Document document{tools::currentDocument(band.FBrowser.get())};
    if (document.selection().type() == "Control")
        return;
    if (auto* dialog = processForm(ProcessFormSlot::Table))
        dialog->Show();
}

} // namespace

void bindInsertionTools(TBandForm& band) {
    forms::Form& f = band.form();
    f["ToolButton5"].onClick = [&band] { tools::ToolButton5Click(band.FBrowser.get()); };
    auto movies = std::make_shared<tools::OpenDialog2>();
    f["ToolButton20"].onClick = [&band, movies] {
        if (std::optional<std::string> movie = movies->Execute())
            tools::insertFlashMovie(band.FBrowser.get(), *movie);
    };
    f["ToolButton13"].onClick = [&band] { ToolButton13Click(band); };
    f["btnTableInsRow"].onClick = [&band] { tools::btnTableInsRowClick(band.FBrowser.get()); };
    f["btnTableDelRow"].onClick = [&band] { tools::btnTableDelRowClick(band.FBrowser.get()); };
    f["btnTableInsCol"].onClick = [&band] { tools::btnTableInsColClick(band.FBrowser.get()); };
    f["btnTableDelCol"].onClick = [&band] { tools::btnTableDelColClick(band.FBrowser.get()); };
}

} // namespace shell
