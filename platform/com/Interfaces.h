#pragma once

// The shell and OLE interfaces through which a host browser and a bar talk,
// with their real identifiers and in slot order.

#include "Unknown.h"
#include "Window.h"

using WCHAR = char16_t;
using COLORREF = DWORD;
using LCID = DWORD;
using DISPID = int32_t;
using WORD = uint16_t;

struct VARIANT;
struct DISPPARAMS;
struct EXCEPINFO;
struct IStream;
struct ITypeInfo;
struct HMENU__;
using HMENU = HMENU__*;

struct IClassFactory : IUnknown {
    TAVRISK_DECLARE_IID(0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) = 0;
    virtual HRESULT LockServer(BOOL lock) = 0;
};

struct IOleWindow : IUnknown {
    TAVRISK_DECLARE_IID(0x00000114, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT GetWindow(HWND* phwnd) = 0;
    virtual HRESULT ContextSensitiveHelp(BOOL enterMode) = 0;
};

struct IDockingWindow : IOleWindow {
    TAVRISK_DECLARE_IID(0x012DD920, 0x7B26, 0x11D0, 0x8C, 0xA9, 0x00, 0xA0, 0xC9, 0x2D, 0xBF, 0xE8)
    virtual HRESULT ShowDW(BOOL show) = 0;
    virtual HRESULT CloseDW(DWORD reserved) = 0;
    virtual HRESULT ResizeBorderDW(const void* border, IUnknown* toolbarSite, BOOL reserved) = 0;
};

inline constexpr DWORD DBIM_MINSIZE = 0x0001;
inline constexpr DWORD DBIM_MAXSIZE = 0x0002;
inline constexpr DWORD DBIM_INTEGRAL = 0x0004;
inline constexpr DWORD DBIM_ACTUAL = 0x0008;
inline constexpr DWORD DBIM_TITLE = 0x0010;
inline constexpr DWORD DBIM_MODEFLAGS = 0x0020;
inline constexpr DWORD DBIM_BKCOLOR = 0x0040;
inline constexpr DWORD DBIMF_NORMAL = 0x0000;

struct DESKBANDINFO {
    DWORD dwMask = 0;
    POINT ptMinSize;
    POINT ptMaxSize;
    POINT ptIntegral;
    POINT ptActual;
    WCHAR wszTitle[256] = {};
    DWORD dwModeFlags = 0;
    COLORREF crBkgnd = 0;
};

struct IDeskBand : IDockingWindow {
    TAVRISK_DECLARE_IID(0xEB0FE172, 0x1A3A, 0x11D0, 0x89, 0xB3, 0x00, 0xA0, 0xC9, 0x0A, 0x90, 0xAC)
    virtual HRESULT GetBandInfo(DWORD bandID, DWORD viewMode, DESKBANDINFO* info) = 0;
};

struct IObjectWithSite : IUnknown {
    TAVRISK_DECLARE_IID(0xFC4801A3, 0x2BA9, 0x11CF, 0xA2, 0x29, 0x00, 0xAA, 0x00, 0x3D, 0x73, 0x52)
    virtual HRESULT SetSite(IUnknown* site) = 0;
    virtual HRESULT GetSite(REFIID riid, void** ppv) = 0;
};

struct IInputObject : IUnknown {
    TAVRISK_DECLARE_IID(0x68284FAA, 0x6A48, 0x11D0, 0x8C, 0x78, 0x00, 0xC0, 0x4F, 0xD9, 0x18, 0xB4)
    virtual HRESULT UIActivateIO(BOOL activate, MSG* msg) = 0;
    virtual HRESULT HasFocusIO() = 0;
    virtual HRESULT TranslateAcceleratorIO(MSG* msg) = 0;
};

struct IInputObjectSite : IUnknown {
    TAVRISK_DECLARE_IID(0xF1DB8392, 0x7331, 0x11D0, 0x8C, 0x99, 0x00, 0xA0, 0xC9, 0x2D, 0xBF, 0xE8)
    virtual HRESULT OnFocusChangeIS(IUnknown* object, BOOL hasFocus) = 0;
};

struct OLECMD {
    ULONG cmdID = 0;
    DWORD cmdf = 0;
};

struct IOleCommandTarget : IUnknown {
    TAVRISK_DECLARE_IID(0xB722BCCB, 0x4E68, 0x101B, 0xA2, 0xBC, 0x00, 0xAA, 0x00, 0x40, 0x47, 0x70)
    virtual HRESULT QueryStatus(const GUID* cmdGroup, ULONG count, OLECMD* cmds, void* cmdText) = 0;
    virtual HRESULT Exec(const GUID* cmdGroup, DWORD cmdID, DWORD cmdExecOpt, VARIANT* in,
                         VARIANT* out) = 0;
};

struct IServiceProvider : IUnknown {
    TAVRISK_DECLARE_IID(0x6D5140C1, 0x7436, 0x11CE, 0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA)
    virtual HRESULT QueryService(REFGUID service, REFIID riid, void** ppv) = 0;
};

struct CMINVOKECOMMANDINFO {
    DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
    DWORD fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr; // a command number when below 0x10000
    const char* lpParameters = nullptr;
    const char* lpDirectory = nullptr;
    int nShow = 0;
};

struct IContextMenu : IUnknown {
    TAVRISK_DECLARE_IID(0x000214E4, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCmd, UINT lastCmd,
                                     UINT flags) = 0;
    virtual HRESULT InvokeCommand(CMINVOKECOMMANDINFO* info) = 0;
    virtual HRESULT GetCommandString(uintptr_t cmd, UINT type, UINT* reserved, char* name,
                                     UINT size) = 0;
};

struct IPersist : IUnknown {
    TAVRISK_DECLARE_IID(0x0000010C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT GetClassID(CLSID* clsid) = 0;
};

struct IPersistStreamInit : IPersist {
    TAVRISK_DECLARE_IID(0x7FD52380, 0x4E07, 0x101B, 0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13)
    virtual HRESULT IsDirty() = 0;
    virtual HRESULT Load(IStream* stream) = 0;
    virtual HRESULT Save(IStream* stream, BOOL clearDirty) = 0;
    virtual HRESULT GetSizeMax(uint64_t* size) = 0;
    virtual HRESULT InitNew() = 0;
};

struct ISupportErrorInfo : IUnknown {
    TAVRISK_DECLARE_IID(0xDF0B3D60, 0x548F, 0x101B, 0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19)
    virtual HRESULT InterfaceSupportsErrorInfo(REFIID riid) = 0;
};

struct IDispatch : IUnknown {
    TAVRISK_DECLARE_IID(0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
    virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
    virtual HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) = 0;
    virtual HRESULT GetIDsOfNames(REFIID riid, const WCHAR** names, UINT count, LCID lcid,
                                  DISPID* ids) = 0;
    virtual HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* exception, UINT* argError) = 0;
};

// Service identifier under which a bar's site hands out the browser object.
inline constexpr GUID SID_SWebBrowserApp{
    0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Component categories of browser bars.
inline constexpr GUID CATID_InfoBand{
    0x00021493, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr GUID CATID_CommBand{
    0x00021494, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
