#pragma once

#include "connections/UrlParts.h"

#include <optional>
#include <string>
#include <vector>

namespace connections {

// The root of the site an address belongs to, as the browser shows it:
// protocol, "://", host, and ":" and the port when the address has one.
std::string siteRoot(const UrlParts& address);

// Whether a saved site address names the site of an address (letter case
// ignored): the saved text must start the address, or start it right after
// its "://", and end where the address's host or a folder of its path ends.
// So http://host1 is the site of http://host1/dir/page.htm but not of
// http://host10/ or of http://other/?from=http://host1, and a saved
// http://host1/shop/ only of addresses under /shop/. An empty saved
// address names no site.
bool siteMatches(const std::string& saved, const std::string& address);

// Joins the initial folder of a connection and the folder of a page, with
// one "/" where the two meet ("www" and "/news/" give "www/news/").
std::string joinFolders(const std::string& folder, const std::string& path);

// The page names a folder is opened with when an address names none, in
// the order they are tried; a name that starts another comes after it.
inline constexpr const char* kDefaultPageNames[] = {
    "index.html",  "index.htm",   "default.html", "default.htm", "index.php",
    "default.php", "default.asp", "index.asp",    "home.html",   "home.htm",
    "default.jsp", "default.cfm", "index.jsp",    "index.cfm",
};

// The default page a folder listing shows: the first line that holds one
// of the names (letter case counts) decides, and within it the name that
// comes first above. Nothing when no line holds one.
std::optional<std::string> findDefaultPage(const std::vector<std::string>& listing);

} // namespace connections
