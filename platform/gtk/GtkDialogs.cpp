#include "GtkDialogs.h"

#include <string>

#include <gtk/gtk.h>

namespace gtkplatform {

namespace {

GtkWindow* activeWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* found = nullptr;
    for (GList* item = windows; item; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        if (gtk_window_is_active(window) || (!found && gtk_widget_get_visible(GTK_WIDGET(window))))
            found = window;
    }
    g_list_free(windows);
    return found;
}

GtkMessageType messageType(ui::Icon icon) {
    switch (icon) {
    case ui::Icon::Information:
        return GTK_MESSAGE_INFO;
    case ui::Icon::Warning:
        return GTK_MESSAGE_WARNING;
    case ui::Icon::Error:
        return GTK_MESSAGE_ERROR;
    case ui::Icon::Question:
        return GTK_MESSAGE_QUESTION;
    case ui::Icon::None:
        break;
    }
    return GTK_MESSAGE_OTHER;
}

int runMessage(const std::string& text, const std::string& caption, GtkMessageType type,
               GtkButtonsType buttons) {
    GtkWidget* dialog =
        gtk_message_dialog_new(activeWindow(), GTK_DIALOG_MODAL, type, buttons, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return response;
}

void addFilters(GtkFileChooser* chooser, const ui::FileDialogRequest& request) {
    for (const auto& filter : request.filters) {
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, filter.name.c_str());
        for (const auto& pattern : filter.patterns)
            gtk_file_filter_add_pattern(f, pattern.c_str());
        gtk_file_chooser_add_filter(chooser, f);
    }
}

// A page is previewed by the picture of it that may sit beside it, of the
// same name ending in ".png" (the shipped templates have one).
GdkPixbuf* previewOf(const std::string& file) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file_at_size(file.c_str(), 160, 160, nullptr);
    size_t dot = file.rfind('.');
    if (pixbuf || dot == std::string::npos)
        return pixbuf;
    std::string picture = file.substr(0, dot) + ".png";
    return gdk_pixbuf_new_from_file_at_size(picture.c_str(), 160, 160, nullptr);
}

void updatePreview(GtkFileChooser* chooser, gpointer data) {
    GtkWidget* preview = GTK_WIDGET(data);
    char* file = gtk_file_chooser_get_preview_filename(chooser);
    GdkPixbuf* pixbuf = file ? previewOf(file) : nullptr;
    g_free(file);
    gtk_image_set_from_pixbuf(GTK_IMAGE(preview), pixbuf);
    if (pixbuf)
        g_object_unref(pixbuf);
    gtk_file_chooser_set_preview_widget_active(chooser, pixbuf != nullptr);
}

std::optional<std::string> runChooser(const ui::FileDialogRequest& request,
                                      GtkFileChooserAction action, const char* accept) {
    GtkWidget* dialog =
        gtk_file_chooser_dialog_new(request.title.c_str(), activeWindow(), action, "_Cancel",
                                    GTK_RESPONSE_CANCEL, accept, GTK_RESPONSE_ACCEPT, nullptr);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    addFilters(chooser, request);
    if (!request.initialFolder.empty())
        gtk_file_chooser_set_current_folder(chooser, request.initialFolder.c_str());
    if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
        if (!request.proposedName.empty())
            gtk_file_chooser_set_current_name(chooser, request.proposedName.c_str());
    }
    if (request.pictures) {
        GtkWidget* preview = gtk_image_new();
        gtk_file_chooser_set_preview_widget(chooser, preview);
        g_signal_connect(chooser, "update-preview", G_CALLBACK(updatePreview), preview);
    }
    std::optional<std::string> chosen;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
        char* file = gtk_file_chooser_get_filename(chooser);
        if (file)
            chosen = file;
        g_free(file);
    }
    gtk_widget_destroy(dialog);
    return chosen;
}

} // namespace

void GtkDialogs::message(const std::string& text, const std::string& caption, ui::Icon icon) {
    runMessage(text, caption, messageType(icon), GTK_BUTTONS_OK);
}

ui::Answer GtkDialogs::confirmYesNo(const std::string& text, const std::string& caption) {
    return runMessage(text, caption, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO) == GTK_RESPONSE_YES
               ? ui::Answer::Yes
               : ui::Answer::No;
}

ui::Answer GtkDialogs::confirmOkCancel(const std::string& text, const std::string& caption) {
    return runMessage(text, caption, GTK_MESSAGE_QUESTION, GTK_BUTTONS_OK_CANCEL) == GTK_RESPONSE_OK
               ? ui::Answer::Ok
               : ui::Answer::Cancel;
}

std::string GtkDialogs::prompt(const std::string& caption, const std::string& text,
                               const std::string& proposed) {
    GtkWidget* dialog =
        gtk_dialog_new_with_buttons(caption.c_str(), activeWindow(), GTK_DIALOG_MODAL, "_Cancel",
                                    GTK_RESPONSE_CANCEL, "_OK", GTK_RESPONSE_OK, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    GtkWidget* area = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
    gtk_container_set_border_width(GTK_CONTAINER(area), 12);
    gtk_box_set_spacing(GTK_BOX(area), 6);
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_text(GTK_ENTRY(entry), proposed.c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    gtk_container_add(GTK_CONTAINER(area), label);
    gtk_container_add(GTK_CONTAINER(area), entry);
    gtk_widget_show_all(dialog);
    // A cancelled prompt answers the proposed value.
    std::string answer = proposed;
    if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK)
        answer = gtk_entry_get_text(GTK_ENTRY(entry));
    gtk_widget_destroy(dialog);
    return answer;
}

std::optional<std::string> GtkDialogs::openFile(const ui::FileDialogRequest& request) {
    return runChooser(request, GTK_FILE_CHOOSER_ACTION_OPEN, "_Open");
}

std::optional<std::string> GtkDialogs::saveFile(const ui::FileDialogRequest& request) {
    return runChooser(request, GTK_FILE_CHOOSER_ACTION_SAVE, "_Save");
}

} // namespace gtkplatform
