#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace references {

// The local values taken on one line, in the order they were taken, each
// with the file name that replaces it. One sweep over the line finds every
// other place a value occurs, in time proportional to the line's length
// however long the values are.
class LocalValues {
public:
    // Adds a value (lower case) and its file name; false when the value was
    // taken before on this line.
    bool add(std::string_view value, const std::string& fileName);
    bool empty() const { return m_fileNames.empty(); }

    // Replaces every occurrence of a taken value in text by its file name,
    // from left to right without overlap, ignoring letter case; a "?" in a
    // value matches any one byte. Where several values start at the same
    // place, the one taken first wins.
    std::string rewriteOccurrences(const std::string& text) const;

private:
    // For each position of the lowered text, the first taken value that
    // occurs there, -1 where none does.
    std::vector<std::int32_t> firstValueAt(const std::string& lowered) const;
    // Lowers found[at] to a value holding "?" where one matches there.
    void matchWildcardValues(const std::string& lowered, std::vector<std::int32_t>& found) const;

    std::vector<std::string> m_values;
    std::vector<std::string> m_fileNames;
    std::unordered_set<std::string> m_taken;
};

} // namespace references
