#include "CommandLine.h"

namespace host {

const char* const kUsage = "Usage: tavrisk [ADDRESS]\n"
                           "       tavrisk --register MODULE\n"
                           "       tavrisk --unregister MODULE\n"
                           "       tavrisk --list-bars\n";

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool takesModule = arg == "--register" || arg == "--unregister";
        if (takesModule && i + 1 >= args.size()) {
            error = arg + " needs the path of a module";
            return std::nullopt;
        }
        if (takesModule || arg == "--list-bars" || arg == "--help" || arg == "-h") {
            if (line.action != CommandLine::Action::Browse) {
                error = "only one of --register, --unregister and --list-bars at a time";
                return std::nullopt;
            }
            line.action = arg == "--register"     ? CommandLine::Action::Register
                          : arg == "--unregister" ? CommandLine::Action::Unregister
                          : arg == "--list-bars"  ? CommandLine::Action::ListBars
                                                  : CommandLine::Action::Help;
            if (takesModule)
                line.module = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (line.address.empty()) {
            line.address = arg;
        } else {
            error = "only one address can be opened";
            return std::nullopt;
        }
    }
    if (line.action != CommandLine::Action::Browse && !line.address.empty()) {
        error = "an address cannot be given with " +
                std::string(line.module.empty() ? "--list-bars" : "a registration option");
        return std::nullopt;
    }
    return line;
}

} // namespace host
