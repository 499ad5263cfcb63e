#pragma once

#include "connections/IniFileStore.h"
#include "connections/SiteConnection.h"

#include <cstddef>
#include <string>

namespace connections {

// The saved connections and the state object that keeps them in the INI
// file. Each list has a section "Tavrisk.<list>.Strings" holding "Count"
// and the keys "Item0" ... in index order; an empty list has no section.
// The wizard form owns one and calls the three form hooks from its create,
// close-query and destroy events.
class ConnectionStore {
public:
    explicit ConnectionStore(std::filesystem::path iniFileName = "tavrisk.ini");

    ConnectionLists& lists() { return m_lists; }
    const ConnectionLists& lists() const { return m_lists; }
    IniFileStore& storage() { return m_storage; }

    // Reads every list from the file. A list whose section is missing or
    // whose Count is not a positive number keeps its content; read errors
    // leave the lists as they are.
    void restore();
    // Writes every list to the file. Does nothing while active and never
    // restored, so a set that was never loaded cannot overwrite the file.
    // Throws IniWriteError when the file cannot be written.
    void save();

    bool active = true;
    bool restoredOnce() const { return m_restoredOnce; }
    bool savedSinceRestore() const { return m_savedSinceRestore; }

    // The form hooks. A failed save in a close or destroy hook is shown to
    // the user, since no handler of the form's own is there to stop.
    void afterFormCreate();
    void afterFormCloseQuery(bool canClose);
    void beforeFormDestroy();

    // A hand-edited Count beyond this is read as this many entries.
    static constexpr std::size_t kMaxEntries = 100000;

private:
    void saveReportingFailure();

    ConnectionLists m_lists;
    IniFileStore m_storage;
    bool m_restoredOnce = false;
    bool m_savedSinceRestore = false;
};

} // namespace connections
