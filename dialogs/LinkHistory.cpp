#include "dialogs/LinkHistory.h"

#include <strings.h>

namespace dialogs {

void LinkHistory::visit(const std::string& address) {
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (strcasecmp(m_entries[i].c_str(), address.c_str()) == 0) {
            m_current = static_cast<int>(i);
            return;
        }
    if (m_current >= 0 && m_current < static_cast<int>(m_entries.size()) - 1)
        m_entries.erase(m_entries.begin() + m_current, m_entries.end());
    m_entries.push_back(address);
    m_current = static_cast<int>(m_entries.size()) - 1;
}

std::string LinkHistory::previous() const {
    return m_current > 0 ? m_entries[m_current - 1] : std::string();
}

std::string LinkHistory::next() const {
    return m_current >= 0 && m_current + 1 < static_cast<int>(m_entries.size())
               ? m_entries[m_current + 1]
               : std::string();
}

} // namespace dialogs
