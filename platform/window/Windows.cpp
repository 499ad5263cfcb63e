#include "Windows.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <unordered_map>
#include <utility>

namespace win {

namespace {

struct WindowObject {
    std::string className;
    std::string caption;
    HWND parent = nullptr;
    std::vector<HWND> children;
    Size size;
    WndProc procedure;
    void* widget = nullptr;
};

struct State {
    WindowBackend* backend = nullptr;
    std::unordered_map<HWND, std::unique_ptr<WindowObject>> windows;
    std::vector<HWND> topLevel;
    std::deque<MSG> posted;
    HWND focus = nullptr;
    bool quitRequested = false;
};

State& state() {
    static State s;
    return s;
}

WindowObject* lookup(HWND window) {
    auto it = state().windows.find(window);
    return it == state().windows.end() ? nullptr : it->second.get();
}

std::vector<HWND>& siblingsOf(HWND parent) {
    if (WindowObject* p = lookup(parent))
        return p->children;
    return state().topLevel;
}

} // namespace

void SetBackend(WindowBackend* backend) {
    state().backend = backend;
}

HWND CreateWindowObject(const WindowParams& params) {
    auto object = std::make_unique<WindowObject>();
    object->className = params.className;
    object->caption = params.caption;
    object->parent = lookup(params.parent) ? params.parent : nullptr;
    object->size = {params.width, params.height};
    HWND handle = reinterpret_cast<HWND>(object.get());
    state().windows.emplace(handle, std::move(object));
    siblingsOf(lookup(handle)->parent).push_back(handle);
    if (state().backend)
        state().backend->created(handle);
    return handle;
}

void DestroyWindow(HWND window) {
    WindowObject* object = lookup(window);
    if (!object)
        return;
    for (HWND child : std::vector<HWND>(object->children))
        DestroyWindow(child);
    if (state().backend)
        state().backend->destroying(window);
    auto& siblings = siblingsOf(object->parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    auto& posted = state().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [window](const MSG& m) { return m.hwnd == window; }),
                 posted.end());
    if (state().focus == window)
        state().focus = nullptr;
    state().windows.erase(window);
}

bool IsWindow(HWND window) {
    return lookup(window) != nullptr;
}

HWND GetParent(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->parent : nullptr;
}

std::string GetClassName(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->className : std::string();
}

std::string GetWindowText(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->caption : std::string();
}

std::vector<HWND> GetChildren(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->children : std::vector<HWND>();
}

HWND FindWindow(const std::string& className) {
    return FindWindowEx(nullptr, nullptr, className);
}

HWND FindWindowEx(HWND parent, HWND childAfter, const std::string& className) {
    if (parent && !lookup(parent))
        return nullptr;
    const auto& candidates = siblingsOf(parent);
    auto it = candidates.begin();
    if (childAfter) {
        it = std::find(candidates.begin(), candidates.end(), childAfter);
        if (it == candidates.end())
            return nullptr;
        ++it;
    }
    for (; it != candidates.end(); ++it) {
        if (className.empty() || lookup(*it)->className == className)
            return *it;
    }
    return nullptr;
}

WndProc SetWindowProc(HWND window, WndProc procedure) {
    WindowObject* object = lookup(window);
    if (!object)
        return {};
    return std::exchange(object->procedure, std::move(procedure));
}

WndProc GetWindowProc(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->procedure : WndProc();
}

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object = lookup(window);
    if (!object || !object->procedure)
        return 0;
    // A copy, so that a procedure that replaces itself keeps running.
    WndProc procedure = object->procedure;
    return procedure(window, message, wParam, lParam);
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(wParam));
        return true;
    }
    if (window && !lookup(window))
        return false;
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    state().posted.push_back(msg);
    if (state().backend)
        state().backend->messagePosted();
    return true;
}

void PostQuitMessage(int exitCode) {
    state().quitRequested = true;
    if (state().backend)
        state().backend->quitRequested(exitCode);
}

bool QuitRequested() {
    return state().quitRequested;
}

bool TakeQuitRequest() {
    return std::exchange(state().quitRequested, false);
}

bool TranslateMessage(const MSG&) {
    return false;
}

LRESULT DispatchMessage(const MSG& message) {
    return SendMessage(message.hwnd, message.message, message.wParam, message.lParam);
}

int ProcessPostedMessages() {
    int delivered = 0;
    // Only what was queued before this call, so that a procedure that posts
    // again cannot keep this loop going for ever.
    size_t pending = state().posted.size();
    while (pending-- > 0 && !state().posted.empty()) {
        MSG message = state().posted.front();
        state().posted.pop_front();
        DispatchMessage(message);
        ++delivered;
    }
    return delivered;
}

Size GetClientSize(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->size : Size();
}

void SetClientSize(HWND window, Size size) {
    WindowObject* object = lookup(window);
    if (!object)
        return;
    object->size = size;
    if (state().backend)
        state().backend->resized(window, size);
}

void SetFocus(HWND window) {
    if (!lookup(window))
        return;
    state().focus = window;
    if (state().backend)
        state().backend->focused(window);
}

HWND GetFocus() {
    return state().focus;
}

void SetNativeWidget(HWND window, void* widget) {
    if (WindowObject* object = lookup(window))
        object->widget = widget;
}

void* GetNativeWidget(HWND window) {
    WindowObject* object = lookup(window);
    return object ? object->widget : nullptr;
}

HWND FromNativeWidget(const void* widget) {
    if (!widget)
        return nullptr;
    for (const auto& [handle, object] : state().windows)
        if (object->widget == widget)
            return handle;
    return nullptr;
}

size_t WindowCount() {
    return state().windows.size();
}

} // namespace win
