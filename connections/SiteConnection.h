#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace connections {

// One saved site connection: a web site root address and the FTP account
// it is published through.
struct SiteConnection {
    std::string siteweb;
    std::string ftpserver;
    std::string ftplogin;
    std::string ftppassword;
    std::string ftpinitialfolder;

    bool operator==(const SiteConnection&) const = default;
};

// The saved connections as the wizard holds them: connection i is entry i
// of each of the five parallel lists, which always have the same length.
// The sixth list, ports, is stored with the others but nothing fills it.
struct ConnectionLists {
    std::vector<std::string> siteweb;
    std::vector<std::string> ftpserver;
    std::vector<std::string> ftplogin;
    std::vector<std::string> ftppassword;
    std::vector<std::string> ftpinitialfolder;
    std::vector<std::string> ports;

    std::size_t count() const { return siteweb.size(); }
    SiteConnection at(std::size_t index) const;
    void add(const SiteConnection& connection);
    void set(std::size_t index, const SiteConnection& connection);
    void remove(std::size_t index);

    // Pads the shorter of the five lists with empty entries, so that every
    // index below count() is valid in all of them (a hand-edited file may
    // hold lists of unequal length).
    void equalize();

    bool operator==(const ConnectionLists&) const = default;
};

} // namespace connections
