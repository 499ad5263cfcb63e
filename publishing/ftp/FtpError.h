#pragma once

#include <stdexcept>
#include <string>

namespace ftp {

// Any failure of an FTP operation; what() is the text the user sees.
class FtpError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The server answered with a code the step does not accept; what() is the
// reply text (every line without its code).
class FtpReplyError : public FtpError {
public:
    FtpReplyError(int code, const std::string& text) : FtpError(text), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

// The control connection can no longer carry commands (closed by the server,
// reset, or out of step with the server); the client closes its side.
class FtpConnectionLost : public FtpError {
public:
    using FtpError::FtpError;
};

// A local file could not be read or written during a transfer, or what
// arrived was refused here; what() names the file or the limit.
class FtpLocalError : public FtpError {
public:
    using FtpError::FtpError;
};

} // namespace ftp
