#include "forms/Form.h"

#include "platform/window/Application.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace forms {

namespace {

bool sameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool isTwoState(Kind kind) {
    return kind == Kind::CheckButton || kind == Kind::SpeedButton;
}

} // namespace

Control::Control(Form& form, const ControlDesc& desc)
    : m_form(form), m_desc(desc), m_caption(desc.caption), m_hint(desc.hint),
      m_enabled(desc.enabled), m_visible(desc.visible), m_down(desc.down), m_items(desc.items),
      m_color(desc.color), m_picture(desc.picture) {}

void Control::changed() {
    // A listener may add listeners; iterate over a stable count.
    for (size_t i = 0, n = m_listeners.size(); i < n; ++i)
        m_listeners[i](*this);
}

void Control::runHandler(const Handler& handler) {
    if (handler)
        app::RunHandler(handler);
}

void Control::setCaption(const std::string& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    changed();
}

void Control::setHint(const std::string& hint) {
    if (hint == m_hint)
        return;
    m_hint = hint;
    changed();
}

void Control::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    changed();
}

void Control::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    changed();
}

void Control::setDown(bool down) {
    if (down == m_down)
        return;
    m_down = down;
    if (down && m_desc.groupIndex != 0) {
        for (const auto& other : m_form.controls())
            if (other.get() != this && other->desc().groupIndex == m_desc.groupIndex &&
                other->desc().parent == m_desc.parent)
                other->setDown(false);
    }
    changed();
}

void Control::setText(const std::string& text) {
    if (text == m_text)
        return;
    m_text = text;
    changed();
}

void Control::addItem(const std::string& item) {
    m_items.push_back(item);
    changed();
}

int Control::indexOfItem(const std::string& text) const {
    for (size_t i = 0; i < m_items.size(); ++i)
        if (sameText(m_items[i], text))
            return static_cast<int>(i);
    return -1;
}

void Control::setColor(ColorValue color) {
    if (color == m_color)
        return;
    m_color = color;
    changed();
}

void Control::setActivePage(const std::string& page) {
    if (page == m_activePage)
        return;
    m_activePage = page;
    changed();
}

void Control::dropDown() {
    ++m_menuRequests;
    changed();
}

void Control::setPicture(const std::string& picture) {
    if (picture == m_picture)
        return;
    m_picture = picture;
    changed();
}

std::string Control::panelText(size_t panel) const {
    return panel < m_items.size() ? m_items[panel] : std::string();
}

void Control::setPanelText(size_t panel, const std::string& text) {
    if (panel >= m_items.size())
        m_items.resize(panel + 1);
    if (m_items[panel] == text)
        return;
    m_items[panel] = text;
    changed();
}

void Control::appendLine(const std::string& line) {
    m_items.push_back(line);
    changed();
}

void Control::click() {
    if (!m_enabled)
        return;
    if (isTwoState(kind())) {
        // A grouped button that may not be raised again stays down.
        if (!m_down || m_desc.groupIndex == 0 || m_desc.allowAllUp)
            setDown(!m_down);
    }
    runHandler(onClick);
}

void Control::chooseText(const std::string& text) {
    if (!m_enabled)
        return;
    setText(text);
    runHandler(onChange);
}

void Control::chooseColor(ColorValue color) {
    if (!m_enabled || color == m_color)
        return;
    setColor(color);
    runHandler(onChange);
}

void Control::choosePage(const std::string& page) {
    setActivePage(page);
    runHandler(onChange);
}

void Control::leave() {
    // A box shown by the field's own handler takes the focus from the field;
    // that exit is not the user's.
    if (!m_enabled || m_inFieldHandler)
        return;
    m_inFieldHandler = true;
    runHandler(onExit);
    m_inFieldHandler = false;
}

void Control::pressKey(int key) {
    if (!m_enabled || !onKeyDown || m_inFieldHandler)
        return;
    m_inFieldHandler = true;
    app::RunHandler([this, key] { onKeyDown(key); });
    m_inFieldHandler = false;
}

void Control::enter() {
    if (m_enabled)
        runHandler(onEnter);
}

Form::Form(FormDesc desc) : m_desc(std::move(desc)), m_caption(m_desc.caption) {
    for (const auto& c : m_desc.controls) {
        if (m_byName.count(c.name))
            throw std::logic_error("Duplicate control " + c.name + " on " + m_desc.name);
        if (!c.parent.empty() && !m_byName.count(c.parent))
            throw std::logic_error("Control " + c.name + " comes before its parent " + c.parent);
        m_controls.push_back(std::make_unique<Control>(*this, c));
        m_byName[c.name] = m_controls.back().get();
    }
}

Control& Form::operator[](const std::string& name) const {
    if (Control* c = find(name))
        return *c;
    throw std::out_of_range("No control " + name + " on " + m_desc.name);
}

Control* Form::find(const std::string& name) const {
    auto it = m_byName.find(name);
    return it == m_byName.end() ? nullptr : it->second;
}

std::vector<Control*> Form::children(const std::string& parent) const {
    std::vector<Control*> result;
    for (const auto& c : m_controls)
        if (c->desc().parent == parent)
            result.push_back(c.get());
    return result;
}

void Form::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    m_visible = visible;
    for (size_t i = 0, n = m_listeners.size(); i < n; ++i)
        m_listeners[i](*this);
}

void Form::setCaption(const std::string& caption) {
    if (caption == m_caption)
        return;
    m_caption = caption;
    for (size_t i = 0, n = m_listeners.size(); i < n; ++i)
        m_listeners[i](*this);
}

} // namespace forms
