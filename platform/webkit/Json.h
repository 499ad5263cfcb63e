#pragma once

// JSON texts of the arguments sent to the editing layer.

#include "platform/browser/Value.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace webkit::json {

inline std::string text(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

inline std::string number(long n) {
    return std::to_string(n);
}

inline std::string value(const browser::Value& v) {
    if (v.isNull())
        return "null";
    if (v.isBool())
        return v.asBool() ? "true" : "false";
    if (v.isText())
        return text(v.asText());
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v.asNumber());
    return buffer;
}

namespace detail {

inline void appendUtf8(std::string& out, unsigned long code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

inline bool readHex4(const std::string& s, size_t& i, unsigned long& code) {
    if (i + 4 > s.size())
        return false;
    char* end = nullptr;
    std::string digits = s.substr(i, 4);
    code = std::strtoul(digits.c_str(), &end, 16);
    i += 4;
    return end == digits.c_str() + 4;
}

// A JSON string starting at s[i] (its opening quote); i ends past it.
inline bool readString(const std::string& s, size_t& i, std::string& out) {
    if (s[i++] != '"')
        return false;
    while (i < s.size()) {
        char c = s[i++];
        if (c == '"')
            return true;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= s.size())
            return false;
        char e = s[i++];
        unsigned long code = 0;
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'u':
            if (!readHex4(s, i, code))
                return false;
            if (code >= 0xD800 && code < 0xDC00 && s.compare(i, 2, "\\u") == 0) {
                unsigned long low = 0;
                i += 2;
                if (!readHex4(s, i, low))
                    return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
            }
            appendUtf8(out, code);
            break;
        default:
            out += e;
            break;
        }
    }
    return false;
}

} // namespace detail

// Reads a JSON array of texts and nulls, as the editing layer writes it.
inline bool readTexts(const std::string& s, std::vector<browser::Value>& values) {
    values.clear();
    size_t i = 0;
    if (s.empty() || s[i++] != '[')
        return false;
    if (i < s.size() && s[i] == ']')
        return i + 1 == s.size();
    while (i < s.size()) {
        if (s.compare(i, 4, "null") == 0) {
            values.emplace_back();
            i += 4;
        } else {
            std::string text;
            if (!detail::readString(s, i, text))
                return false;
            values.emplace_back(std::move(text));
        }
        if (i < s.size() && s[i] == ',') {
            ++i;
            continue;
        }
        return i < s.size() && s[i] == ']' && i + 1 == s.size();
    }
    return false;
}

} // namespace webkit::json
