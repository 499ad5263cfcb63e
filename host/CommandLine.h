#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct CommandLine {
    enum class Action { Browse, Register, Unregister, ListBars, Help };
    Action action = Action::Browse;
    std::string module;  // with Register and Unregister
    std::string address; // with Browse; empty for the start page
};

// Parses the arguments after the program name; nullopt with an explanation
// in error when they make no sense.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

extern const char* const kUsage;

} // namespace host
