#pragma once

#include <string>

namespace host {

// The address to load for what a person typed: a scheme ("http:", "file:",
// "about:") is kept, an existing local path becomes a file address, anything
// else is taken as a web address.
std::string addressFromInput(const std::string& input);

// The address to load for an argument on the command line. Unlike typed
// text, an argument that looks like a file name ("page.htm", "./a", "~/a",
// "dir/a") is always taken as a file: "tavrisk page.htm" never opens
// http://page.htm/. Answers an empty address, with the reason in error, for
// a file that is not there.
std::string addressFromArgument(const std::string& argument, std::string& error);

} // namespace host
