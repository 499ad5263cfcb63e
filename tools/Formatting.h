#pragma once

#include "forms/Form.h"
#include "platform/browser/DocumentSnapshot.h"
#include "platform/browser/Value.h"
#include "platform/browser/WebBrowser.h"

#include <string>
#include <vector>

struct IHTMLElement;

// The formatting and edit toolbars' commands, and the toolbar's view of the
// selection.
namespace tools {

enum class CommandValue { True, False, Empty };

// One button's editor command: identifier (sent with this letter case),
// show-user-interface flag and value.
struct ToolCommand {
    const char* control;
    const char* command;
    bool showUI;
    CommandValue value;
};

// Every button that sends one fixed command, by control name.
const std::vector<ToolCommand>& toolCommands();

// Sends a command to the document the browser shows now. A failure ends the
// caller with an error.
void sendCommand(IWebBrowser2* browser, const std::string& command, bool showUI,
                 const browser::Value& value);
void sendCommand(IWebBrowser2* browser, const ToolCommand& command);

// Inserts markup at the selection of the document the browser shows. A
// selected object has no text range to paste into: that fails as an error.
void pasteHTML(IWebBrowser2* browser, const std::string& html);

// Shows the selection's bold, italic and underline states, font face and
// size and text color on the formatting toolbar of form, then moves
// selected to its parent unless it carries a link. Never fails outward: an
// error ends the refresh where it happened.
void DHTMLEditDisplayChanged(IWebBrowser2* browser, forms::Form& form,
                             ComPtr<IHTMLElement>& selected);
// The same from a snapshot taken with toolbarCommands(); climbing from an
// element of the snapshot's ancestors needs no call into the page.
void DHTMLEditDisplayChanged(const browser::DocumentSnapshot& state, forms::Form& form,
                             ComPtr<IHTMLElement>& selected);
// The commands whose values the formatting toolbar shows.
const std::vector<std::string>& toolbarCommands();

} // namespace tools
