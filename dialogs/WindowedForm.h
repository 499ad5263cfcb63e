#pragma once

#include "forms/FormObject.h"
#include "platform/com/Window.h"

#include <memory>

namespace forms::gtkview {
class FormView;
}

namespace dialogs {

// A form shown in a top-level window of its own. The window and its widgets
// are made when the form is first shown, so a dialog that is never opened
// costs nothing; without a display the form stays a control model.
class WindowedForm : public forms::FormObject {
public:
    explicit WindowedForm(forms::FormDesc desc);
    ~WindowedForm() override;

    // The widgets, for tests; null before the first showing or headless.
    forms::gtkview::FormView* view() const { return m_view.get(); }
    HWND Handle() const { return m_window; }

protected:
    // Makes the window and its widgets if not made yet; the form's owner
    // prepares what the widgets need (its browsers) in beforeWindow.
    void ensureWindow();
    virtual void beforeWindow() {}

private:
    HWND m_window = nullptr;
    std::unique_ptr<forms::gtkview::FormView> m_view;
};

} // namespace dialogs
