#pragma once

#include <string>

namespace connections {

// A web address split into its parts. Parsing never fails: any text gives
// parts, and parts with no protocol give an address text that starts with
// "://" (callers put a protocol in front first, as traitep does).
class UrlParts {
public:
    std::string protocol;
    std::string user;
    std::string password;
    std::string host;
    std::string port;
    std::string path;
    std::string document;
    std::string params;
    std::string bookmark;

    // Splits text: "\" counts as "/"; with "://" the authority runs to the
    // first "/" and the path starts with "/"; the query starts at the first
    // "?", or at the first "=" when there is no "?"; a "#" cuts the document
    // (only when there is a host) or else the params, the rest is the
    // bookmark.
    static UrlParts parse(const std::string& text);

    // protocol "://" host [":" port] path document params. User, password
    // and bookmark are left out.
    std::string addressText() const;

    bool operator==(const UrlParts&) const = default;
};

// The band form's current document address made from a browser location:
// "http://" put in front when the location does not start with it (any
// letter case), the document cleaned with nettoie, and an empty or root
// path (after trimming blanks) turned into ".".
UrlParts traitep(const std::string& location);

} // namespace connections
