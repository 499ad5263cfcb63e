#pragma once

#include "Unknown.h"

#include <atomic>

namespace com {

// Reference counting and QueryInterface for an object that implements the
// listed interfaces. An interface answers its own IID and, for the first
// one, IUnknown's. Objects start with a count of zero, as COM class factories
// expect, and delete themselves when the count returns to zero.
template <typename First, typename... Rest> class ComObject : public First, public Rest... {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == iidOf<IUnknown>())
            *ppv = static_cast<IUnknown*>(static_cast<First*>(this));
        else
            *ppv = findInterface(riid);
        if (!*ppv)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refCount; }
    ULONG Release() override {
        ULONG count = --m_refCount;
        if (count == 0)
            delete this;
        return count;
    }

    ULONG refCount() const { return m_refCount; }
    // The object's identity, the IUnknown that QueryInterface answers.
    IUnknown* unknown() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    virtual ~ComObject() = default;

    // Derived classes may answer more IIDs (a base interface, say).
    virtual void* findInterface(REFIID riid) {
        void* found =
            riid == iidOf<First>() ? static_cast<void*>(static_cast<First*>(this)) : nullptr;
        ((found = found ? found
                        : (riid == iidOf<Rest>() ? static_cast<void*>(static_cast<Rest*>(this))
                                                 : nullptr)),
         ...);
        return found;
    }

private:
    std::atomic<ULONG> m_refCount{0};
};

} // namespace com
