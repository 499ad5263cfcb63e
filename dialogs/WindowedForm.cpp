#include "dialogs/WindowedForm.h"

#include "forms/gtk/FormView.h"
#include "platform/window/Windows.h"

namespace dialogs {

WindowedForm::WindowedForm(forms::FormDesc desc) : FormObject(std::move(desc)) {}

WindowedForm::~WindowedForm() {
    m_view.reset();
    if (m_window && win::IsWindow(m_window))
        win::DestroyWindow(m_window);
}

void WindowedForm::ensureWindow() {
    if (m_window)
        return;
    beforeWindow();
    const forms::FormDesc& d = form().desc();
    m_window = win::CreateWindowObject({d.name, d.caption, nullptr, d.width, d.height});
    m_view = forms::gtkview::buildIfDisplayed(form(), m_window);
}

} // namespace dialogs
