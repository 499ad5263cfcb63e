#include "EngineView.h"

#include <webkit2/webkit2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace enginetest {

EngineView& EngineView::get() {
    static EngineView* view = new EngineView();
    return *view;
}

EngineView::EngineView() {
    if (!gtk_init_check(nullptr, nullptr))
        throw std::runtime_error("No display: run the engine tests under xvfb-run");
    char* folder = g_dir_make_tmp("tavrisk-engine-XXXXXX", nullptr);
    m_folder = folder;
    g_free(folder);
    static std::string removeAtExit;
    removeAtExit = m_folder;
    std::atexit([] { std::filesystem::remove_all(removeAtExit); });
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
    m_view = WEBKIT_WEB_VIEW(webkit_web_view_new());
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(m_view));
    gtk_widget_show_all(window);
    m_browser = webkit::WebKitBrowser::create(m_view);
    WaitUntil([&] { return gtk_widget_get_mapped(GTK_WIDGET(m_view)); }, 5000);
}

std::string EngineView::load(const std::string& html, const std::string& name) {
    std::string path = m_folder + "/" + name;
    std::ofstream(path, std::ios::binary) << html;
    navigate(path);
    return path;
}

void EngineView::navigate(const std::string& url) {
    browser().navigate(url);
    bool idle = WaitUntil([&] { return !browser().busy(); });
    if (!idle)
        throw std::runtime_error("The page did not load: " + url);
    if (!WaitUntil([&] { return eval("document.readyState") == "complete"; }))
        throw std::runtime_error("The page never completed: " + url);
}

std::string EngineView::eval(const std::string& script) {
    return Evaluate(m_view, script);
}

Rect EngineView::rect(const std::string& selector) {
    return ElementRect(m_view, selector);
}

unsigned EngineView::pixel(double x, double y) {
    struct Shot {
        bool done = false;
        cairo_surface_t* surface = nullptr;
    } shot;
    webkit_web_view_get_snapshot(
        m_view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, nullptr,
        [](GObject* source, GAsyncResult* res, gpointer data) {
            auto* s = static_cast<Shot*>(data);
            s->surface = webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), res, nullptr);
            s->done = true;
        },
        &shot);
    WaitUntil([&] { return shot.done; });
    if (!shot.surface)
        throw std::runtime_error("No snapshot of the view");
    cairo_surface_flush(shot.surface);
    int stride = cairo_image_surface_get_stride(shot.surface);
    const unsigned char* data = cairo_image_surface_get_data(shot.surface);
    auto word = *reinterpret_cast<const uint32_t*>(data + int(y) * stride + int(x) * 4);
    cairo_surface_destroy(shot.surface);
    return word & 0xFFFFFF;
}

void EngineView::writePicture(const std::string& path, unsigned rgb) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 11, 11);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, ((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0,
                         (rgb & 255) / 255.0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
}

void EngineView::press(double x, double y) {
    SendMouse(GTK_WIDGET(m_view), Mouse::Press, x, y);
}

void EngineView::move(double x, double y) {
    SendMouse(GTK_WIDGET(m_view), Mouse::Move, x, y);
}

void EngineView::release(double x, double y) {
    SendMouse(GTK_WIDGET(m_view), Mouse::Release, x, y);
}

// Mouse events reach the page one after the other and may lag behind on a
// busy machine: the page counts the releases it has handled. The answer is
// "page:count"; a click that leaves the page shows as another page.
std::string EngineView::releasesSeen() {
    return eval("(function(){if(window.__releases===undefined){window.__releases=0;"
                "window.__page=Math.random().toString(36).slice(2);"
                "addEventListener('mouseup',function(){window.__releases++;},true);}"
                "return window.__page+':'+window.__releases;})()");
}

void EngineView::waitForRelease(const std::string& before) {
    if (!WaitUntil([&] { return releasesSeen() != before; }, 10000))
        throw std::runtime_error("The page did not handle the mouse release");
    // The answer that showed the release came after every message the page
    // sent while handling it, so its events have reached the program.
}

void EngineView::click(double x, double y) {
    std::string before = releasesSeen();
    move(x, y);
    press(x, y);
    release(x, y);
    waitForRelease(before);
}

void EngineView::drag(double x1, double y1, double x2, double y2) {
    std::string before = releasesSeen();
    move(x1, y1);
    press(x1, y1);
    for (int i = 1; i <= 5; ++i)
        move(x1 + (x2 - x1) * i / 5, y1 + (y2 - y1) * i / 5);
    release(x2, y2);
    waitForRelease(before);
}

void EngineView::settle(int milliseconds) {
    Settle(milliseconds);
}

} // namespace enginetest
