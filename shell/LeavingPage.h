#pragma once

#include <string>

struct IWebBrowser2;

namespace shell {

// Whether a navigation loads a frame of the shown page rather than the page
// itself: it names a target frame, or its address is the source of one of
// the page's frames (an iframe filled late, a player, a map, an
// advertisement).
bool isFrameOfPage(IWebBrowser2* browser, const std::string& url, const std::string& frame);

// Whether the shown page is in design mode, so that leaving it loses edits.
bool pageIsEdited(IWebBrowser2* browser);

// Asks the user whether to leave the edited page; false keeps it.
bool leavingConfirmed();

} // namespace shell
