#include "platform/browser/ErrorInfo.h"

namespace browser {

namespace {
thread_local std::string lastError;
}

void SetLastError(const std::string& text) {
    lastError = text;
}

const std::string& LastError() {
    return lastError;
}

HRESULT Fail(const std::string& text) {
    SetLastError(text);
    return E_FAIL;
}

} // namespace browser
