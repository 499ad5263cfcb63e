#pragma once

#include "HResult.h"

// A window handle is the toolkit's widget (or, without a display, a headless
// window object) behind an opaque pointer.
struct HWND__;
using HWND = HWND__*;

struct POINT {
    int32_t x = 0;
    int32_t y = 0;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};

inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_PARENTNOTIFY = 0x0210;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
