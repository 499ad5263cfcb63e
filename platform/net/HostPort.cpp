#include "HostPort.h"

#include "Socket.h"

#include <algorithm>
#include <cctype>

namespace net {

namespace {

std::string trimmed(const std::string& text) {
    auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

uint16_t portNumber(const std::string& text) {
    bool digits =
        !text.empty() && text.size() <= 5 &&
        std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; });
    int number = digits ? std::stoi(text) : 0;
    if (number < 1 || number > 65535)
        throw SocketError("\"" + text + "\" is not a port number (1 to 65535).");
    return static_cast<uint16_t>(number);
}

} // namespace

HostAndPort splitHostPort(const std::string& text, uint16_t defaultPort) {
    auto colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos)
        return {trimmed(text), defaultPort};
    return {trimmed(text.substr(0, colon)), portNumber(trimmed(text.substr(colon + 1)))};
}

} // namespace net
