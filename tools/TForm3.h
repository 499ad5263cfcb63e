#pragma once

#include "forms/FormObject.h"
#include "platform/com/Window.h"
#include "tools/Tables.h"

#include <functional>
#include <memory>
#include <string>

namespace forms::gtkview {
class FormView;
}

namespace tools {

// "Table properties": builds the markup of a new table from its fields and
// inserts it at the selection. It is created once, hidden, and its fields
// keep what the user left in them from one use to the next.
class TForm3 : public forms::FormObject {
public:
    TForm3();
    ~TForm3() override;

    void Show() override;

    // The fields as they stand.
    TableFields fields() const;

    void FormShow();
    // Refreshes the preview grid from the row and column counts.
    void TrowsChange();
    // Builds the table, inserts it and hides the dialog; "moveable" makes
    // it positioned. A count that is not an integer or a failed insertion
    // ends with an error and the dialog stays open.
    void fixedClick(const std::string& button = "fixed");
    void Button3Click();
    void tbackground2ColorChange();
    void dfsColorButton2ColorChange();
    void Imagelayer1Click();
    void Imagenormal1Click();

    forms::BandFormLink* FBandForm = nullptr;
    // What the band form lends the dialog: insertion at the document's
    // selection, and the image chooser that picks a picture on a website.
    std::function<void(const std::string& html)> pasteHTML;
    std::function<void()> chooseWebImage;

private:
    void bindHandlers();

    HWND m_window = nullptr;
    std::string m_lastPicture;
    std::unique_ptr<forms::gtkview::FormView> m_view;
};

} // namespace tools
