#include "FtpReply.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ftp {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string trimmed(const std::string& s) {
    auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// A whole text of decimal digits (with an optional minus) as a number.
bool parseInteger(const std::string& text, int64_t& value) {
    if (text.empty())
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

std::string FtpReply::text() const {
    std::string result;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            result += '\n';
        result += lines[i].substr(std::min<size_t>(4, lines[i].size()));
    }
    return result;
}

bool FtpReply::is(std::initializer_list<int> codes) const {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

int replyCode(const std::string& firstLine) {
    if (firstLine.size() < 3 || !isDigit(firstLine[0]) || !isDigit(firstLine[1]) ||
        !isDigit(firstLine[2]))
        return 0;
    return (firstLine[0] - '0') * 100 + (firstLine[1] - '0') * 10 + (firstLine[2] - '0');
}

bool opensMultiLineReply(const std::string& firstLine) {
    return firstLine.size() >= 4 && firstLine[3] == '-';
}

bool endsMultiLineReply(const std::string& firstLine, const std::string& line) {
    if (line.size() < 4)
        return true;
    for (size_t i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) !=
            std::tolower(static_cast<unsigned char>(firstLine[i])))
            return false;
    return line[3] == ' ';
}

std::string directoryFromPwd(const FtpReply& reply) {
    if (reply.lines.empty())
        return {};
    std::string text = reply.lines.front().substr(std::min<size_t>(4, reply.lines[0].size()));
    auto open = text.find('"');
    if (open == std::string::npos)
        return {};
    auto close = text.find('"', open + 1);
    return text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
}

int64_t sizeFromReply(const FtpReply& reply) {
    if (reply.code != 213)
        return -1;
    std::string text = trimmed(reply.text());
    auto blank = text.find(' ');
    if (blank != std::string::npos)
        text = text.substr(blank + 1);
    int64_t value = -1;
    return parseInteger(text, value) ? value : -1;
}

int64_t announcedSize(const FtpReply& reply) {
    std::string text = reply.text();
    auto close = text.rfind(" bytes)");
    if (close == std::string::npos)
        return 0;
    auto open = text.rfind('(', close);
    int64_t value = 0;
    if (open == std::string::npos || !parseInteger(text.substr(open + 1, close - open - 1), value))
        return 0;
    return value;
}

std::string portArgument(uint32_t address, uint16_t port) {
    std::string result;
    for (int shift = 24; shift >= 0; shift -= 8)
        result += std::to_string((address >> shift) & 0xFF) + ",";
    return result + std::to_string(port / 256) + "," + std::to_string(port % 256);
}

std::vector<std::string> splitListing(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

} // namespace ftp
