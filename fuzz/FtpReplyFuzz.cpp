// The FTP reply parser and the control channel's reading of replies, on
// whatever a server may send.

#include "Linear.h"

#include "publishing/ftp/FtpControlChannel.h"
#include "publishing/ftp/FtpError.h"
#include "publishing/ftp/FtpReply.h"

#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace ftp;
using fuzzing::require;

namespace {

// Every reply the channel reads from the bytes, as a server would send
// them, until the stream ends or the channel gives up.
std::vector<FtpReply> repliesOf(const std::string& bytes) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        std::abort();
    std::thread server([&] {
        size_t sent = 0;
        while (sent < bytes.size()) {
            ssize_t n = ::send(ends[1], bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                break;
            sent += static_cast<size_t>(n);
        }
        ::close(ends[1]);
    });
    std::vector<FtpReply> replies;
    {
        FtpControlChannel channel(net::Socket(ends[0]), 16384, {});
        try {
            auto deadline = net::Clock::now() + std::chrono::seconds(20);
            while (auto reply = channel.readReply(deadline))
                replies.push_back(std::move(*reply));
        } catch (const FtpConnectionLost&) {
            // the end of the stream, or a line or reply too long
        }
    }
    server.join();
    return replies;
}

void checkReply(const FtpReply& reply) {
    require(!reply.lines.empty(), "a reply has a line");
    const std::string& first = reply.lines.front();
    require(reply.code == replyCode(first), "the code is the first line's");
    require(reply.code >= 0 && reply.code <= 999, "a code has three digits");
    if (reply.lines.size() > 1) {
        require(opensMultiLineReply(first), "only a multi-line opener has more lines");
        require(endsMultiLineReply(first, reply.lines.back()), "the last line ends the reply");
        for (size_t i = 1; i + 1 < reply.lines.size(); ++i)
            require(!endsMultiLineReply(first, reply.lines[i]), "no earlier line ends it");
    }
    require(sizeFromReply(reply) >= -1, "a size is -1 or more");
    require(announcedSize(reply) >= 0, "an announced size is not negative");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);

    // The listing split piece by piece gives what the whole split gives.
    ListingLines pieces;
    pieces.add(input.data(), size / 3);
    pieces.add(input.data() + size / 3, size - size / 3);
    require(pieces.finish() == splitListing(input), "a listing splits the same in pieces");

    size_t lineEnds = std::count(input.begin(), input.end(), '\n');
    size_t lines = 0;
    for (const FtpReply& reply : repliesOf(input)) {
        checkReply(reply);
        lines += reply.lines.size();
    }
    require(lines <= lineEnds, "every line read ended with a line feed");

    fuzzing::checkLinear(input, [](const std::string& bytes) { repliesOf(bytes); });
    return 0;
}
