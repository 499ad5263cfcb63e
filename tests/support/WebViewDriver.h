#pragma once

// Drives a real web view from an engine test: runs the main loop, evaluates
// scripts in the page and sends it the mouse events a user's hand would.

#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitWebView WebKitWebView;

namespace enginetest {

struct Rect {
    double x = 0, y = 0, width = 0, height = 0;
    double centerX() const { return x + width / 2; }
    double centerY() const { return y + height / 2; }
};

// Iterates the main loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 10000);
// Iterates the main loop for the whole time, so the page handles what was sent.
void Settle(int milliseconds);

// Evaluates a script in the page and answers its value as text, or
// "error: " and the engine's message.
std::string Evaluate(WebKitWebView* view, const std::string& script);
// The box of the first element the selector finds, in view coordinates.
Rect ElementRect(WebKitWebView* view, const std::string& selector);

enum class Mouse { Move, Press, Release };
// One event of the left button (held down while moving) at a point of the
// widget's window, through the pointer of the default seat; then settles.
void SendMouse(GtkWidget* widget, Mouse what, double x, double y);

// Presses and releases one key (a GDK key value, with modifier state) in the
// widget's window, as the keyboard would; the focused widget receives it.
void SendKey(GtkWidget* widget, unsigned keyval, unsigned state = 0);
// Types the text key by key.
void TypeText(GtkWidget* widget, const std::string& text);
// Gives the widget's window the input focus and waits until it has it.
bool ActivateWindow(GtkWidget* widget);

} // namespace enginetest
