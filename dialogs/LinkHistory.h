#pragma once

#include <string>
#include <vector>

namespace dialogs {

// The addresses the link browser went to, and the current one. Going to an
// address already in the list (in any letter case) makes it current; going
// to a new one from the middle of the list drops the current entry and the
// ones after it before the new one is added.
class LinkHistory {
public:
    void visit(const std::string& address);

    const std::vector<std::string>& entries() const { return m_entries; }
    int current() const { return m_current; }
    // The entry before (after) the current one, or "" at that end.
    std::string previous() const;
    std::string next() const;

private:
    std::vector<std::string> m_entries;
    int m_current = -1;
};

} // namespace dialogs
