#pragma once

#include "platform/browser/WebBrowser.h"

#include <string>

// Links made from the selection, their target window, their removal, and
// the pictures of the link button.
namespace tools {

// The link button's picture without and with a link at the last click.
inline constexpr const char* kLinkPicture = "insert-link";
inline constexpr const char* kLinkPresentPicture = "emblem-symbolic-link";

// Makes the selection (text or an object) a link to address and gives the
// new link the target window: "default", in any case, means none. The
// range selected before the link was made goes into clickRange.
void creerlien(IWebBrowser2* browser, const std::string& address, std::string target,
               ComPtr<IUnknown>& clickRange);

// Takes the link off the selection and then its character formatting.
void removeLink(IWebBrowser2* browser);

// The address of an e-mail link with a subject. The subject is escaped where
// a mail program would otherwise read it as the start of another field or
// of a fragment ("&", "#", "?") or as an escape ("%").
std::string mailtoAddress(const std::string& address, const std::string& subject);

} // namespace tools
