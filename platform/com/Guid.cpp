#include "Guid.h"

#include <cstdio>

namespace com {

std::string guidToString(const GUID& g) {
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

namespace {

std::optional<uint64_t> parseHex(std::string_view text) {
    if (text.empty() || text.size() > 16)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

} // namespace

std::optional<GUID> guidFromString(std::string_view t) {
    if (t.size() != 38 || t.front() != '{' || t.back() != '}' || t[9] != '-' || t[14] != '-' ||
        t[19] != '-' || t[24] != '-')
        return std::nullopt;
    auto d1 = parseHex(t.substr(1, 8));
    auto d2 = parseHex(t.substr(10, 4));
    auto d3 = parseHex(t.substr(15, 4));
    if (!d1 || !d2 || !d3)
        return std::nullopt;
    GUID g;
    g.Data1 = static_cast<uint32_t>(*d1);
    g.Data2 = static_cast<uint16_t>(*d2);
    g.Data3 = static_cast<uint16_t>(*d3);
    static constexpr size_t offsets[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        auto byte = parseHex(t.substr(offsets[i], 2));
        if (!byte)
            return std::nullopt;
        g.Data4[i] = static_cast<uint8_t>(*byte);
    }
    return g;
}

} // namespace com
