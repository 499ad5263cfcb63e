#include "HostedBar.h"

#include <stdexcept>

namespace host {

namespace {
void check(HRESULT result, const std::string& what, const RegisteredBar& bar) {
    if (FAILED(result))
        throw std::runtime_error("The bar " + bar.caption + " (" + bar.modulePath +
                                 ") failed: " + what + " answered " + describeResult(result));
}
} // namespace

HostedBar::HostedBar(const RegisteredBar& bar, HWND barArea, IUnknown* browser,
                     BarSite::FocusHandler onFocus)
    : m_bar(bar), m_module(std::make_unique<BarModule>(bar.modulePath)) {
    ComPtr<IClassFactory> factory;
    check(m_module->getClassObject(bar.clsid, iidOf<IClassFactory>(), factory.putVoid()),
          "DllGetClassObject", bar);
    check(factory->CreateInstance(nullptr, iidOf<IDeskBand>(), m_band.putVoid()), "CreateInstance",
          bar);
    factory = nullptr;
    m_site = ComPtr<BarSite>(new BarSite(barArea, browser, std::move(onFocus)));
    if (auto withSite = m_band.query<IObjectWithSite>())
        check(withSite->SetSite(m_site->unknown()), "SetSite", bar);
    check(m_band->GetWindow(&m_window), "GetWindow", bar);
    DESKBANDINFO info;
    info.dwMask = DBIM_MINSIZE | DBIM_ACTUAL | DBIM_TITLE | DBIM_BKCOLOR;
    check(m_band->GetBandInfo(0, 0, &info), "GetBandInfo", bar);
    m_height = info.ptMinSize.y > 0 ? info.ptMinSize.y : info.ptActual.y;
}

HostedBar::~HostedBar() {
    close();
}

void HostedBar::show(bool visible) {
    if (m_band)
        m_band->ShowDW(visible ? TRUE : FALSE);
}

void HostedBar::activate(bool active) {
    if (auto input = m_band.query<IInputObject>())
        input->UIActivateIO(active ? TRUE : FALSE, nullptr);
}

bool HostedBar::hasFocus() const {
    auto input = m_band.query<IInputObject>();
    return input && input->HasFocusIO() == S_OK;
}

HRESULT HostedBar::translateKey(MSG& message) {
    auto input = m_band.query<IInputObject>();
    return input ? input->TranslateAcceleratorIO(&message) : S_FALSE;
}

HRESULT HostedBar::close() {
    if (!m_band)
        return S_OK;
    HRESULT result = m_band->CloseDW(0);
    m_band = nullptr;
    m_site = nullptr;
    m_window = nullptr;
    unloadIfPossible();
    return result;
}

void HostedBar::unloadIfPossible() {
    if (m_module && !m_band)
        m_module->unloadIfPossible();
}

} // namespace host
