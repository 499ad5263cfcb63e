#pragma once

#include "platform/com/Guid.h"

#include <atomic>
#include <memory>
#include <vector>

class TEditBandFactory;

enum class RegistrationDirection { Register, Unregister };

// The module's one server object: it counts live objects and factory
// references, which decide whether the module may be unloaded, and holds the
// class factories.
class ComServer {
public:
    static ComServer& instance();

    void objectCreated() { ++m_objectCount; }
    void objectDestroyed() { --m_objectCount; }
    void factoryAddRef() { ++m_factoryCount; }
    void factoryRelease() { --m_factoryCount; }
    long objectCount() const { return m_objectCount; }
    long factoryCount() const { return m_factoryCount; }
    bool canUnload() const { return m_objectCount == 0 && m_factoryCount == 0; }

    // The factory serving the class, or nullptr.
    TEditBandFactory* factoryFor(REFCLSID clsid) const;
    const std::vector<TEditBandFactory*>& factories() const { return m_factories; }

    RegistrationDirection direction() const { return m_direction; }
    void setDirection(RegistrationDirection direction) { m_direction = direction; }

private:
    ComServer();
    ~ComServer();

    std::atomic<long> m_objectCount{0};
    std::atomic<long> m_factoryCount{0};
    std::vector<TEditBandFactory*> m_factories;
    RegistrationDirection m_direction = RegistrationDirection::Register;
};
