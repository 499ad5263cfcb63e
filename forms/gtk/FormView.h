#pragma once

#include "forms/Form.h"
#include "platform/com/Window.h"

#include <memory>

// The toolkit view of a form: real widgets built from the form's
// description inside the form's window, bound to its control model both
// ways. User input runs the model's user actions; model changes update the
// widgets.
namespace forms::gtkview {

class FormView {
public:
    virtual ~FormView() = default;
    // The widget that shows a control (a GtkWidget*), for tests.
    virtual void* widget(const std::string& control) const = 0;
};

// Builds the view when the window has a toolkit widget; answers null for a
// headless window (no display).
std::unique_ptr<FormView> buildIfDisplayed(Form& form, HWND window);

} // namespace forms::gtkview
