#pragma once

#include <exception>
#include <functional>
#include <string>
#include <vector>

// The process-wide application object of the forms framework: its title,
// the error report that ends a handler, and termination.
namespace app {

// Caption of the application-wide error box.
std::string Title();
void SetTitle(const std::string& title);

// The period rule of error boxes: a period is appended when the text's last
// character sorts after "." in character order.
std::string WithPeriod(const std::string& text);

// Shows an error that escaped a handler: a box with the error's text, an
// error icon, an OK button and the application title as caption.
void ShowException(const std::exception& error);

// Runs a handler; an error that escapes it is shown and the program goes on.
void RunHandler(const std::function<void()>& handler);

// A terminate procedure answers false to object to termination.
using TerminateProc = std::function<bool()>;
int AddTerminateProc(TerminateProc procedure);
void RemoveTerminateProc(int id);
// Runs the terminate procedures and, when none objects, posts WM_QUIT.
void Terminate();

} // namespace app
