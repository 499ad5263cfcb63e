// The editor commands the browser object carries out itself rather than in
// the page: saving, printing and the glyph pictures.

#include "platform/browser/ErrorInfo.h"
#include "platform/webkit/WebKitBrowser.h"

#include <webkit2/webkit2.h>

namespace webkit {

namespace {

std::string askSavePath(WebKitWebView* view, const std::string& suggested) {
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    GtkFileChooserNative* chooser =
        gtk_file_chooser_native_new("Save As", GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr,
                                    GTK_FILE_CHOOSER_ACTION_SAVE, "_Save", "_Cancel");
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
    if (!suggested.empty())
        gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), suggested.c_str());
    std::string path;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (name)
            path = name;
        g_free(name);
    }
    g_object_unref(chooser);
    return path;
}

std::string suggestedName(WebKitWebView* view) {
    const char* uri = webkit_web_view_get_uri(view);
    if (!uri)
        return "page.htm";
    std::string s = uri;
    s = s.substr(0, s.find_first_of("?#"));
    size_t slash = s.rfind('/');
    std::string name = slash == std::string::npos ? s : s.substr(slash + 1);
    return name.empty() ? "page.htm" : name;
}

} // namespace

HRESULT WebKitBrowser::saveAs(const std::string& token, std::string path, BOOL, BOOL* done) {
    *done = FALSE;
    if (path.rfind("file://", 0) == 0) {
        gchar* local = g_filename_from_uri(path.c_str(), nullptr, nullptr);
        path = local ? local : path;
        g_free(local);
    }
    if (path.empty()) {
        std::string suggested = suggestedName(m_view);
        path = m_chooseSavePath ? m_chooseSavePath(suggested) : askSavePath(m_view, suggested);
        if (path.empty())
            return S_OK;
    }
    Answer html;
    HRESULT hr = call("html", token, {}, &html);
    if (FAILED(hr))
        return hr;
    GError* error = nullptr;
    const std::string& text = html.value.toText();
    if (!g_file_set_contents(path.c_str(), text.data(), static_cast<gssize>(text.size()), &error)) {
        std::string message = "Could not save " + path + ": " + error->message;
        g_error_free(error);
        return browser::Fail(message);
    }
    *done = TRUE;
    return S_OK;
}

HRESULT WebKitBrowser::print(BOOL showUI, BOOL* done) {
    WebKitPrintOperation* operation = webkit_print_operation_new(m_view);
    if (m_printSettings)
        webkit_print_operation_set_print_settings(operation, m_printSettings);
    if (showUI) {
        GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(m_view));
        WebKitPrintOperationResponse response = webkit_print_operation_run_dialog(
            operation, GTK_IS_WINDOW(top) ? GTK_WINDOW(top) : nullptr);
        *done = response == WEBKIT_PRINT_OPERATION_RESPONSE_PRINT;
    } else {
        webkit_print_operation_print(operation);
        *done = TRUE;
    }
    g_object_unref(operation);
    return S_OK;
}

void WebKitBrowser::setPrintSettings(GtkPrintSettings* settings) {
    if (settings)
        g_object_ref(settings);
    if (m_printSettings)
        g_object_unref(m_printSettings);
    m_printSettings = settings;
}

// The picture as a data address, so that a page from any origin can show
// it; a picture that cannot be read shows as a missing image.
std::string GlyphPictureUrl(const std::string& path) {
    gchar* contents = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) {
        gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
        std::string result = uri ? uri : path;
        g_free(uri);
        return result;
    }
    gchar* type =
        g_content_type_guess(path.c_str(), reinterpret_cast<guchar*>(contents), length, nullptr);
    gchar* mime = g_content_type_get_mime_type(type);
    gchar* encoded = g_base64_encode(reinterpret_cast<guchar*>(contents), length);
    std::string result = std::string("data:") + (mime ? mime : "image/gif") + ";base64," + encoded;
    g_free(encoded);
    g_free(mime);
    g_free(type);
    g_free(contents);
    return result;
}

} // namespace webkit
