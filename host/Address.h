#pragma once

#include <string>

namespace host {

// The address to load for what a person typed: a scheme ("http:", "file:",
// "about:") is kept, an existing local path becomes a file address, anything
// else is taken as a web address.
std::string addressFromInput(const std::string& input);

} // namespace host
