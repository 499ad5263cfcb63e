#include "bandhost/EditBand.h"
#include "RecordingSite.h"
#include "bandhost/ComServer.h"
#include "bandhost/EditBandFactory.h"
#include "bandhost/EditBandIds.h"
#include "platform/browser/WebBrowser.h"
#include "platform/window/Windows.h"
#include "shell/BandForm.h"

#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace {

// Band forms write their pages and settings as they start.
const auto* const kHome = ::testing::AddGlobalTestEnvironment(new TempHomeEnvironment);

ComPtr<IDeskBand> createBand() {
    ComPtr<IDeskBand> band;
    TEditBandFactory* factory = ComServer::instance().factoryFor(CLSID_EditBand);
    EXPECT_EQ(factory->CreateInstance(nullptr, iidOf<IDeskBand>(), band.putVoid()), S_OK);
    return band;
}

class BandTest : public ::testing::Test {
protected:
    void SetUp() override {
        barArea = win::CreateWindowObject({"ReBarWindow32", "", nullptr, 1024, 200});
        site = std::make_unique<RecordingSite>(barArea);
        band = createBand();
        band.query<IObjectWithSite>()->SetSite(site->unknown());
    }
    void TearDown() override {
        band->CloseDW(0);
        band = nullptr;
        win::DestroyWindow(barArea);
        win::TakeQuitRequest();
    }

    HWND barArea = nullptr;
    std::unique_ptr<RecordingSite> site;
    ComPtr<IDeskBand> band;
};

} // namespace

TEST(EditBandFactory, CreateInstanceChecksItsArgumentsAndCountsObjects) {
    TEditBandFactory* factory = ComServer::instance().factoryFor(CLSID_EditBand);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, iidOf<IUnknown>(), nullptr), E_POINTER);

    void* out = reinterpret_cast<void*>(1);
    ComPtr<IUnknown> outer(static_cast<IClassFactory*>(factory));
    EXPECT_EQ(factory->CreateInstance(outer.get(), iidOf<IDeskBand>(), &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr);

    long before = ComServer::instance().objectCount();
    // An interface the band lacks: the new object is freed at once.
    EXPECT_EQ(factory->CreateInstance(nullptr, iidOf<IClassFactory>(), &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(ComServer::instance().objectCount(), before);
    {
        ComPtr<IDeskBand> band = createBand();
        EXPECT_EQ(ComServer::instance().objectCount(), before + 1);
    }
    EXPECT_EQ(ComServer::instance().objectCount(), before);
}

TEST(EditBandFactory, LockServerHoldsTheModule) {
    TEditBandFactory* factory = ComServer::instance().factoryFor(CLSID_EditBand);
    ASSERT_TRUE(ComServer::instance().canUnload());
    factory->LockServer(TRUE);
    EXPECT_FALSE(ComServer::instance().canUnload());
    factory->LockServer(FALSE);
    EXPECT_TRUE(ComServer::instance().canUnload());
    factory->AddRef();
    EXPECT_FALSE(ComServer::instance().canUnload());
    factory->Release();
    EXPECT_TRUE(ComServer::instance().canUnload());
}

TEST(EditBand, AnswersItsInterfacesOnly) {
    ComPtr<IDeskBand> band = createBand();
    struct Case {
        IID iid;
        bool answered;
    };
    for (const Case& c : {Case{iidOf<IInputObject>(), true}, Case{iidOf<IContextMenu>(), true},
                          Case{iidOf<IObjectWithSite>(), true},
                          Case{iidOf<IPersistStreamInit>(), true}, Case{iidOf<IPersist>(), true},
                          Case{iidOf<IDeskBand>(), true}, Case{iidOf<ISupportErrorInfo>(), true},
                          Case{iidOf<IUnknown>(), true}, Case{iidOf<IOleWindow>(), false},
                          Case{iidOf<IDockingWindow>(), false}, Case{iidOf<IDispatch>(), false}}) {
        ComPtr<IUnknown> answer;
        EXPECT_EQ(band->QueryInterface(c.iid, answer.putVoid()) == S_OK, c.answered)
            << com::guidToString(c.iid);
    }
    auto errors = band.query<ISupportErrorInfo>();
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(iidOf<IDeskBand>()), S_OK);
    EXPECT_EQ(errors->InterfaceSupportsErrorInfo(iidOf<IDispatch>()), S_FALSE);
}

TEST(EditBand, PersistsNothingAndOffersNoCommands) {
    ComPtr<IDeskBand> band = createBand();
    auto persist = band.query<IPersistStreamInit>();
    CLSID clsid;
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_EditBand);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);
    EXPECT_EQ(persist->Load(nullptr), S_OK);
    EXPECT_EQ(persist->Save(nullptr, TRUE), S_OK);
    EXPECT_EQ(persist->GetSizeMax(nullptr), E_NOTIMPL);
    EXPECT_EQ(persist->InitNew(), E_NOTIMPL);
    auto menu = band.query<IContextMenu>();
    EXPECT_EQ(menu->QueryContextMenu(nullptr, 0, 1, 10, 0), S_OK);
    CMINVOKECOMMANDINFO command;
    EXPECT_EQ(menu->InvokeCommand(&command), E_FAIL);
    command.lpVerb = "open";
    EXPECT_EQ(menu->InvokeCommand(&command), E_FAIL);
    EXPECT_EQ(band->ContextSensitiveHelp(TRUE), E_NOTIMPL);
    EXPECT_EQ(band->ResizeBorderDW(nullptr, nullptr, FALSE), E_NOTIMPL);
}

TEST(EditBand, GetSiteAnswersOnlyAfterASite) {
    ComPtr<IDeskBand> band = createBand();
    auto withSite = band.query<IObjectWithSite>();
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(withSite->GetSite(iidOf<IInputObjectSite>(), &out), E_FAIL);
    EXPECT_EQ(out, nullptr);

    HWND area = win::CreateWindowObject({"ReBarWindow32", "", nullptr, 10, 10});
    auto site = std::make_unique<RecordingSite>(area);
    EXPECT_EQ(withSite->SetSite(site->unknown()), S_OK);
    ComPtr<IOleWindow> window;
    EXPECT_EQ(withSite->GetSite(iidOf<IOleWindow>(), window.putVoid()), S_OK);
    EXPECT_EQ(static_cast<IUnknown*>(window.get()),
              static_cast<IUnknown*>(static_cast<IOleWindow*>(site->site.get())));
    EXPECT_EQ(withSite->GetSite(iidOf<IDispatch>(), &out), E_NOINTERFACE);

    // A null site keeps everything.
    EXPECT_EQ(withSite->SetSite(nullptr), S_OK);
    ComPtr<IInputObjectSite> still;
    EXPECT_EQ(withSite->GetSite(iidOf<IInputObjectSite>(), still.putVoid()), S_OK);
    band = nullptr;
    withSite = nullptr;
    win::DestroyWindow(area);
}

namespace {
struct MaskCase {
    DWORD mask;
    DWORD maskAfter;
};
class BandInfoMasks : public ::testing::TestWithParam<MaskCase> {};
} // namespace

TEST_P(BandInfoMasks, OnlyMaskedMembersAreWritten) {
    ComPtr<IDeskBand> band = createBand();
    HWND form = nullptr;
    ASSERT_EQ(band->GetWindow(&form), S_OK);
    win::SetClientSize(form, {900, 180});

    const POINT untouched{-77, -77};
    DESKBANDINFO info;
    info.dwMask = GetParam().mask;
    info.ptMinSize = info.ptMaxSize = info.ptIntegral = info.ptActual = untouched;
    info.wszTitle[0] = u'x';
    info.dwModeFlags = 0x55;
    info.crBkgnd = 0x123456;
    EXPECT_EQ(band->GetBandInfo(3, 0, &info), S_OK);

    auto expectPoint = [&](DWORD bit, POINT actual, POINT expected) {
        POINT want = (GetParam().mask & bit) ? expected : untouched;
        EXPECT_EQ(actual.x, want.x) << "bit " << bit;
        EXPECT_EQ(actual.y, want.y) << "bit " << bit;
    };
    expectPoint(DBIM_MINSIZE, info.ptMinSize, {0, 180});
    expectPoint(DBIM_MAXSIZE, info.ptMaxSize, {-1, -1});
    expectPoint(DBIM_INTEGRAL, info.ptIntegral, {1, 1});
    expectPoint(DBIM_ACTUAL, info.ptActual, {900, 180});
    EXPECT_EQ(std::u16string(info.wszTitle), (GetParam().mask & DBIM_TITLE) ? u"Tavrisk" : u"x");
    EXPECT_EQ(info.dwModeFlags, (GetParam().mask & DBIM_MODEFLAGS) ? DBIMF_NORMAL : 0x55u);
    EXPECT_EQ(info.crBkgnd, 0x123456u);
    EXPECT_EQ(info.dwMask, GetParam().maskAfter);
    band->CloseDW(0);
    win::TakeQuitRequest();
}

INSTANTIATE_TEST_SUITE_P(
    Masks, BandInfoMasks,
    ::testing::Values(MaskCase{0, 0}, MaskCase{DBIM_TITLE, DBIM_TITLE}, MaskCase{DBIM_BKCOLOR, 0},
                      MaskCase{DBIM_MINSIZE | DBIM_ACTUAL, DBIM_MINSIZE | DBIM_ACTUAL},
                      MaskCase{DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_MODEFLAGS,
                               DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_MODEFLAGS},
                      MaskCase{0x7F, 0x3F}));

TEST(EditBand, BandInfoBeforeTheFormReportsTheDesignedSize) {
    ComPtr<IDeskBand> band = createBand();
    DESKBANDINFO info;
    info.dwMask = DBIM_ACTUAL;
    EXPECT_EQ(band->GetBandInfo(0, 0, &info), S_OK);
    EXPECT_EQ(info.ptActual.x, 1016);
    EXPECT_EQ(info.ptActual.y, 197);
}

// Hooked twice, one WM_PARENTNOTIFY would notify the site twice.
TEST_F(BandTest, GetWindowCreatesTheFormOnceAndHooksItOnce) {
    HWND first = nullptr, second = nullptr;
    ASSERT_EQ(band->GetWindow(&first), S_OK);
    ASSERT_EQ(band->GetWindow(&second), S_OK);
    EXPECT_EQ(first, second);
    EXPECT_EQ(win::GetParent(first), barArea);
    EXPECT_EQ(win::GetWindowText(first), "Tavrisk");
    EXPECT_EQ(win::GetClientSize(first).width, 1016);
    EXPECT_EQ(win::GetClientSize(first).height, 197);

    EXPECT_EQ(band.query<IInputObject>()->HasFocusIO(), S_FALSE);
    site->focusChanges.clear();
    win::SendMessage(first, WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
    EXPECT_EQ(site->focusChanges, std::vector<BOOL>{TRUE});
    EXPECT_EQ(site->lastFocusObject, static_cast<IUnknown*>(band.query<IUnknown>().get()));
    EXPECT_EQ(band.query<IInputObject>()->HasFocusIO(), S_OK);
}

TEST_F(BandTest, FocusFollowsActivationShowAndClose) {
    auto input = band.query<IInputObject>();
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);
    EXPECT_EQ(input->UIActivateIO(TRUE, nullptr), S_OK);
    EXPECT_EQ(input->HasFocusIO(), S_OK);
    EXPECT_TRUE(site->focusChanges.empty()); // activation does not notify
    EXPECT_EQ(band->ShowDW(FALSE), S_OK);
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);
    EXPECT_EQ(band->ShowDW(TRUE), S_OK);
    EXPECT_EQ(input->HasFocusIO(), S_OK);
    EXPECT_EQ(site->focusChanges, (std::vector<BOOL>{FALSE, TRUE}));
    input->UIActivateIO(FALSE, nullptr);
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);
}

TEST_F(BandTest, TabAndDeleteStayWithTheHostOtherKeysAreDispatched) {
    HWND form = nullptr;
    band->GetWindow(&form);
    std::vector<WPARAM> dispatched;
    win::WndProc saved = win::GetWindowProc(form);
    win::SetWindowProc(form, [&](HWND h, UINT m, WPARAM w, LPARAM l) {
        dispatched.push_back(w);
        return saved(h, m, w, l);
    });
    auto input = band.query<IInputObject>();
    struct Case {
        UINT message;
        WPARAM key;
        HRESULT result;
    };
    for (const Case& c :
         {Case{WM_KEYDOWN, 9, S_FALSE}, Case{WM_CHAR, 46, S_FALSE}, Case{WM_KEYUP, 9, S_FALSE},
          Case{WM_KEYDOWN, 65, S_OK}, Case{WM_CHAR, 13, S_OK}}) {
        MSG msg;
        msg.hwnd = form;
        msg.message = c.message;
        msg.wParam = c.key;
        EXPECT_EQ(input->TranslateAcceleratorIO(&msg), c.result) << c.key;
    }
    EXPECT_EQ(dispatched, (std::vector<WPARAM>{65, 13}));
    win::SetWindowProc(form, saved);
}

TEST_F(BandTest, CloseDestroysEveryFormAndAsksTheApplicationToEnd) {
    size_t windowsBefore = win::WindowCount();
    HWND form = nullptr;
    band->GetWindow(&form);
    // The band form's window, and the site wizard's own.
    EXPECT_EQ(win::WindowCount(), windowsBefore + 2);
    win::TakeQuitRequest();
    site->focusChanges.clear();
    EXPECT_EQ(band->CloseDW(0), S_OK);
    EXPECT_FALSE(win::IsWindow(form));
    EXPECT_EQ(win::WindowCount(), windowsBefore);
    EXPECT_EQ(site->focusChanges, std::vector<BOOL>{TRUE});
    EXPECT_EQ(band.query<IInputObject>()->HasFocusIO(), S_OK);
    EXPECT_TRUE(win::TakeQuitRequest());

    // A new band makes a new form.
    ComPtr<IDeskBand> another = createBand();
    another.query<IObjectWithSite>()->SetSite(site->unknown());
    HWND newForm = nullptr;
    EXPECT_EQ(another->GetWindow(&newForm), S_OK);
    EXPECT_TRUE(win::IsWindow(newForm));
    another->CloseDW(0);
}

TEST_F(BandTest, ClosingTheFormEndsTheHostDocumentWindowLoop) {
    HWND frame = win::CreateWindowObject({"IEFrame", "", nullptr, 10, 10});
    HWND view = win::CreateWindowObject({"Shell DocObject View", "", frame, 10, 10});
    win::CreateWindowObject({"Internet Explorer_Server", "", view, 10, 10});
    HWND form = nullptr;
    band->GetWindow(&form);
    win::TakeQuitRequest();
    { TBandForm standalone(barArea); }
    EXPECT_TRUE(win::TakeQuitRequest());
    win::DestroyWindow(frame);
    { TBandForm standalone(barArea); }
    EXPECT_FALSE(win::TakeQuitRequest());
}

TEST(EditBand, ABandReleasedWithoutCloseLeavesAWorkingForm) {
    HWND area = win::CreateWindowObject({"ReBarWindow32", "", nullptr, 10, 10});
    auto site = std::make_unique<RecordingSite>(area);
    HWND form = nullptr;
    {
        ComPtr<IDeskBand> band = createBand();
        band.query<IObjectWithSite>()->SetSite(site->unknown());
        band->GetWindow(&form);
    }
    ASSERT_TRUE(win::IsWindow(form));
    site->focusChanges.clear();
    // The hook of the freed band is gone: this must neither crash nor notify.
    win::SendMessage(form, WM_PARENTNOTIFY, WM_LBUTTONDOWN, 0);
    EXPECT_TRUE(site->focusChanges.empty());
}
