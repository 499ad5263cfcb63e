#include "forms/gtk/FormView.h"

#include "forms/SystemColors.h"
#include "platform/window/Windows.h"

#include <dlfcn.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>

namespace forms::gtkview {

namespace {

// The sixteen colors of the picker's palette, red in the low byte.
constexpr ColorValue kPalette[] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x008080, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

// The small browsers of the forms are the web views of the program that
// shows them. The view does not link the engine itself: it uses the one the
// program has loaded, and shows the address as text when there is none.
using LoadUri = void (*)(GtkWidget*, const char*);
using GetUri = const char* (*)(GtkWidget*);

GtkWidget* newWebView() {
    GType type = g_type_from_name("WebKitWebView");
    if (type == 0 || !dlsym(RTLD_DEFAULT, "webkit_web_view_load_uri"))
        return gtk_label_new(nullptr);
    return GTK_WIDGET(g_object_new(type, nullptr));
}

void showAddress(GtkWidget* browser, const std::string& url) {
    if (GTK_IS_LABEL(browser)) {
        gtk_label_set_text(GTK_LABEL(browser), url.c_str());
        return;
    }
    auto getUri = reinterpret_cast<GetUri>(dlsym(RTLD_DEFAULT, "webkit_web_view_get_uri"));
    auto loadUri = reinterpret_cast<LoadUri>(dlsym(RTLD_DEFAULT, "webkit_web_view_load_uri"));
    const char* shown = getUri ? getUri(browser) : nullptr;
    if (loadUri && (!shown || url != shown))
        loadUri(browser, url.c_str());
}

std::string tooltipText(std::string hint) {
    hint.erase(std::remove(hint.begin(), hint.end(), '\r'), hint.end());
    return hint;
}

// The explicit color a swatch paints.
void sourceColor(cairo_t* cr, ColorValue color) {
    if (color < 0)
        color = systemColor(color & 0xFF);
    cairo_set_source_rgb(cr, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

gboolean drawSwatch(GtkWidget* area, cairo_t* cr, gpointer data) {
    auto* color = static_cast<ColorValue*>(data);
    int w = gtk_widget_get_allocated_width(area), h = gtk_widget_get_allocated_height(area);
    sourceColor(cr, *color);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    return TRUE;
}

GtkWidget* swatch(ColorValue* color, int width, int height) {
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, width, height);
    g_signal_connect(area, "draw", G_CALLBACK(drawSwatch), color);
    return area;
}

// The pointer becomes a hand over the widget.
gboolean pointerCursor(GtkWidget* widget, GdkEventCrossing* event, gpointer hand) {
    GdkWindow* window = gtk_widget_get_window(widget);
    GdkCursor* cursor = hand && event->type == GDK_ENTER_NOTIFY
                            ? gdk_cursor_new_from_name(gdk_window_get_display(window), "pointer")
                            : nullptr;
    gdk_window_set_cursor(window, cursor);
    if (cursor)
        g_object_unref(cursor);
    return FALSE;
}

void showHandOver(GtkWidget* widget) {
    gtk_widget_add_events(widget, GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK);
    g_signal_connect(widget, "enter-notify-event", G_CALLBACK(pointerCursor), GINT_TO_POINTER(1));
    g_signal_connect(widget, "leave-notify-event", G_CALLBACK(pointerCursor), GINT_TO_POINTER(1));
}

class GtkFormView;

// One control's widget and what the signal handlers need to reach it.
struct Binding {
    GtkFormView* view = nullptr;
    Control* control = nullptr;
    GtkWidget* widget = nullptr;
    GtkWidget* inner = nullptr; // the combo box or swatch inside a tool item
    ColorValue shownColor = 0;  // what the picker's swatch paints
    ColorValue paletteColor = 0;
    size_t itemsShown = 0;
    std::string shownPicture;
    unsigned menusShown = 0;
};

class GtkFormView final : public FormView {
public:
    GtkFormView(Form& form, GtkWidget* host);
    ~GtkFormView() override;

    void* widget(const std::string& control) const override {
        auto it = m_bindings.find(control);
        return it == m_bindings.end() ? nullptr : it->second->widget;
    }

    bool syncing() const { return m_syncing || !*m_alive; }

private:
    Binding& bind(Control& control, GtkWidget* widget);
    GtkWidget* build(Control& control);
    GtkWidget* buildChildren(const std::string& parent, GtkWidget* box);
    GtkWidget* toolItem(Control& control);
    GtkWidget* picture(Control& control);
    GtkWidget* menu(const std::string& name);
    GtkWidget* colorPicker(Control& control);
    GtkWidget* colorButton(Binding& b);
    GtkWidget* plainControl(Control& control);
    GtkWidget* pages(Control& control);
    GtkWidget* statusBar(Control& control);
    void update(Binding& b);

    static void onClicked(GtkWidget*, Binding* b);
    static void onToggled(GtkToggleToolButton*, Binding* b);
    static void onComboChanged(GtkComboBox*, Binding* b);
    static void onComboActivate(GtkEntry*, Binding* b);
    static gboolean onComboFocus(GtkWidget*, GdkEvent*, Binding* b);
    static void onEditChanged(GtkEntry*, Binding* b);
    static gboolean onEditFocusOut(GtkWidget*, GdkEvent*, Binding* b);
    static void onEditActivate(GtkEntry*, Binding* b);
    static void onSwitchPage(GtkNotebook*, GtkWidget* page, guint, Binding* b);
    static void onPalette(GtkMenuItem*, Binding* b);
    static void onMoreColors(GtkMenuItem*, Binding* b);

    Form& m_form;
    GtkWidget* m_root = nullptr;
    std::map<std::string, std::unique_ptr<Binding>> m_bindings;
    std::vector<std::unique_ptr<Binding>> m_extra; // palette entries
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_syncing = false;
};

GtkFormView::GtkFormView(Form& form, GtkWidget* host) : m_form(form) {
    m_root = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    buildChildren("", m_root);
    gtk_container_add(GTK_CONTAINER(host), m_root);
    gtk_widget_show(m_root);
}

GtkFormView::~GtkFormView() {
    *m_alive = false;
    // Pages switch while the notebook goes; the handlers see the view gone.
    gtk_widget_destroy(m_root);
}

Binding& GtkFormView::bind(Control& control, GtkWidget* widget) {
    auto binding = std::make_unique<Binding>();
    binding->view = this;
    binding->control = &control;
    binding->widget = widget;
    Binding& b = *binding;
    m_bindings[control.name()] = std::move(binding);
    std::weak_ptr<bool> alive = m_alive;
    control.listen([this, alive, &b](Control&) {
        if (auto a = alive.lock(); a && *a)
            update(b);
    });
    return b;
}

GtkWidget* GtkFormView::buildChildren(const std::string& parent, GtkWidget* box) {
    for (Control* child : m_form.children(parent)) {
        if (child->kind() == Kind::PopupMenu || child->kind() == Kind::MenuItem)
            continue;
        GtkWidget* w = build(*child);
        if (!w)
            continue;
        if (GTK_IS_TOOLBAR(box))
            gtk_toolbar_insert(GTK_TOOLBAR(box), GTK_TOOL_ITEM(w), -1);
        else
            gtk_box_pack_start(GTK_BOX(box), w, child->kind() == Kind::PageControl,
                               child->kind() != Kind::ColorPicker, 0);
    }
    return box;
}

GtkWidget* GtkFormView::build(Control& control) {
    const ControlDesc& d = control.desc();
    GtkWidget* w = nullptr;
    switch (control.kind()) {
    case Kind::CoolBar:
        w = buildChildren(control.name(), gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
        gtk_widget_set_size_request(w, -1, d.height);
        break;
    case Kind::ToolBar:
        w = gtk_toolbar_new();
        gtk_toolbar_set_style(GTK_TOOLBAR(w), GTK_TOOLBAR_ICONS);
        gtk_toolbar_set_icon_size(GTK_TOOLBAR(w), GTK_ICON_SIZE_SMALL_TOOLBAR);
        gtk_widget_set_size_request(w, -1, d.height);
        buildChildren(control.name(), w);
        break;
    case Kind::Button:
    case Kind::CheckButton:
    case Kind::SpeedButton:
    case Kind::DropDownButton:
    case Kind::Separator:
    case Kind::ComboBox:
    case Kind::ColorPicker:
        if (GtkWidget* item = toolItem(control))
            return item;
        return plainControl(control);
    case Kind::PageControl:
        return pages(control);
    case Kind::Page:
        return nullptr; // built by the page control
    case Kind::Panel: {
        w = gtk_frame_new(control.caption().c_str());
        // Fields run along the panel, each label before its field.
        GtkWidget* fields =
            buildChildren(control.name(), gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4));
        gtk_container_add(GTK_CONTAINER(w), fields);
        gtk_widget_show(fields);
        break;
    }
    case Kind::StatusBar:
        return statusBar(control);
    case Kind::Memo:
        w = gtk_text_view_new();
        break;
    case Kind::Edit: {
        w = gtk_entry_new();
        gtk_entry_set_width_chars(GTK_ENTRY(w), 8);
        Binding& b = bind(control, w);
        g_signal_connect(w, "changed", G_CALLBACK(onEditChanged), &b);
        g_signal_connect(w, "focus-out-event", G_CALLBACK(onEditFocusOut), &b);
        g_signal_connect(w, "activate", G_CALLBACK(onEditActivate), &b);
        update(b);
        return w;
    }
    case Kind::Label:
        w = gtk_label_new(control.caption().c_str());
        gtk_label_set_xalign(GTK_LABEL(w), 0);
        break;
    case Kind::Browser:
        w = newWebView();
        gtk_widget_set_size_request(w, -1, d.height);
        break;
    case Kind::PopupMenu:
    case Kind::MenuItem:
        return nullptr;
    }
    Binding& b = bind(control, w);
    update(b);
    return w;
}

GtkWidget* GtkFormView::picture(Control& control) {
    const std::string& icon = control.picture();
    if (!icon.empty() && gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), icon.c_str()))
        return gtk_image_new_from_icon_name(icon.c_str(), GTK_ICON_SIZE_SMALL_TOOLBAR);
    // Without the theme's picture the button shows its short caption.
    return gtk_label_new(control.caption().c_str());
}

GtkWidget* GtkFormView::toolItem(Control& control) {
    const std::string& parent = control.desc().parent;
    Control* container = m_form.find(parent);
    if (!container || container->kind() != Kind::ToolBar)
        return nullptr;
    GtkToolItem* item = nullptr;
    GtkWidget* inner = nullptr;
    switch (control.kind()) {
    case Kind::Separator:
        item = gtk_separator_tool_item_new();
        break;
    case Kind::CheckButton:
    case Kind::SpeedButton:
        item = gtk_toggle_tool_button_new();
        break;
    case Kind::DropDownButton:
        item = gtk_menu_tool_button_new(nullptr, nullptr);
        gtk_menu_tool_button_set_menu(GTK_MENU_TOOL_BUTTON(item), menu(control.desc().menu));
        break;
    case Kind::ComboBox: {
        item = gtk_tool_item_new();
        inner = gtk_combo_box_text_new_with_entry();
        gtk_entry_set_width_chars(GTK_ENTRY(gtk_bin_get_child(GTK_BIN(inner))),
                                  std::max(3, control.desc().width / 10));
        gtk_widget_set_valign(inner, GTK_ALIGN_CENTER);
        gtk_container_add(GTK_CONTAINER(item), inner);
        break;
    }
    case Kind::ColorPicker:
        return colorPicker(control);
    default:
        item = gtk_tool_button_new(nullptr, nullptr);
        break;
    }
    GtkWidget* w = GTK_WIDGET(item);
    // Each button as wide as its own picture, as on the toolbars this
    // form was drawn with.
    gtk_tool_item_set_homogeneous(item, FALSE);
    Binding& b = bind(control, w);
    b.inner = inner;
    if (GTK_IS_TOOL_BUTTON(item)) {
        if (control.desc().showCaption) {
            GtkWidget* label = gtk_label_new(nullptr);
            gtk_tool_button_set_label_widget(GTK_TOOL_BUTTON(item), label);
            gtk_tool_item_set_is_important(item, TRUE);
        } else {
            gtk_tool_button_set_icon_widget(GTK_TOOL_BUTTON(item), picture(control));
            b.shownPicture = control.picture();
        }
    }
    if (control.desc().handCursor)
        showHandOver(gtk_bin_get_child(GTK_BIN(item)));
    if (GTK_IS_TOGGLE_TOOL_BUTTON(item))
        g_signal_connect(item, "toggled", G_CALLBACK(onToggled), &b);
    else if (GTK_IS_TOOL_BUTTON(item))
        g_signal_connect(item, "clicked", G_CALLBACK(onClicked), &b);
    if (inner) {
        g_signal_connect(inner, "changed", G_CALLBACK(onComboChanged), &b);
        g_signal_connect(gtk_bin_get_child(GTK_BIN(inner)), "activate", G_CALLBACK(onComboActivate),
                         &b);
        g_signal_connect(gtk_bin_get_child(GTK_BIN(inner)), "focus-in-event",
                         G_CALLBACK(onComboFocus), &b);
    }
    gtk_widget_show_all(w);
    update(b);
    return w;
}

GtkWidget* GtkFormView::menu(const std::string& name) {
    GtkWidget* popup = gtk_menu_new();
    for (Control* item : m_form.children(name)) {
        GtkWidget* entry = gtk_menu_item_new_with_label(item->caption().c_str());
        Binding& b = bind(*item, entry);
        g_signal_connect(entry, "activate", G_CALLBACK(onClicked), &b);
        gtk_menu_shell_append(GTK_MENU_SHELL(popup), entry);
        gtk_widget_show(entry);
        update(b);
    }
    return popup;
}

// A swatch of the chosen color that drops down the palette and "More...".
GtkWidget* GtkFormView::colorButton(Binding& b) {
    GtkWidget* button = gtk_menu_button_new();
    b.inner = button;
    b.shownColor = b.control->color();
    gtk_container_add(GTK_CONTAINER(button), swatch(&b.shownColor, 24, 14));
    GtkWidget* popup = gtk_menu_new();
    int column = 0, row = 0;
    for (ColorValue color : kPalette) {
        auto entry = std::make_unique<Binding>();
        entry->view = this;
        entry->control = b.control;
        entry->paletteColor = color;
        GtkWidget* menuItem = gtk_menu_item_new();
        gtk_container_add(GTK_CONTAINER(menuItem), swatch(&entry->paletteColor, 18, 14));
        g_signal_connect(menuItem, "activate", G_CALLBACK(onPalette), entry.get());
        gtk_menu_attach(GTK_MENU(popup), menuItem, column, column + 1, row, row + 1);
        m_extra.push_back(std::move(entry));
        if (++column == 4) {
            column = 0;
            ++row;
        }
    }
    GtkWidget* more = gtk_menu_item_new_with_label("More...");
    g_signal_connect(more, "activate", G_CALLBACK(onMoreColors), &b);
    gtk_menu_attach(GTK_MENU(popup), more, 0, 4, row, row + 1);
    gtk_widget_show_all(popup);
    gtk_menu_button_set_popup(GTK_MENU_BUTTON(button), popup);
    return button;
}

GtkWidget* GtkFormView::colorPicker(Control& control) {
    GtkToolItem* item = gtk_tool_item_new();
    Binding& b = bind(control, GTK_WIDGET(item));
    GtkWidget* button = colorButton(b);
    gtk_widget_set_valign(button, GTK_ALIGN_CENTER);
    gtk_container_add(GTK_CONTAINER(item), button);
    gtk_widget_show_all(GTK_WIDGET(item));
    update(b);
    return GTK_WIDGET(item);
}

// Buttons, lists and pickers placed on panels rather than on toolbars.
GtkWidget* GtkFormView::plainControl(Control& control) {
    GtkWidget* w = nullptr;
    switch (control.kind()) {
    case Kind::ColorPicker: {
        Binding& b = bind(control, nullptr);
        w = b.widget = colorButton(b);
        gtk_widget_show_all(w);
        update(b);
        return w;
    }
    case Kind::ComboBox: {
        w = gtk_combo_box_text_new();
        Binding& b = bind(control, w);
        b.inner = w;
        g_signal_connect(w, "changed", G_CALLBACK(onComboChanged), &b);
        update(b);
        return w;
    }
    case Kind::DropDownButton: {
        w = gtk_menu_button_new();
        gtk_button_set_label(GTK_BUTTON(w), control.caption().c_str());
        gtk_menu_button_set_popup(GTK_MENU_BUTTON(w), menu(control.desc().menu));
        break;
    }
    case Kind::Separator:
        w = gtk_separator_new(GTK_ORIENTATION_VERTICAL);
        break;
    default:
        w = gtk_button_new_with_label(control.caption().c_str());
        break;
    }
    Binding& b = bind(control, w);
    if (GTK_IS_BUTTON(w) && !GTK_IS_MENU_BUTTON(w))
        g_signal_connect(w, "clicked", G_CALLBACK(onClicked), &b);
    update(b);
    return w;
}

GtkWidget* GtkFormView::pages(Control& control) {
    GtkWidget* notebook = gtk_notebook_new();
    if (control.desc().tabsOnLeft)
        gtk_notebook_set_tab_pos(GTK_NOTEBOOK(notebook), GTK_POS_LEFT);
    if (control.desc().height > 0)
        gtk_widget_set_size_request(notebook, -1, control.desc().height);
    Binding& nb = bind(control, notebook);
    for (Control* page : m_form.children(control.name())) {
        GtkWidget* box = buildChildren(page->name(), gtk_box_new(GTK_ORIENTATION_VERTICAL, 0));
        GtkWidget* tab = gtk_label_new(page->caption().c_str());
        gtk_widget_set_size_request(tab, control.desc().tabWidth, -1);
        gtk_notebook_append_page(GTK_NOTEBOOK(notebook), box, tab);
        gtk_widget_show(box);
        Binding& b = bind(*page, box);
        update(b);
    }
    g_signal_connect(notebook, "switch-page", G_CALLBACK(onSwitchPage), &nb);
    update(nb);
    gtk_widget_show(notebook);
    return notebook;
}

GtkWidget* GtkFormView::statusBar(Control& control) {
    GtkWidget* bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    gtk_widget_set_size_request(bar, -1, control.desc().height);
    Binding& b = bind(control, bar);
    for (size_t i = 0; i < control.desc().widths.size(); ++i) {
        GtkWidget* label = gtk_label_new(nullptr);
        gtk_label_set_xalign(GTK_LABEL(label), 0);
        gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_widget_set_size_request(frame, control.desc().widths[i], -1);
        gtk_container_add(GTK_CONTAINER(frame), label);
        bool last = i + 1 == control.desc().widths.size();
        gtk_box_pack_start(GTK_BOX(bar), frame, last, TRUE, 0);
    }
    gtk_widget_show_all(bar);
    update(b);
    return bar;
}

void GtkFormView::update(Binding& b) {
    Control& c = *b.control;
    GtkWidget* w = b.widget;
    m_syncing = true;
    gtk_widget_set_sensitive(w, c.enabled());
    gtk_widget_set_visible(w, c.visible());
    std::string tip = tooltipText(c.hint());
    gtk_widget_set_tooltip_text(w, tip.empty() ? nullptr : tip.c_str());
    switch (c.kind()) {
    case Kind::CheckButton:
    case Kind::SpeedButton:
        if (GTK_IS_TOGGLE_TOOL_BUTTON(w))
            gtk_toggle_tool_button_set_active(GTK_TOGGLE_TOOL_BUTTON(w), c.down());
        [[fallthrough]];
    case Kind::Button:
    case Kind::DropDownButton:
        if (GTK_IS_TOOL_BUTTON(w) && c.desc().showCaption) {
            GtkWidget* label = gtk_tool_button_get_label_widget(GTK_TOOL_BUTTON(w));
            char* escaped = g_markup_escape_text(c.caption().c_str(), -1);
            std::string markup = c.desc().bold ? std::string("<b>") + escaped + "</b>" : escaped;
            g_free(escaped);
            gtk_label_set_markup(GTK_LABEL(label), markup.c_str());
        }
        if (GTK_IS_MENU_TOOL_BUTTON(w) && b.menusShown != c.menuRequests()) {
            b.menusShown = c.menuRequests();
            GtkMenu* popup = GTK_MENU(gtk_menu_tool_button_get_menu(GTK_MENU_TOOL_BUTTON(w)));
            gtk_menu_popup_at_widget(popup, w, GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST,
                                     nullptr);
        }
        if (GTK_IS_TOOL_BUTTON(w) && !c.desc().showCaption && b.shownPicture != c.picture()) {
            GtkWidget* icon = picture(c);
            gtk_widget_show(icon);
            gtk_tool_button_set_icon_widget(GTK_TOOL_BUTTON(w), icon);
            b.shownPicture = c.picture();
        } else if (GTK_IS_BUTTON(w)) {
            gtk_button_set_label(GTK_BUTTON(w), c.caption().c_str());
        }
        break;
    case Kind::MenuItem:
        gtk_menu_item_set_label(GTK_MENU_ITEM(w), c.caption().c_str());
        break;
    case Kind::ComboBox: {
        for (; b.itemsShown < c.items().size(); ++b.itemsShown)
            gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(b.inner),
                                           c.items()[b.itemsShown].c_str());
        if (gtk_combo_box_get_has_entry(GTK_COMBO_BOX(b.inner))) {
            GtkEntry* entry = GTK_ENTRY(gtk_bin_get_child(GTK_BIN(b.inner)));
            if (c.text() != gtk_entry_get_text(entry))
                gtk_entry_set_text(entry, c.text().c_str());
        } else {
            gtk_combo_box_set_active(GTK_COMBO_BOX(b.inner), c.indexOfItem(c.text()));
        }
        break;
    }
    case Kind::ColorPicker:
        b.shownColor = c.color();
        gtk_widget_queue_draw(b.inner);
        break;
    case Kind::PageControl: {
        auto pagesOf = m_form.children(c.name());
        for (size_t i = 0; i < pagesOf.size(); ++i)
            if (pagesOf[i]->name() == c.activePage())
                gtk_notebook_set_current_page(GTK_NOTEBOOK(w), static_cast<int>(i));
        break;
    }
    case Kind::StatusBar: {
        GList* frames = gtk_container_get_children(GTK_CONTAINER(w));
        size_t i = 0;
        for (GList* f = frames; f; f = f->next, ++i)
            gtk_label_set_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(f->data))),
                               c.panelText(i).c_str());
        g_list_free(frames);
        break;
    }
    case Kind::Memo: {
        std::string text;
        for (const std::string& line : c.lines())
            text += line + "\n";
        gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(w)), text.c_str(), -1);
        break;
    }
    case Kind::Edit:
        if (c.text() != gtk_entry_get_text(GTK_ENTRY(w)))
            gtk_entry_set_text(GTK_ENTRY(w), c.text().c_str());
        break;
    case Kind::Label:
        gtk_label_set_text(GTK_LABEL(w), c.caption().c_str());
        break;
    case Kind::Browser:
        if (!c.text().empty())
            showAddress(w, c.text());
        break;
    default:
        break;
    }
    m_syncing = false;
}

void GtkFormView::onClicked(GtkWidget*, Binding* b) {
    if (!b->view->syncing())
        b->control->click();
}

void GtkFormView::onToggled(GtkToggleToolButton*, Binding* b) {
    if (b->view->syncing())
        return;
    b->control->click();
    // The model may refuse the change (a grouped button that stays down).
    if (!b->view->syncing())
        b->view->update(*b);
}

void GtkFormView::onComboChanged(GtkComboBox* combo, Binding* b) {
    // A choice from the list; typing is taken when Enter is pressed.
    if (b->view->syncing() || gtk_combo_box_get_active(combo) < 0)
        return;
    gchar* text = gtk_combo_box_text_get_active_text(GTK_COMBO_BOX_TEXT(combo));
    std::string chosen = text ? text : "";
    g_free(text);
    b->control->chooseText(chosen);
}

void GtkFormView::onComboActivate(GtkEntry* entry, Binding* b) {
    if (!b->view->syncing())
        b->control->chooseText(gtk_entry_get_text(entry));
}

gboolean GtkFormView::onComboFocus(GtkWidget*, GdkEvent*, Binding* b) {
    if (!b->view->syncing())
        b->control->enter();
    return FALSE;
}

void GtkFormView::onEditChanged(GtkEntry* entry, Binding* b) {
    if (!b->view->syncing())
        b->control->setText(gtk_entry_get_text(entry));
}

gboolean GtkFormView::onEditFocusOut(GtkWidget*, GdkEvent*, Binding* b) {
    if (!b->view->syncing())
        b->control->leave();
    return FALSE;
}

void GtkFormView::onEditActivate(GtkEntry*, Binding* b) {
    if (!b->view->syncing())
        b->control->pressKey(13);
}

void GtkFormView::onSwitchPage(GtkNotebook* notebook, GtkWidget* page, guint, Binding* b) {
    if (b->view->syncing())
        return;
    for (Control* candidate : b->view->m_form.children(b->control->name()))
        if (b->view->widget(candidate->name()) == page &&
            candidate->name() != b->control->activePage()) {
            b->control->choosePage(candidate->name());
            break;
        }
    (void)notebook;
}

void GtkFormView::onPalette(GtkMenuItem*, Binding* b) {
    if (!b->view->syncing())
        b->control->chooseColor(b->paletteColor);
}

void GtkFormView::onMoreColors(GtkMenuItem*, Binding* b) {
    if (b->view->syncing())
        return;
    GtkWidget* dialog = gtk_color_chooser_dialog_new("Color", nullptr);
    gtk_color_chooser_set_use_alpha(GTK_COLOR_CHOOSER(dialog), FALSE);
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
        GdkRGBA rgba;
        gtk_color_chooser_get_rgba(GTK_COLOR_CHOOSER(dialog), &rgba);
        auto byte = [](double v) { return static_cast<int>(v * 255 + 0.5); };
        ColorValue color = byte(rgba.red) | (byte(rgba.green) << 8) | (byte(rgba.blue) << 16);
        gtk_widget_destroy(dialog);
        b->control->chooseColor(color);
        return;
    }
    gtk_widget_destroy(dialog);
}

// The theme's colors for the interface colors it names.
std::optional<ColorValue> themeColor(int index) {
    const char* name = nullptr;
    switch (index) {
    case COLOR_BTNFACE:
        name = "theme_bg_color";
        break;
    case COLOR_BTNTEXT:
        name = "theme_fg_color";
        break;
    case COLOR_WINDOW:
        name = "theme_base_color";
        break;
    case COLOR_WINDOWTEXT:
        name = "theme_text_color";
        break;
    case COLOR_HIGHLIGHT:
        name = "theme_selected_bg_color";
        break;
    case COLOR_HIGHLIGHTTEXT:
        name = "theme_selected_fg_color";
        break;
    default:
        return std::nullopt;
    }
    GtkWidget* probe = gtk_button_new();
    GdkRGBA rgba;
    bool found = gtk_style_context_lookup_color(gtk_widget_get_style_context(probe), name, &rgba);
    g_object_ref_sink(probe);
    gtk_widget_destroy(probe);
    g_object_unref(probe);
    if (!found)
        return std::nullopt;
    auto byte = [](double v) { return static_cast<int>(v * 255 + 0.5); };
    return byte(rgba.red) | (byte(rgba.green) << 8) | (byte(rgba.blue) << 16);
}

} // namespace

std::unique_ptr<FormView> buildIfDisplayed(Form& form, HWND window) {
    auto* host = static_cast<GtkWidget*>(win::GetNativeWidget(window));
    if (!host || !GTK_IS_CONTAINER(host))
        return nullptr;
    setSystemColorSource(themeColor);
    return std::make_unique<GtkFormView>(form, host);
}

} // namespace forms::gtkview
