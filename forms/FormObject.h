#pragma once

#include "forms/Form.h"

namespace forms {

// A form of the system as an object: its control model and its visibility.
// The secondary forms derive from it; the process keeps one of each.
class FormObject {
public:
    explicit FormObject(FormDesc desc) : m_form(std::move(desc)) {}
    virtual ~FormObject() = default;
    FormObject(const FormObject&) = delete;
    FormObject& operator=(const FormObject&) = delete;

    Form& form() { return m_form; }
    const Form& form() const { return m_form; }

    // Shown modeless; hidden, not destroyed, when closed.
    virtual void Show() { m_form.setVisible(true); }
    virtual void Hide() { m_form.setVisible(false); }
    bool Visible() const { return m_form.visible(); }

private:
    Form m_form;
};

// What the secondary forms reach of the band form that created them.
class BandFormLink {
public:
    // The edit-mode switch, with the button set as the caller left it.
    virtual void designmodeClick() = 0;
    // Raises or presses the "Edit site" button without running the switch.
    virtual void setEditButtonDown(bool down) = 0;
    virtual void DesignModeoff() = 0;
    virtual void deshabilitetout() = 0;
    // Closes the FTP session, if one is open.
    virtual void disconnectFtp() = 0;
    virtual void waiting() = 0;
    virtual void panelinfo(const std::string& text) = 0;
    // Appends a line to the band form's trace memo.
    virtual void trace(const std::string& line) = 0;
    // Makes the selection a link to address, with the links dialog's target.
    virtual void creerlien(const std::string& address) = 0;
    // Places a picture as the mode says (the modes of the image tools).
    virtual void insererimage(int mode, const std::string& location) = 0;

protected:
    ~BandFormLink() = default;
};

} // namespace forms
