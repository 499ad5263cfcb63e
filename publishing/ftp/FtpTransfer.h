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
    int64_t expected = 0;

    // The end-of-transfer reply, when it came before the data did.
    std::optional<FtpReply> finalReply;
    bool aborted = false;
    // Why moving the bytes failed, empty when it did not.
    std::string failure;
    bool controlEnded = false;
    net::Deadline deadline;
};

} // namespace ftp
