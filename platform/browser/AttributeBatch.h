#pragma once

// Several attributes of an element read in one call. An engine whose every
// call is a round trip into another process answers it on its elements;
// callers fall back to getAttribute when an element does not.

#include "platform/browser/Value.h"
#include "platform/com/Interfaces.h"

#include <string>
#include <vector>

struct IHTMLAttributeBatch : IUnknown {
    TAVRISK_DECLARE_IID(0x7A3C51E2, 0x4B1D, 0x4F0A, 0x9E, 0x21, 0x5D, 0x3B, 0x8C, 0x61, 0x0F, 0x44)
    // One value per name, as getAttribute(name, flags) answers it.
    virtual HRESULT getAttributes(const std::vector<std::string>& names, long flags,
                                  std::vector<browser::Value>* values) = 0;
};
