#include "LocalValues.h"

#include "connections/TextOps.h"

#include <algorithm>
#include <array>
#include <limits>

namespace references {

namespace {

constexpr std::int32_t kNoValue = std::numeric_limits<std::int32_t>::max();

bool hasWildcard(const std::string& value) {
    return value.find('?') != std::string::npos;
}

// An Aho-Corasick automaton over the reversed values without "?". Fed the
// text from its end, its state after the byte at p stands for every value
// that occurs at p; each state knows the first taken of those. So the
// first value at every position costs one step per byte, however long the
// values are and however much they overlap.
class ReversedAutomaton {
public:
    explicit ReversedAutomaton(const std::vector<std::string>& values) {
        std::size_t letters = 0;
        for (const std::string& value : values)
            letters += value.size();
        m_nodes.reserve(letters + 1);
        m_nodes.emplace_back();
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!values[i].empty() && !hasWildcard(values[i]))
                insert(values[i], static_cast<std::int32_t>(i));
        for (std::uint32_t next = m_nodes[0].firstChild; next != kNone;
             next = m_nodes[next].nextSibling)
            m_fromRoot[static_cast<unsigned char>(m_nodes[next].label)] = next;
        linkFailures();
    }

    std::vector<std::int32_t> firstValueAt(const std::string& lowered) const {
        std::vector<std::int32_t> found(lowered.size(), kNoValue);
        std::uint32_t state = 0;
        for (std::size_t p = lowered.size(); p-- > 0;) {
            state = step(state, lowered[p]);
            found[p] = m_nodes[state].first;
        }
        return found;
    }

private:
    // Children are kept as a list through the nodes themselves, so that
    // the automaton of a long line is one block of memory.
    struct Node {
        std::uint32_t firstChild = 0;
        std::uint32_t nextSibling = 0;
        std::uint32_t failure = 0;
        std::int32_t value = kNoValue; // the value whose reverse ends here
        std::int32_t first = kNoValue; // the first value among this and its failures
        char label = 0;
    };

    static constexpr std::uint32_t kNone = 0; // the root is never a child

    std::uint32_t child(std::uint32_t node, char c) const {
        for (std::uint32_t next = m_nodes[node].firstChild; next != kNone;
             next = m_nodes[next].nextSibling)
            if (m_nodes[next].label == c)
                return next;
        return kNone;
    }

    void insert(const std::string& value, std::int32_t index) {
        std::uint32_t node = 0;
        for (auto it = value.rbegin(); it != value.rend(); ++it) {
            std::uint32_t next = child(node, *it);
            if (next == kNone) {
                next = static_cast<std::uint32_t>(m_nodes.size());
                m_nodes.emplace_back();
                m_nodes[next].label = *it;
                m_nodes[next].nextSibling = m_nodes[node].firstChild;
                m_nodes[node].firstChild = next;
            }
            node = next;
        }
        m_nodes[node].value = std::min(m_nodes[node].value, index);
    }

    // Breadth first, so that a node's failure is done before the node.
    void linkFailures() {
        std::vector<std::uint32_t> queue{0};
        queue.reserve(m_nodes.size());
        for (std::size_t head = 0; head < queue.size(); ++head) {
            std::uint32_t node = queue[head];
            m_nodes[node].first = std::min(
                m_nodes[node].value, node == 0 ? kNoValue : m_nodes[m_nodes[node].failure].first);
            for (std::uint32_t next = m_nodes[node].firstChild; next != kNone;
                 next = m_nodes[next].nextSibling) {
                m_nodes[next].failure =
                    node == 0 ? 0 : step(m_nodes[node].failure, m_nodes[next].label);
                queue.push_back(next);
            }
        }
    }

    std::uint32_t step(std::uint32_t state, char c) const {
        for (; state != 0; state = m_nodes[state].failure)
            if (std::uint32_t next = child(state, c); next != kNone)
                return next;
        return m_fromRoot[static_cast<unsigned char>(c)];
    }

    std::vector<Node> m_nodes;
    // Most bytes lead back to the root: its moves are looked up directly.
    std::array<std::uint32_t, 256> m_fromRoot{};
};

bool matchesAt(const std::string& lowered, std::size_t at, const std::string& value) {
    if (lowered.size() - at < value.size())
        return false;
    for (std::size_t i = 0; i < value.size(); ++i)
        if (value[i] != '?' && value[i] != lowered[at + i])
            return false;
    return true;
}

} // namespace

bool LocalValues::add(std::string_view value, const std::string& fileName) {
    if (!m_taken.emplace(value).second)
        return false;
    m_values.emplace_back(value);
    m_fileNames.push_back(fileName);
    return true;
}

// Values holding "?" (a query in a file address) are few and short: they
// are compared where they may still win.
void LocalValues::matchWildcardValues(const std::string& lowered,
                                      std::vector<std::int32_t>& found) const {
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        const std::string& value = m_values[i];
        if (!hasWildcard(value))
            continue;
        auto index = static_cast<std::int32_t>(i);
        for (std::size_t at = 0; at < lowered.size(); ++at)
            if (index < found[at] && matchesAt(lowered, at, value))
                found[at] = index;
    }
}

std::vector<std::int32_t> LocalValues::firstValueAt(const std::string& lowered) const {
    std::vector<std::int32_t> found = ReversedAutomaton(m_values).firstValueAt(lowered);
    matchWildcardValues(lowered, found);
    return found;
}

std::string LocalValues::rewriteOccurrences(const std::string& text) const {
    std::string lowered = connections::text::lowerCase(text);
    std::vector<std::int32_t> found = firstValueAt(lowered);
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        if (found[at] == kNoValue) {
            out += text[at++];
            continue;
        }
        auto value = static_cast<std::size_t>(found[at]);
        out += m_fileNames[value];
        at += m_values[value].size();
    }
    return out;
}

} // namespace references
