#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    friend bool operator==(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

inline constexpr GUID GUID_NULL{};

namespace com {

// Registry text form: upper-case hex in groups 8-4-4-4-12, between braces.
std::string guidToString(const GUID& guid);

// Accepts the registry form in either letter case; nullopt on anything else.
std::optional<GUID> guidFromString(std::string_view text);

} // namespace com
