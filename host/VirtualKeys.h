#pragma once

#include <cstdint>

namespace host {

// The virtual-key code a bar expects in a key message for a GDK key value,
// as a keyboard with the US layout names its keys: letters and digits by
// their upper-case character, the punctuation keys by their OEM codes. Both
// values a key gives (with and without Shift) map to the same code. Answers
// 0 for a key that has no code.
uint32_t virtualKeyFor(unsigned keyval);

} // namespace host
