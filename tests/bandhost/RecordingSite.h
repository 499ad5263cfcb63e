#pragma once

#include "host/BarSite.h"

#include <memory>
#include <vector>

// The host's own bar site, recording the focus notifications a band sends.
struct RecordingSite {
    explicit RecordingSite(HWND window)
        : site(new host::BarSite(window, nullptr, [this](IUnknown* object, bool hasFocus) {
              lastFocusObject = object;
              focusChanges.push_back(hasFocus ? TRUE : FALSE);
          })) {}

    IUnknown* unknown() { return site->unknown(); }

    std::vector<BOOL> focusChanges;
    IUnknown* lastFocusObject = nullptr;
    ComPtr<host::BarSite> site;
};
