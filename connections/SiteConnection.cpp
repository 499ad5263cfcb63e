#include "SiteConnection.h"

#include <algorithm>

namespace connections {

SiteConnection ConnectionLists::at(std::size_t index) const {
    return {siteweb.at(index), ftpserver.at(index), ftplogin.at(index), ftppassword.at(index),
            ftpinitialfolder.at(index)};
}

void ConnectionLists::add(const SiteConnection& connection) {
    ftpserver.push_back(connection.ftpserver);
    ftppassword.push_back(connection.ftppassword);
    ftplogin.push_back(connection.ftplogin);
    ftpinitialfolder.push_back(connection.ftpinitialfolder);
    siteweb.push_back(connection.siteweb);
}

void ConnectionLists::set(std::size_t index, const SiteConnection& connection) {
    siteweb.at(index) = connection.siteweb;
    ftpserver.at(index) = connection.ftpserver;
    ftplogin.at(index) = connection.ftplogin;
    ftppassword.at(index) = connection.ftppassword;
    ftpinitialfolder.at(index) = connection.ftpinitialfolder;
}

void ConnectionLists::remove(std::size_t index) {
    at(index); // refuses an index that one of the lists does not have
    for (auto* list : {&ftpserver, &ftppassword, &ftplogin, &ftpinitialfolder, &siteweb})
        list->erase(list->begin() + static_cast<std::ptrdiff_t>(index));
}

void ConnectionLists::equalize() {
    auto lists = {&siteweb, &ftpserver, &ftplogin, &ftppassword, &ftpinitialfolder};
    std::size_t longest = 0;
    for (auto* list : lists)
        longest = std::max(longest, list->size());
    for (auto* list : lists)
        list->resize(longest);
}

} // namespace connections
