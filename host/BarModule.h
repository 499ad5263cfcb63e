#pragma once

#include "platform/com/Interfaces.h"

#include <string>

namespace host {

// A loaded bar module and its four exports.
class BarModule {
public:
    // Loads the module; raises an error naming it when it cannot.
    explicit BarModule(const std::string& path);
    ~BarModule();
    BarModule(const BarModule&) = delete;
    BarModule& operator=(const BarModule&) = delete;

    const std::string& path() const { return m_path; }

    HRESULT getClassObject(REFCLSID clsid, REFIID riid, void** ppv) const;
    HRESULT canUnloadNow() const;
    HRESULT registerServer() const;
    HRESULT unregisterServer() const;

    // Asks the module whether it can go, and unloads it if so. Answers
    // whether the module was unloaded.
    bool unloadIfPossible();
    bool loaded() const { return m_handle != nullptr; }

private:
    template <typename F> F entry(const char* name) const;

    std::string m_path;
    void* m_handle = nullptr;
};

// "0x00000000 (S_OK)" and the like.
std::string describeResult(HRESULT result);

} // namespace host
