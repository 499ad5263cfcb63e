// The address parts and the byte-wise text operations, on any text.

#include "Linear.h"

#include "connections/TextOps.h"
#include "connections/UrlParts.h"

#include <algorithm>
#include <string>

namespace text = connections::text;
using fuzzing::require;

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Replace all written plainly: at each place, the pattern ("?" any byte,
// letter case ignored) is replaced, else the byte is copied; the tracked
// offset follows the byte it stands on.
std::string plainReplaceAll(const std::string& s, const std::string& pattern,
                            const std::string& replacement, size_t& tracked) {
    if (pattern.empty())
        return s;
    auto matches = [&](size_t at) {
        if (s.size() - at < pattern.size())
            return false;
        for (size_t j = 0; j < pattern.size(); ++j)
            if (pattern[j] != '?' && lower(pattern[j]) != lower(s[at + j]))
                return false;
        return true;
    };
    std::string out;
    size_t moved = std::string::npos;
    size_t i = 0;
    while (i < s.size()) {
        if (matches(i)) {
            if (tracked == i)
                moved = out.size();
            out += replacement;
            if (tracked > i && tracked < i + pattern.size())
                moved = out.size();
            i += pattern.size();
        } else {
            if (tracked == i)
                moved = out.size();
            out += s[i++];
        }
    }
    tracked = moved == std::string::npos ? out.size() : moved;
    return out;
}

// The input as three texts parted by NUL bytes: a text, a pattern and a
// replacement.
std::vector<std::string> fields(const std::string& input) {
    std::vector<std::string> parts(3);
    size_t field = 0;
    for (char c : input) {
        if (c == '\0' && field < 2)
            ++field;
        else
            parts[field] += c;
    }
    return parts;
}

void textOperations(const std::string& s) {
    std::string lowered = text::lowerCase(s);
    require(lowered.size() == s.size(), "lower case keeps the length");
    std::string decoded = text::decode(s);
    require(decoded.size() <= s.size() + static_cast<size_t>(std::count(s.begin(), s.end(), '&')),
            "decoding never grows but for \"&\"");
    std::string name = s;
    text::nettoie(name);
    require(s.compare(0, name.size(), name) == 0 && name.find_first_of("#?&") == std::string::npos,
            "nettoie keeps a prefix without #, ? or &");
    connections::UrlParts parts = connections::UrlParts::parse(s);
    parts.addressText();
    connections::traitep(s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    auto parts = fields(input);
    const std::string& s = parts[0];
    const std::string& pattern = parts[1];
    const std::string& replacement = parts[2];

    for (size_t tracked : {size_t(0), s.size() / 2, s.size()}) {
        size_t ours = tracked;
        size_t plain = tracked;
        std::string result = text::replaceAll(s, pattern, replacement, &ours);
        require(result == plainReplaceAll(s, pattern, replacement, plain),
                "replaceAll agrees with the plain rule");
        require(ours == plain, "the tracked offset agrees with the plain rule");
    }
    textOperations(s);

    fuzzing::checkLinear(input, [&](const std::string& big) {
        textOperations(big);
        if (!pattern.empty())
            text::replaceAll(big, pattern, replacement);
    });
    return 0;
}
