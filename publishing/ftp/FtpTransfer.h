#pragma once

#include "publishing/ftp/FtpClient.h"

#include "platform/net/Wait.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ftp {

// One data transfer of the client: its command, where the bytes go or come
// from, and what happened.
struct FtpClient::Transfer {
    std::string command;
    std::vector<int> accepted;
    bool sending = false;
    // Receiving: takes each block that arrives.
    std::function<void(const char*, size_t)> sink;
    // Sending: fills the buffer, answers 0 at the end of the file.
    std::function<size_t(char*, size_t)> source;
    // Sending: the local file's size. Receiving: the size the server gave,
    // 0 when unknown; fewer bytes than that make the retrieval fail.
    int64_t expected = 0;
    int64_t moved = 0;

    // The end-of-transfer reply, when it came before the data did.
    std::optional<FtpReply> finalReply;
    bool aborted = false;
    // Why moving the bytes failed, empty when it did not, and whether the
    // failure was ours (a local file) rather than the connection's.
    std::string failure;
    bool localFailure = false;
    bool controlEnded = false;
    // Bounds the wait for the rest of the data once the server has ended
    // the transfer or its session; unset before that.
    net::Deadline deadline;
    // Bounds a silence of the data connection at any time.
    net::Clock::time_point idleDeadline;
};

} // namespace ftp
