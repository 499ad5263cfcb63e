#include "TextOps.h"

#include <optional>

namespace connections::text {

namespace {

char lowered(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Whether pattern matches text at offset, ignoring letter case, with "?"
// matching any byte. The caller makes sure the text is long enough.
bool matchesAt(std::string_view text, std::size_t offset, std::string_view pattern) {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        char p = pattern[k];
        if (p != '?' && lowered(p) != lowered(text[offset + k]))
            return false;
    }
    return true;
}

} // namespace

std::string lowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lowered(c);
    return out;
}

std::size_t find(std::string_view needle, std::string_view haystack) {
    std::size_t at = haystack.find(needle);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string extract(std::string_view source, std::string_view opener, std::string_view closer,
                    std::size_t& position) {
    if (position < 1 || position >= source.size() || opener.empty() || closer.empty()) {
        position = 0;
        return {};
    }
    std::size_t open = source.find(opener, position - 1);
    if (open == std::string_view::npos) {
        position = 0;
        return {};
    }
    std::size_t start = open + opener.size();
    std::size_t close = source.find(closer, start);
    if (close == std::string_view::npos) {
        position = 0;
        return {};
    }
    position = close + closer.size() + 1;
    return std::string(source.substr(start, close - start));
}

std::string replaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement, std::size_t* tracked) {
    if (pattern.empty() || pattern.size() > text.size())
        return std::string(text);
    // The first fixed byte of the pattern lets the scan skip quickly over
    // text that cannot match.
    std::size_t anchor = pattern.find_first_not_of('?');
    char anchorLower = anchor == std::string_view::npos ? 0 : lowered(pattern[anchor]);

    std::string out;
    out.reserve(text.size());
    std::optional<std::size_t> moved;
    std::size_t copiedUpTo = 0;
    std::size_t last = text.size() - pattern.size();
    for (std::size_t i = 0; i <= last;) {
        if (anchor != std::string_view::npos && lowered(text[i + anchor]) != anchorLower) {
            ++i;
            continue;
        }
        if (!matchesAt(text, i, pattern)) {
            ++i;
            continue;
        }
        std::size_t segmentStart = out.size();
        out.append(text, copiedUpTo, i - copiedUpTo);
        if (tracked && !moved && *tracked < i + pattern.size())
            moved = *tracked <= i ? segmentStart + (*tracked - copiedUpTo)
                                  : out.size() + replacement.size();
        out.append(replacement);
        i += pattern.size();
        copiedUpTo = i;
    }
    if (tracked && !moved)
        moved = out.size() + (*tracked - copiedUpTo);
    out.append(text, copiedUpTo);
    if (tracked)
        *tracked = *moved;
    return out;
}

std::string decode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else if (c == '+') {
            out += ' ';
        } else if (c == '&') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 &&
            hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

void nettoie(std::string& name) {
    for (char cut : {'#', '?', '&'}) {
        std::size_t at = name.find(cut);
        if (at != std::string::npos)
            name.erase(at);
    }
}

} // namespace connections::text
