#include "EditBand.h"

#include "ComServer.h"
#include "EditBandIds.h"
#include "platform/browser/WebBrowser.h"
#include "platform/window/Application.h"
#include "shell/BandForm.h"
#include "shell/ProcessForms.h"

#include <exception>
#include <vector>

namespace {

// Forms whose band went away without closing them. They stay, as the host
// may still show them, and keep the module loaded while they live. Made by
// the first such form only: asking whether there is one must not allocate
// what an unload would then lose.
std::vector<std::unique_ptr<TBandForm>>*& orphanedFormsHolder() {
    static std::vector<std::unique_ptr<TBandForm>>* forms = nullptr;
    return forms;
}

std::vector<std::unique_ptr<TBandForm>>& orphanedForms() {
    auto*& forms = orphanedFormsHolder();
    if (!forms)
        forms = new std::vector<std::unique_ptr<TBandForm>>;
    return *forms;
}

constexpr WPARAM kTabKey = 9;
constexpr WPARAM kDeleteKey = 46;

} // namespace

bool bandFormsOrphaned() {
    const auto* forms = orphanedFormsHolder();
    return forms && !forms->empty();
}

TEditBand::TEditBand(ComServer& server) : m_server(server) {
    m_server.objectCreated();
}

TEditBand::~TEditBand() {
    unhookFormWindow();
    if (FBandForm)
        orphanedForms().push_back(std::move(FBandForm));
    m_server.objectDestroyed();
}

void* TEditBand::findInterface(REFIID riid) {
    // IPersist shares IPersistStreamInit's implementation; IOleWindow and
    // IDockingWindow are only reached through IDeskBand.
    if (riid == iidOf<IPersist>())
        return static_cast<IPersist*>(static_cast<IPersistStreamInit*>(this));
    return ComObject::findInterface(riid);
}

HRESULT TEditBand::SetSite(IUnknown* site) {
    if (!site)
        return S_OK;
    ComPtr<IUnknown> held(site);
    FSite = held.query<IInputObjectSite>();
    if (auto window = held.query<IOleWindow>())
        window->GetWindow(&FParentWnd);
    FCommandTarget = held.query<IOleCommandTarget>();
    FBrowser = nullptr;
    if (auto provider = FCommandTarget.query<IServiceProvider>())
        provider->QueryService(SID_SWebBrowserApp, iidOf<IWebBrowser2>(), FBrowser.putVoid());
    return S_OK;
}

HRESULT TEditBand::GetSite(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (FSite)
        return FSite->QueryInterface(riid, ppv);
    *ppv = nullptr;
    return E_FAIL;
}

HRESULT TEditBand::GetWindow(HWND* phwnd) {
    if (!phwnd)
        return E_POINTER;
    try {
        bool created = false;
        if (!FBandForm) {
            FBandForm = std::make_unique<TBandForm>(FParentWnd);
            FBandForm->setBrowser(FBrowser);
            created = true;
        }
        *phwnd = FBandForm->Handle();
        if (created)
            hookFormWindow();
        return S_OK;
    } catch (const std::exception&) {
        *phwnd = nullptr;
        return E_FAIL;
    }
}

void TEditBand::hookFormWindow() {
    HWND form = FBandForm->Handle();
    FSavedWndProc = win::SetWindowProc(
        form, [this](HWND h, UINT m, WPARAM w, LPARAM l) { return hookProcedure(h, m, w, l); });
    m_hooked = true;
}

void TEditBand::unhookFormWindow() {
    if (m_hooked && FBandForm)
        win::SetWindowProc(FBandForm->Handle(), FSavedWndProc);
    m_hooked = false;
}

LRESULT TEditBand::hookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PARENTNOTIFY) {
        FHasFocus = true;
        FocusChange(true);
    }
    return FSavedWndProc ? FSavedWndProc(window, message, wParam, lParam) : 0;
}

HRESULT TEditBand::ContextSensitiveHelp(BOOL) {
    return E_NOTIMPL;
}

HRESULT TEditBand::ShowDW(BOOL show) {
    FHasFocus = show != FALSE;
    FocusChange(FHasFocus);
    return S_OK;
}

HRESULT TEditBand::CloseDW(DWORD) {
    try {
        ShowDW(TRUE);
        unhookFormWindow();
        FBandForm.reset();
        shell::destroyProcessForms();
        app::Terminate();
        return S_OK;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

HRESULT TEditBand::ResizeBorderDW(const void*, IUnknown*, BOOL) {
    return E_NOTIMPL;
}

HRESULT TEditBand::GetBandInfo(DWORD bandID, DWORD, DESKBANDINFO* info) {
    if (!info)
        return E_POINTER;
    FBandID = bandID;
    // Before the first GetWindow the form does not exist yet: report the size
    // it will have.
    win::Size size = FBandForm ? win::GetClientSize(FBandForm->Handle()) : TBandForm::designSize();
    if (info->dwMask & DBIM_MINSIZE)
        info->ptMinSize = {0, size.height};
    if (info->dwMask & DBIM_MAXSIZE)
        info->ptMaxSize = {-1, -1};
    if (info->dwMask & DBIM_INTEGRAL)
        info->ptIntegral = {1, 1};
    if (info->dwMask & DBIM_ACTUAL)
        info->ptActual = {size.width, size.height};
    if (info->dwMask & DBIM_TITLE) {
        constexpr size_t kLimit = 16;
        const std::u16string title = u"Tavrisk";
        size_t length = std::min(title.size(), kLimit - 1);
        title.copy(info->wszTitle, length);
        info->wszTitle[length] = u'\0';
    }
    if (info->dwMask & DBIM_MODEFLAGS)
        info->dwModeFlags = DBIMF_NORMAL;
    // No background colour of our own: the host paints its default.
    info->dwMask &= ~DBIM_BKCOLOR;
    return S_OK;
}

HRESULT TEditBand::UIActivateIO(BOOL activate, MSG*) {
    FHasFocus = activate != FALSE;
    if (FHasFocus && FBandForm)
        win::SetFocus(FBandForm->Handle());
    return S_OK;
}

HRESULT TEditBand::HasFocusIO() {
    return FHasFocus ? S_OK : S_FALSE;
}

HRESULT TEditBand::TranslateAcceleratorIO(MSG* msg) {
    if (!msg)
        return E_POINTER;
    // Tab and Delete stay with the host, which moves the focus or edits.
    if (msg->wParam == kTabKey || msg->wParam == kDeleteKey)
        return S_FALSE;
    win::TranslateMessage(*msg);
    win::DispatchMessage(*msg);
    return S_OK;
}

HRESULT TEditBand::QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) {
    return S_OK;
}

HRESULT TEditBand::InvokeCommand(CMINVOKECOMMANDINFO*) {
    return E_FAIL;
}

HRESULT TEditBand::GetCommandString(uintptr_t, UINT, UINT*, char*, UINT) {
    return S_OK;
}

HRESULT TEditBand::GetClassID(CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    *clsid = CLSID_EditBand;
    return S_OK;
}

HRESULT TEditBand::IsDirty() {
    return S_FALSE;
}
HRESULT TEditBand::Load(IStream*) {
    return S_OK;
}
HRESULT TEditBand::Save(IStream*, BOOL) {
    return S_OK;
}
HRESULT TEditBand::GetSizeMax(uint64_t*) {
    return E_NOTIMPL;
}
HRESULT TEditBand::InitNew() {
    return E_NOTIMPL;
}

HRESULT TEditBand::InterfaceSupportsErrorInfo(REFIID riid) {
    for (const IID& iid : {iidOf<IInputObject>(), iidOf<IContextMenu>(), iidOf<IObjectWithSite>(),
                           iidOf<IPersistStreamInit>(), iidOf<IPersist>(), iidOf<IDeskBand>()})
        if (riid == iid)
            return S_OK;
    return S_FALSE;
}

void TEditBand::FocusChange(bool hasFocus) {
    if (FSite)
        FSite->OnFocusChangeIS(unknown(), hasFocus ? TRUE : FALSE);
}
