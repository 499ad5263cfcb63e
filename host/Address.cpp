#include "Address.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
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

std::string fileAddress(const std::filesystem::path& path) {
    std::error_code error;
    auto absolute = std::filesystem::absolute(path, error);
    return "file://" + percentEncodedPath(absolute.lexically_normal().string());
}

bool endsWith(const std::string& text, const std::string& end) {
    if (text.size() < end.size())
        return false;
    return std::equal(end.rbegin(), end.rend(), text.rbegin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

bool looksLikeFileName(const std::string& text) {
    return text.find('/') != std::string::npos || text[0] == '.' || text[0] == '~' ||
           endsWith(text, ".htm") || endsWith(text, ".html");
}

std::filesystem::path withHomeExpanded(const std::string& text) {
    const char* home = std::getenv("HOME");
    if (home && (text == "~" || text.rfind("~/", 0) == 0))
        return std::filesystem::path(home) / text.substr(std::min<size_t>(text.size(), 2));
    return text;
}

} // namespace

std::string addressFromArgument(const std::string& argument, std::string& error) {
    std::string text = trimmed(argument);
    if (text.empty() || hasScheme(text))
        return text;
    std::error_code ignored;
    if (std::filesystem::exists(text, ignored))
        return fileAddress(text);
    if (!looksLikeFileName(text))
        return "http://" + text;
    std::filesystem::path path = withHomeExpanded(text);
    if (std::filesystem::exists(path, ignored))
        return fileAddress(path);
    error = "cannot open " + std::filesystem::absolute(path, ignored).lexically_normal().string() +
            ": there is no such file";
    return {};
}

std::string addressFromInput(const std::string& input) {
    std::string text = trimmed(input);
    if (text.empty())
        return {};
    if (hasScheme(text))
        return text;
    std::error_code error;
    std::filesystem::path path(text);
    if (path.is_absolute() || std::filesystem::exists(path, error))
        return fileAddress(path);
    return "http://" + text;
}

} // namespace host
