#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace references {

// The local values taken on one line, in the order they were taken, each
// with the file name that replaces it. A trie of the values lets one sweep
// over the line find every other place a value occurs.
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
    struct Node {
        std::vector<std::pair<char, std::size_t>> children;
        std::ptrdiff_t value = -1; // index of the value ending here
    };
    // Room for the trie nodes alive during a match, kept between matches.
    struct Walk {
        std::vector<std::size_t> alive;
        std::vector<std::size_t> reached;
    };
    std::size_t child(std::size_t node, char c) const;
    // The value that matches text at offset (the first taken wins) and its
    // length; value -1 when none does.
    std::pair<std::ptrdiff_t, std::size_t> matchAt(const std::string& lowered, std::size_t offset,
                                                   Walk& walk) const;

    static constexpr std::size_t kNone = 0; // the root is never a child
    std::vector<Node> m_nodes{Node{}};
    std::vector<std::string> m_fileNames;
    std::unordered_set<std::string> m_taken;
};

} // namespace references
