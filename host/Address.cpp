#include "Address.h"

#include <cctype>
#include <filesystem>

namespace host {

namespace {

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool hasScheme(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) // "C:" is no scheme
        return false;
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return std::isalpha(static_cast<unsigned char>(text[0])) != 0;
}

std::string percentEncodedPath(const std::string& path) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) ||
            std::string("/-._~!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace

std::string addressFromInput(const std::string& input) {
    std::string text = trimmed(input);
    if (text.empty())
        return {};
    if (hasScheme(text))
        return text;
    std::error_code error;
    std::filesystem::path path(text);
    if (path.is_absolute() || std::filesystem::exists(path, error)) {
        auto absolute = std::filesystem::absolute(path, error);
        return "file://" + percentEncodedPath(absolute.lexically_normal().string());
    }
    return "http://" + text;
}

} // namespace host
