#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace ftp {

// One reply of the server: the code of its first line and all its lines.
struct FtpReply {
    int code = 0; // 0 when the first line does not start with three digits
    std::vector<std::string> lines;

    // Every line without its first four characters, joined by line feeds.
    std::string text() const;
    bool is(std::initializer_list<int> codes) const;
};

// The code of a reply's first line, 0 when it has none.
int replyCode(const std::string& firstLine);
// Whether the first line opens a reply that goes on over more lines.
bool opensMultiLineReply(const std::string& firstLine);
// Whether `line` ends the multi-line reply that `firstLine` opened.
bool endsMultiLineReply(const std::string& firstLine, const std::string& line);

// The directory in a PWD reply: the text between the first and the second
// double quote of the first line, empty without a quote.
std::string directoryFromPwd(const FtpReply& reply);
// The byte count of a SIZE reply, -1 when it gives none.
int64_t sizeFromReply(const FtpReply& reply);
// The byte count a transfer's opening reply announces as "(N bytes)", else 0.
int64_t announcedSize(const FtpReply& reply);
// The argument of PORT for an IPv4 address (host order) and port.
std::string portArgument(uint32_t address, uint16_t port);
// A listing's lines, split at CR LF, LF or CR.
std::vector<std::string> splitListing(const std::string& text);

// The same split made piece by piece as a listing arrives, so that no
// single step takes long however large the listing is. A CR LF split
// between two pieces still counts as one line end.
class ListingLines {
public:
    void add(const char* data, size_t size);
    // The lines, the last one unterminated included; starts over.
    std::vector<std::string> finish();

private:
    std::vector<std::string> m_lines;
    std::string m_partial;
    bool m_afterCr = false;
};

} // namespace ftp
