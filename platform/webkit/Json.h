#pragma once

// JSON texts of the arguments sent to the editing layer.

#include "platform/browser/Value.h"

#include <cstdio>
#include <string>

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

} // namespace webkit::json
