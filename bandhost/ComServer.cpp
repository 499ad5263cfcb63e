#include "ComServer.h"

#include "EditBandFactory.h"

ComServer& ComServer::instance() {
    static ComServer server;
    return server;
}

ComServer::ComServer() {
    m_factories.push_back(new TEditBandFactory(*this));
}

ComServer::~ComServer() {
    for (TEditBandFactory* factory : m_factories)
        delete factory;
}

TEditBandFactory* ComServer::factoryFor(REFCLSID clsid) const {
    for (TEditBandFactory* factory : m_factories)
        if (factory->classId() == clsid)
            return factory;
    return nullptr;
}
