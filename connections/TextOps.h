#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-wise text operations on addresses and HTML lines. They treat text as
// 8-bit bytes: only the ASCII letters A-Z and a-z have a letter case. They
// live here, below publishing, because the wizard's page lookup and the
// reference rewriting of published pages both use them.
namespace connections::text {

// ASCII letters to lower case; every other byte unchanged.
std::string lowerCase(std::string_view text);

// 1-based position of the first occurrence of needle in haystack, compared
// with letter case; 0 when absent.
std::size_t find(std::string_view needle, std::string_view haystack);

// The text after the first opener found at or after the 1-based position,
// up to (not including) the next closer. On success position becomes the
// 1-based position just after that closer. When position is outside
// [1, source length), opener or closer is empty, or either is not found,
// the value is empty and position becomes 0.
std::string extract(std::string_view source, std::string_view opener, std::string_view closer,
                    std::size_t& position);

// Replaces every occurrence of pattern, scanning from the left without
// overlap and ignoring letter case; a "?" in the pattern matches any one
// byte. When tracked is given it holds a 0-based offset into text and is
// moved to the same place in the result (an offset inside a replaced match
// moves to the end of its replacement).
std::string replaceAll(std::string_view text, std::string_view pattern,
                       std::string_view replacement, std::size_t* tracked = nullptr);

// "%" and two hexadecimal digits become the byte they spell, "+" a blank,
// "&" CR LF; every other byte is copied. A "%" not followed by two
// hexadecimal digits is copied as it stands.
std::string decode(std::string_view text);

// Only "%" and two hexadecimal digits become the byte they spell, as in the
// path of an address; "+" and "&" stay as they are.
std::string percentDecoded(std::string_view text);

// Cuts a name taken from an address at its first "#", then its first "?",
// then its first "&".
void nettoie(std::string& name);

} // namespace connections::text
