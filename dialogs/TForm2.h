#pragma once

#include "dialogs/WindowedForm.h"

#include <functional>

namespace browser {
class Document;
class Element;
} // namespace browser

namespace dialogs {

class DialogHost;

// The page properties dialog: the title, background color and picture, and
// the keywords and description metas of the page shown in the browser. It
// works on the page itself at each showing and at "&Ok"; it keeps no copy.
class TForm2 : public WindowedForm {
public:
    TForm2();
    // Shows the dialog modeless and reads the page into it.
    void Show() override;

    DialogHost* FBandForm = nullptr;

    void FormShow();
    void Button2Click();
    void Button3Click();
    void tbackground2ColorChange();
    void Noimage1Click();
    void Imagenormal1Click();
    void Imagelayer1Click();

private:
    browser::Document pageDocument() const;
};

// Calls visit on each element from the first one on, in document order, and
// stops after the first "body", "tr" or "table": the metas of the head.
void walkHead(const browser::Document& document,
              const std::function<void(const browser::Element&)>& visit);

} // namespace dialogs
