#include "ConnectionStore.h"

#include "platform/window/Application.h"

#include <array>
#include <charconv>
#include <utility>

namespace connections {

namespace {

constexpr const char* kSection = "Tavrisk";

// The stored lists in the order they are written, each with the name that
// makes its section "Tavrisk.<name>.Strings".
std::array<std::pair<const char*, std::vector<std::string>*>, 6> storedLists(ConnectionLists& l) {
    return {{{"ftpserver", &l.ftpserver},
             {"ftpinitialfolder", &l.ftpinitialfolder},
             {"ftplogin", &l.ftplogin},
             {"ftppassword", &l.ftppassword},
             {"siteweb", &l.siteweb},
             {"ports", &l.ports}}};
}

std::string sectionOf(const char* list) {
    return std::string(kSection) + "." + list + ".Strings";
}

std::string itemKey(std::size_t index) {
    return "Item" + std::to_string(index);
}

// A decimal Count as a hand may have written it: blanks around, an optional
// sign. Anything else is 0; a number too large for any list is the cap.
std::size_t entryCount(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    std::size_t last = text.find_last_not_of(" \t");
    if (first == std::string::npos)
        return 0;
    std::string_view number(text.data() + first, last - first + 1);
    bool negative = number.front() == '-';
    if (number.front() == '+' || negative)
        number.remove_prefix(1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    if (negative)
        return 0;
    std::size_t count = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
    if (error == std::errc::result_out_of_range || count > ConnectionStore::kMaxEntries)
        return ConnectionStore::kMaxEntries;
    return end == number.data() + number.size() ? count : 0;
}

} // namespace

ConnectionStore::ConnectionStore(std::filesystem::path iniFileName)
    : m_storage(std::move(iniFileName)) {}

void ConnectionStore::restore() {
    m_savedSinceRestore = false;
    try {
        m_storage.open();
    } catch (const IniReadError& error) {
        // The lists stay as they are, and no save writes over the file.
        m_restoredOnce = false;
        app::ShowException(error);
        return;
    }
    for (auto [name, list] : storedLists(m_lists)) {
        try {
            std::string section = sectionOf(name);
            std::size_t count = entryCount(m_storage.readString(section, "Count", "0"));
            if (count == 0)
                continue;
            std::vector<std::string> entries;
            entries.reserve(count);
            for (std::size_t i = 0; i < count; ++i)
                entries.push_back(m_storage.readString(section, itemKey(i), ""));
            *list = std::move(entries);
        } catch (const std::exception&) {
            // One unreadable list must not cost the others.
        }
    }
    m_storage.abandon(); // nothing was changed
    m_lists.equalize();
    m_restoredOnce = true;
}

void ConnectionStore::save() {
    if (active && !m_restoredOnce)
        return;
    m_storage.open();
    try {
        for (auto [name, list] : storedLists(m_lists)) {
            std::string section = sectionOf(name);
            m_storage.eraseSection(section);
            if (list->empty())
                continue;
            m_storage.writeString(section, "Count", std::to_string(list->size()));
            for (std::size_t i = 0; i < list->size(); ++i)
                m_storage.writeString(section, itemKey(i), (*list)[i]);
        }
    } catch (...) {
        m_storage.abandon();
        throw;
    }
    m_storage.close();
    m_savedSinceRestore = true;
}

void ConnectionStore::afterFormCreate() {
    if (active)
        restore();
}

void ConnectionStore::afterFormCloseQuery(bool canClose) {
    if (canClose && active)
        saveReportingFailure();
}

void ConnectionStore::beforeFormDestroy() {
    if (active && !m_savedSinceRestore)
        saveReportingFailure();
}

void ConnectionStore::saveReportingFailure() {
    try {
        save();
    } catch (const IniWriteError& error) {
        app::ShowException(error);
    } catch (const IniReadError& error) {
        app::ShowException(error);
    }
}

} // namespace connections
