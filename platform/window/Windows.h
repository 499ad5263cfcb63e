#pragma once

#include "platform/com/Window.h"

#include <functional>
#include <string>
#include <vector>

// Windows as the system knows them: handles with a class name, a parent, a
// size and a window procedure, which can be found by class and sent or posted
// messages. A backend gives them a toolkit widget; without one they are
// headless, which is what the unit tests use.
namespace win {

using WndProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

struct WindowParams {
    std::string className;
    std::string caption;
    HWND parent = nullptr;
    int width = 0;
    int height = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// The toolkit side of windows. Every call runs on the main thread.
class WindowBackend {
public:
    virtual ~WindowBackend() = default;
    virtual void created(HWND) {}
    virtual void destroying(HWND) {}
    virtual void resized(HWND, Size) {}
    virtual void focused(HWND) {}
    // A message was posted: arrange for ProcessPostedMessages to run soon.
    virtual void messagePosted() {}
    // WM_QUIT reached the thread's queue.
    virtual void quitRequested(int exitCode) { (void)exitCode; }
};

// Installs the backend (not owned); nullptr returns to headless windows.
void SetBackend(WindowBackend* backend);

HWND CreateWindowObject(const WindowParams& params);
// Destroys a window and its children, children first.
void DestroyWindow(HWND window);
bool IsWindow(HWND window);
HWND GetParent(HWND window);
std::string GetClassName(HWND window);
std::string GetWindowText(HWND window);
std::vector<HWND> GetChildren(HWND window);

// The first top-level window of the class.
HWND FindWindow(const std::string& className);
// The first child of parent (top-level windows for a null parent) after
// childAfter whose class matches.
HWND FindWindowEx(HWND parent, HWND childAfter, const std::string& className);

// Replaces the window procedure and answers the one it replaced.
WndProc SetWindowProc(HWND window, WndProc procedure);
WndProc GetWindowProc(HWND window);

// Calls the window procedure at once; 0 for a window without one.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues the message for the window; WM_QUIT goes to the thread instead.
bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
bool TranslateMessage(const MSG& message);
LRESULT DispatchMessage(const MSG& message);
// Delivers the queued messages; answers how many were delivered.
int ProcessPostedMessages();
// True once WM_QUIT was posted and not yet taken with TakeQuitRequest.
bool QuitRequested();
bool TakeQuitRequest();

Size GetClientSize(HWND window);
void SetClientSize(HWND window, Size size);
void SetFocus(HWND window);
HWND GetFocus();

// The toolkit widget behind a handle, for the backend and the form views.
void SetNativeWidget(HWND window, void* widget);
void* GetNativeWidget(HWND window);
// The handle whose widget this is, or nullptr.
HWND FromNativeWidget(const void* widget);

// Number of live windows (tests).
size_t WindowCount();

} // namespace win
