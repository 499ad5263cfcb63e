#include "connections/SiteLookup.h"

#include "connections/TextOps.h"

namespace connections {

std::string siteRoot(const UrlParts& address) {
    std::string root = address.protocol + "://" + address.host;
    if (!address.port.empty())
        root += ":" + address.port;
    return root;
}

bool siteMatches(const std::string& saved, const std::string& address) {
    const std::string site = text::lowerCase(saved);
    if (site.empty())
        return false;
    const std::string needle = text::lowerCase(address) + "/";
    for (auto at = needle.find(site); at != std::string::npos; at = needle.find(site, at + 1)) {
        bool startsThere = at == 0 || (at >= 3 && needle.compare(at - 3, 3, "://") == 0);
        std::size_t end = at + site.size();
        bool endsThere =
            site.back() == '/' ||
            (end < needle.size() && std::string("/?#").find(needle[end]) != std::string::npos);
        if (startsThere && endsThere)
            return true;
    }
    return false;
}

std::string joinFolders(const std::string& folder, const std::string& path) {
    if (!folder.empty() && folder.back() == '/' && !path.empty() && path.front() == '/')
        return folder + path.substr(1);
    return folder + path;
}

std::optional<std::string> findDefaultPage(const std::vector<std::string>& listing) {
    for (const std::string& line : listing)
        for (const char* name : kDefaultPageNames)
            if (line.find(name) != std::string::npos)
                return name;
    return std::nullopt;
}

} // namespace connections
