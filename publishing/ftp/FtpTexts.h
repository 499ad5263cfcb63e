#pragma once

#include <cstdint>
#include <string>

// The texts the FTP client reports and raises.
namespace ftp::texts {

inline constexpr const char* kResolving = "Resolving hostname %s.";
inline constexpr const char* kConnecting = "Connecting to %s.";
inline constexpr const char* kConnected = "Connected.";
inline constexpr const char* kEstablished = "Connection established";
inline constexpr const char* kStartingTransfer = "Starting FTP transfer";
inline constexpr const char* kTransferComplete = "Transfer complete";
inline constexpr const char* kTransferAborted = "Transfer aborted";
inline constexpr const char* kDisconnecting = "Disconnecting.";
inline constexpr const char* kDisconnected = "Disconnected.";

inline constexpr const char* kMaxLineLength = "Max line length exceeded.";
inline constexpr const char* kReplyTooLong = "The server's reply is too long.";
inline constexpr const char* kNotConnected = "Not connected.";
inline constexpr const char* kAlreadyConnected = "Already connected.";
inline constexpr const char* kClosedByServer = "Connection closed by the server.";
inline constexpr const char* kBusy = "Another FTP operation is still in progress.";
inline constexpr const char* kUnsafeArgument =
    "Line breaks and NUL characters are not allowed in FTP names and passwords.";
inline constexpr const char* kNoDataConnection = "The server did not open the data connection.";
inline constexpr const char* kDataNotClosed = "The server did not close the data connection.";
inline constexpr const char* kStoreRefused =
    "The server ended the transfer before the whole file was sent.";
inline constexpr const char* kNoReply = "The server did not answer in time.";
inline constexpr const char* kTransferStalled = "The transfer stalled: no data moved in time.";
inline std::string shortTransfer(int64_t moved, int64_t expected) {
    return "The transfer is incomplete: the server sent " + std::to_string(moved) + " of " +
           std::to_string(expected) + " bytes.";
}
inline constexpr const char* kListingTooLong = "The listing is longer than %s MB.";
inline constexpr const char* kCannotWrite = "Cannot write file \"%s\". %s";
inline constexpr const char* kCannotOpen = "Cannot open file \"%s\". %s";
inline constexpr const char* kCannotCreate = "Cannot create file \"%s\". %s";

} // namespace ftp::texts
