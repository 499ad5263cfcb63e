#include "dialogs/FileFilters.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace dialogs {

namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    for (size_t from = 0;;) {
        size_t to = text.find(separator, from);
        parts.push_back(text.substr(from, to - from));
        if (to == std::string::npos)
            return parts;
        from = to + 1;
    }
}

// Letters, digits and the few marks a path keeps as they are.
bool keptInUri(unsigned char c) {
    return std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
}

} // namespace

std::vector<ui::FileFilter> parseFilter(const std::string& filter) {
    std::vector<std::string> parts = split(filter, '|');
    std::vector<ui::FileFilter> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({parts[i], split(parts[i + 1], ';')});
    return filters;
}

std::string fileAddress(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty() || slashed[0] != '/')
        return "file:///" + slashed;
    std::string uri = "file://";
    for (unsigned char c : slashed) {
        if (keptInUri(c)) {
            uri += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            uri += escaped;
        }
    }
    return uri;
}

} // namespace dialogs
