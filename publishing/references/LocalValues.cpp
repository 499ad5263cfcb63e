#include "LocalValues.h"

#include "connections/TextOps.h"

namespace references {

bool LocalValues::add(std::string_view value, const std::string& fileName) {
    if (!m_taken.emplace(value).second)
        return false;
    std::size_t node = 0;
    for (char c : value) {
        std::size_t next = child(node, c);
        if (next == kNone) {
            next = m_nodes.size();
            m_nodes[node].children.emplace_back(c, next);
            m_nodes.emplace_back();
        }
        node = next;
    }
    m_nodes[node].value = static_cast<std::ptrdiff_t>(m_fileNames.size());
    m_fileNames.push_back(fileName);
    return true;
}

std::size_t LocalValues::child(std::size_t node, char c) const {
    for (const auto& [label, next] : m_nodes[node].children)
        if (label == c)
            return next;
    return kNone;
}

std::pair<std::ptrdiff_t, std::size_t> LocalValues::matchAt(const std::string& lowered,
                                                            std::size_t offset, Walk& walk) const {
    std::pair<std::ptrdiff_t, std::size_t> best{-1, 0};
    // The nodes the text reached so far: a "?" edge matches any byte, so
    // more than one path may be alive.
    std::vector<std::size_t>& alive = walk.alive;
    std::vector<std::size_t>& reached = walk.reached;
    alive.assign(1, 0);
    for (std::size_t at = offset; at < lowered.size() && !alive.empty(); ++at) {
        reached.clear();
        for (std::size_t node : alive) {
            for (char label : {lowered[at], '?'}) {
                std::size_t next = child(node, label);
                if (next == kNone)
                    continue;
                reached.push_back(next);
                std::ptrdiff_t value = m_nodes[next].value;
                if (value >= 0 && (best.first < 0 || value < best.first))
                    best = {value, at + 1 - offset};
                if (label == '?')
                    break;
            }
        }
        alive.swap(reached);
    }
    return best;
}

std::string LocalValues::rewriteOccurrences(const std::string& text) const {
    std::string lowered = connections::text::lowerCase(text);
    std::string out;
    out.reserve(text.size());
    std::size_t rootAny = child(0, '?');
    Walk walk;
    for (std::size_t at = 0; at < text.size();) {
        // Most bytes start no value: skip them without walking the trie.
        if (rootAny == kNone && child(0, lowered[at]) == kNone) {
            out += text[at++];
            continue;
        }
        auto [value, length] = matchAt(lowered, at, walk);
        if (value < 0) {
            out += text[at++];
            continue;
        }
        out += m_fileNames[static_cast<std::size_t>(value)];
        at += length;
    }
    return out;
}

} // namespace references
