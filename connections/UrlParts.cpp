#include "UrlParts.h"

#include "TextOps.h"

#include <algorithm>

namespace connections {

namespace {

void splitAuthority(const std::string& authority, UrlParts& parts) {
    std::string hostPort = authority;
    // A password may hold "@"; the host never does, so the last one ends
    // the user information.
    std::size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        std::string userInfo = authority.substr(0, at);
        hostPort = authority.substr(at + 1);
        std::size_t colon = userInfo.find(':');
        parts.user = userInfo.substr(0, colon);
        if (colon != std::string::npos)
            parts.password = userInfo.substr(colon + 1);
    }
    // A bracketed IPv6 host holds colons of its own.
    std::size_t hostEnd = hostPort.starts_with('[') ? hostPort.find(']') : 0;
    std::size_t colon =
        hostPort.find(':', hostEnd == std::string::npos ? hostPort.size() : hostEnd);
    parts.host = hostPort.substr(0, colon);
    if (colon != std::string::npos)
        parts.port = hostPort.substr(colon + 1);
}

// Splits what follows the authority (or a whole text without one) into
// path, document and params. Answers whether a bookmark was found.
bool splitRemainder(const std::string& rest, bool withHost, UrlParts& parts) {
    std::size_t query = rest.find('?');
    if (query == std::string::npos)
        query = rest.find('=');
    if (query == std::string::npos)
        query = rest.size();
    std::size_t slash = query == 0 ? std::string::npos : rest.rfind('/', query - 1);
    std::size_t documentStart = slash == std::string::npos ? 0 : slash + 1;
    parts.path = rest.substr(0, documentStart);
    if (withHost)
        parts.path.insert(0, 1, '/');
    parts.document = rest.substr(documentStart, query - documentStart);
    parts.params = rest.substr(query);
    if (!withHost)
        return false;
    std::size_t hash = parts.document.find('#');
    if (hash == std::string::npos)
        return false;
    parts.bookmark = parts.document.substr(hash + 1);
    parts.document.erase(hash);
    return true;
}

std::string trimmedBlanks(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

UrlParts UrlParts::parse(const std::string& text) {
    std::string address = text;
    std::replace(address.begin(), address.end(), '\\', '/');

    UrlParts parts;
    std::string rest = address;
    std::size_t separator = address.find("://");
    bool withHost = separator != std::string::npos;
    if (withHost) {
        parts.protocol = address.substr(0, separator);
        std::string afterProtocol = address.substr(separator + 3);
        std::size_t slash = afterProtocol.find('/');
        splitAuthority(afterProtocol.substr(0, slash), parts);
        rest = slash == std::string::npos ? std::string() : afterProtocol.substr(slash + 1);
    }
    if (!splitRemainder(rest, withHost, parts)) {
        std::size_t hash = parts.params.find('#');
        if (hash != std::string::npos) {
            parts.bookmark = parts.params.substr(hash + 1);
            parts.params.erase(hash);
        }
    }
    return parts;
}

std::string UrlParts::addressText() const {
    std::string text = protocol + "://" + host;
    if (!port.empty())
        text += ":" + port;
    return text + path + document + params;
}

UrlParts traitep(const std::string& location) {
    // A secure site's address keeps its own protocol; any other location is
    // taken as a host name or an address of the plain web.
    std::string lowered = text::lowerCase(location);
    bool hasWebProtocol = lowered.starts_with("http://") || lowered.starts_with("https://");
    std::string address = location;
    if (!hasWebProtocol)
        address.insert(0, "http://");
    UrlParts parts = UrlParts::parse(address);
    text::nettoie(parts.document);
    std::string path = trimmedBlanks(parts.path);
    if (path.empty() || path == "/" || path == "\\")
        parts.path.assign(1, '.');
    return parts;
}

} // namespace connections
