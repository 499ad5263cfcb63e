#pragma once

#include "platform/com/ComObject.h"
#include "platform/com/Interfaces.h"
#include "platform/window/Windows.h"

#include <memory>

struct IWebBrowser2;
class ComServer;
class TBandForm;

// The bar object a host creates: it takes its site and the browser from the
// host, creates the band form on the first GetWindow, reports its size and
// title, and follows the keyboard focus.
class TEditBand final : public com::ComObject<IInputObject, IContextMenu, IObjectWithSite,
                                              IPersistStreamInit, IDeskBand, ISupportErrorInfo> {
public:
    explicit TEditBand(ComServer& server);

    // IObjectWithSite
    HRESULT SetSite(IUnknown* site) override;
    HRESULT GetSite(REFIID riid, void** ppv) override;

    // IDeskBand with its IOleWindow and IDockingWindow parts
    HRESULT GetWindow(HWND* phwnd) override;
    HRESULT ContextSensitiveHelp(BOOL enterMode) override;
    HRESULT ShowDW(BOOL show) override;
    HRESULT CloseDW(DWORD reserved) override;
    HRESULT ResizeBorderDW(const void* border, IUnknown* toolbarSite, BOOL reserved) override;
    HRESULT GetBandInfo(DWORD bandID, DWORD viewMode, DESKBANDINFO* info) override;

    // IInputObject
    HRESULT UIActivateIO(BOOL activate, MSG* msg) override;
    HRESULT HasFocusIO() override;
    HRESULT TranslateAcceleratorIO(MSG* msg) override;

    // IContextMenu
    HRESULT QueryContextMenu(HMENU menu, UINT index, UINT firstCmd, UINT lastCmd,
                             UINT flags) override;
    HRESULT InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT GetCommandString(uintptr_t cmd, UINT type, UINT* reserved, char* name,
                             UINT size) override;

    // IPersistStreamInit and IPersist
    HRESULT GetClassID(CLSID* clsid) override;
    HRESULT IsDirty() override;
    HRESULT Load(IStream* stream) override;
    HRESULT Save(IStream* stream, BOOL clearDirty) override;
    HRESULT GetSizeMax(uint64_t* size) override;
    HRESULT InitNew() override;

    // ISupportErrorInfo
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override;

    TBandForm* bandForm() const { return FBandForm.get(); }

protected:
    ~TEditBand() override;
    void* findInterface(REFIID riid) override;

private:
    void FocusChange(bool hasFocus);
    void hookFormWindow();
    void unhookFormWindow();
    LRESULT hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    ComServer& m_server;
    bool FHasFocus = false;
    DWORD FBandID = 0;
    win::WndProc FSavedWndProc;
    HWND FParentWnd = nullptr;
    ComPtr<IInputObjectSite> FSite;
    ComPtr<IOleCommandTarget> FCommandTarget;
    ComPtr<IWebBrowser2> FBrowser;
    std::unique_ptr<TBandForm> FBandForm;
    // Whether this band's hook is still the form window's procedure.
    bool m_hooked = false;
};
