#pragma once

#include "platform/com/HResult.h"

#include <string>

// The reason of the last failing browser or document call on this thread,
// as COM keeps its error information beside the HRESULT.
namespace browser {

void SetLastError(const std::string& text);
const std::string& LastError();

// Records the text and answers E_FAIL, for one-line failure returns.
HRESULT Fail(const std::string& text);

} // namespace browser
