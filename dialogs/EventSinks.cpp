#include "dialogs/EventSinks.h"

#include <exception>

namespace dialogs {

namespace {

template <typename F> HRESULT guarded(F&& f) {
    try {
        f();
        return S_OK;
    } catch (const std::exception&) {
        return E_FAIL;
    }
}

std::string text(const char* s) {
    return s ? s : "";
}

} // namespace

HRESULT DocumentClickSink::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
    return guarded([&] {
        if (onInvoke)
            onInvoke();
    });
}

HRESULT NavigationSink::BeforeNavigate2(const char* url, const char* targetFrame, BOOL*) {
    return guarded([&] {
        if (beforeNavigate)
            beforeNavigate(text(url), text(targetFrame).empty());
    });
}

HRESULT NavigationSink::DocumentComplete(const char* url, BOOL isTopLevel) {
    return guarded([&] {
        if (documentComplete)
            documentComplete(text(url), isTopLevel != FALSE);
    });
}

HRESULT NavigationSink::NewWindow2(const char* url, BOOL* cancel) {
    return guarded([&] {
        if (newWindow && newWindow(text(url)) && cancel)
            *cancel = TRUE;
    });
}

HRESULT NavigationSink::NavigateError(const char* url, long, BOOL* cancel) {
    return guarded([&] {
        if (navigateError && navigateError(text(url)) && cancel)
            *cancel = TRUE;
    });
}

HRESULT NavigationSink::ProgressChange(long progress, long progressMax) {
    return guarded([&] {
        if (progressChange)
            progressChange(progress, progressMax);
    });
}

} // namespace dialogs
