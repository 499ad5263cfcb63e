#pragma once

#include "platform/com/Interfaces.h"

#include <string>

class ComServer;

// The class factory of the band object. It lives as long as the module; its
// reference count only feeds the server's factory counter.
class TEditBandFactory final : public IClassFactory {
public:
    explicit TEditBandFactory(ComServer& server);

    REFCLSID classId() const;
    const char* description() const;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    HRESULT LockServer(BOOL lock) override;

private:
    ComServer& m_server;
};
