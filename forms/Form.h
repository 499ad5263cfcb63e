#pragma once

#include "forms/FormDescription.h"

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace forms {

class Form;

// The state of one control, without any display. The logic reads and
// changes it; a view mirrors it and turns user input into the user actions
// below, which run the control's handlers.
class Control {
public:
    using Handler = std::function<void()>;
    using Listener = std::function<void(Control&)>;

    Control(Form& form, const ControlDesc& desc);

    const ControlDesc& desc() const { return m_desc; }
    const std::string& name() const { return m_desc.name; }
    Kind kind() const { return m_desc.kind; }
    Form& form() const { return m_form; }

    const std::string& caption() const { return m_caption; }
    void setCaption(const std::string& caption);
    const std::string& hint() const { return m_hint; }
    void setHint(const std::string& hint);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool down() const { return m_down; }
    // Setting a grouped button down raises the others of its group.
    void setDown(bool down);

    // Combo boxes and edits.
    const std::string& text() const { return m_text; }
    void setText(const std::string& text);
    const std::vector<std::string>& items() const { return m_items; }
    void addItem(const std::string& item);
    // The index of an entry equal to text without regard to letter case, or -1.
    int indexOfItem(const std::string& text) const;

    // Color pickers. Setting by program does not run the change handler.
    ColorValue color() const { return m_color; }
    void setColor(ColorValue color);

    // Drop-down buttons: asks the view to open the button's menu.
    void dropDown();
    unsigned menuRequests() const { return m_menuRequests; }

    // Tool buttons: the theme icon the button shows.
    const std::string& picture() const { return m_picture; }
    void setPicture(const std::string& picture);

    // Page controls: the name of the active page.
    const std::string& activePage() const { return m_activePage; }
    void setActivePage(const std::string& page);

    // Status bars.
    std::string panelText(size_t panel) const;
    void setPanelText(size_t panel, const std::string& text);

    // Memos.
    const std::vector<std::string>& lines() const { return m_items; }
    void appendLine(const std::string& line);

    // User actions; a disabled control ignores them. Each runs the
    // control's handler through the application's error report, so an
    // error ends only that handler.
    // click: a two-state button flips first (as its group allows).
    void click();
    // A combo box's text chosen or typed.
    void chooseText(const std::string& text);
    // A color picked from the palette or the color dialog.
    void chooseColor(ColorValue color);
    // A page chosen by its tab.
    void choosePage(const std::string& page);
    // The focus leaving an edit.
    void leave();
    // A key pressed in an edit, as a virtual-key code (Enter is 13).
    void pressKey(int key);
    // The control takes the keyboard focus.
    void enter();

    Handler onClick;
    Handler onChange;
    Handler onExit;
    std::function<void(int key)> onKeyDown;
    Handler onEnter;

    // Views listen to every change of the state.
    void listen(Listener listener) { m_listeners.push_back(std::move(listener)); }

private:
    void changed();
    void runHandler(const Handler& handler);

    Form& m_form;
    ControlDesc m_desc;
    std::string m_caption;
    std::string m_hint;
    bool m_enabled;
    bool m_visible;
    bool m_down;
    std::string m_text;
    std::vector<std::string> m_items;
    ColorValue m_color;
    std::string m_activePage;
    std::string m_picture;
    unsigned m_menuRequests = 0;
    bool m_inFieldHandler = false;
    std::vector<Listener> m_listeners;
};

// A form's controls, built from its description.
class Form {
public:
    explicit Form(FormDesc desc);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormDesc& desc() const { return m_desc; }
    const std::string& name() const { return m_desc.name; }

    // Throws std::out_of_range for an unknown name.
    Control& operator[](const std::string& name) const;
    Control* find(const std::string& name) const;
    // The direct children of a control, in description order.
    std::vector<Control*> children(const std::string& parent) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }

    // The form's own visibility and caption.
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    const std::string& caption() const { return m_caption; }
    void setCaption(const std::string& caption);
    void listen(std::function<void(Form&)> listener) { m_listeners.push_back(std::move(listener)); }

private:
    FormDesc m_desc;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::unordered_map<std::string, Control*> m_byName;
    bool m_visible = false;
    std::string m_caption;
    std::vector<std::function<void(Form&)>> m_listeners;
};

} // namespace forms
