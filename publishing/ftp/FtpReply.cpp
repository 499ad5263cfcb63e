#include "FtpReply.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <utility>

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

// A whole text of decimal digits as a number. A sign is refused: a size
// is never negative, and a negative one must not pass for a known size.
bool parseInteger(const std::string& text, int64_t& value) {
    if (text.empty() || !isDigit(text.front()))
        return false;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

} // namespace

// A line's text without its code and the separator after it; a line that
// starts with no code is all text.
static std::string lineText(const std::string& line) {
    if (replyCode(line) == 0)
        return line;
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return line;
    return line.substr(std::min<size_t>(4, line.size()));
}

std::string FtpReply::text() const {
    std::string result;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            result += '\n';
        result += lineText(lines[i]);
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
    // Only the code and a blank end the reply: an empty or short line is
    // text of the reply, as welcome messages often hold one.
    return line.size() >= 4 && line.compare(0, 3, firstLine, 0, 3) == 0 && line[3] == ' ';
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
    ListingLines lines;
    lines.add(text.data(), text.size());
    return lines.finish();
}

void ListingLines::add(const char* data, size_t size) {
    for (const char* end = data + size; data < end;) {
        if (m_afterCr && *data == '\n') {
            ++data;
            m_afterCr = false;
            continue;
        }
        m_afterCr = false;
        const char* brk = data;
        while (brk < end && *brk != '\r' && *brk != '\n')
            ++brk;
        m_partial.append(data, static_cast<size_t>(brk - data));
        if (brk == end)
            return;
        m_lines.push_back(std::move(m_partial));
        m_partial.clear();
        m_afterCr = *brk == '\r';
        data = brk + 1;
    }
}

std::vector<std::string> ListingLines::finish() {
    if (!m_partial.empty())
        m_lines.push_back(std::move(m_partial));
    m_partial.clear();
    m_afterCr = false;
    return std::move(m_lines);
}

} // namespace ftp
