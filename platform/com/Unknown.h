#pragma once

#include "Guid.h"
#include "HResult.h"

#include <utility>

// The interface identifiers are the real ones, so that a GUID read from the
// registry or passed by a host means the same thing as on Windows.
#define TAVRISK_DECLARE_IID(d1, d2, d3, b0, b1, b2, b3, b4, b5, b6, b7)                            \
    static constexpr IID iid() {                                                                   \
        return IID{d1, d2, d3, {b0, b1, b2, b3, b4, b5, b6, b7}};                                  \
    }

struct IUnknown {
    TAVRISK_DECLARE_IID(0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT QueryInterface(REFIID riid, void** ppv) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

template <typename T> constexpr IID iidOf() {
    return T::iid();
}

// Holds one reference; the usual COM smart pointer.
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : m_ptr(p) {
        if (m_ptr)
            m_ptr->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.m_ptr) {}
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr copy(other);
        swap(copy);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr moved(std::move(other));
        swap(moved);
        return *this;
    }
    ComPtr& operator=(std::nullptr_t) {
        reset();
        return *this;
    }

    // Takes over a reference that the caller already owns.
    static ComPtr adopt(T* p) {
        ComPtr result;
        result.m_ptr = p;
        return result;
    }

    void reset() {
        if (T* old = std::exchange(m_ptr, nullptr))
            old->Release();
    }
    T* detach() { return std::exchange(m_ptr, nullptr); }
    void swap(ComPtr& other) noexcept { std::swap(m_ptr, other.m_ptr); }

    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

    // For out-parameters: releases what is held and exposes the slot.
    T** put() {
        reset();
        return &m_ptr;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    template <typename U> ComPtr<U> query() const {
        ComPtr<U> result;
        if (m_ptr)
            m_ptr->QueryInterface(iidOf<U>(), result.putVoid());
        return result;
    }

private:
    T* m_ptr = nullptr;
};

template <typename T, typename U> bool operator==(const ComPtr<T>& a, const ComPtr<U>& b) {
    return a.get() == b.get();
}
