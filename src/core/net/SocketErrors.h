#pragma once

// Error codes of the socket layer, numbered as the Winsock codes the mail check was written
// against, so callers and saved diagnostics keep their meaning. Codes below 10000 are the
// system's own errno values that have no counterpart here.
namespace SocketError {
constexpr int kNone = 0;
constexpr int kInterrupted = 10004;
constexpr int kBadHandle = 10009;
constexpr int kAccessDenied = 10013;
constexpr int kInvalidArgument = 10022; // also: a host name that does not resolve
constexpr int kTooManyOpen = 10024;
constexpr int kNegativeReply = 10043; // the server answered without "+OK", or too much
constexpr int kAddressFamily = 10047;
constexpr int kAddressInUse = 10048;
constexpr int kAddressNotAvailable = 10049;
constexpr int kNetworkDown = 10050;
constexpr int kNetworkUnreachable = 10051;
constexpr int kConnectionAborted = 10053;
constexpr int kConnectionReset = 10054;
constexpr int kNoBuffers = 10055;
constexpr int kNotConnected = 10057;
constexpr int kTimedOut = 10060; // no byte in time, or a reply not complete in time
constexpr int kConnectionRefused = 10061;
constexpr int kHostDown = 10064;
constexpr int kHostUnreachable = 10065;
constexpr int kPeerClosed = 10101; // the server closed the connection mid-reply
constexpr int kCancelled = 10102;  // the program is ending and stopped the exchange
constexpr int kTlsFailed = 10103;  // no secure connection: a refused certificate, a bad handshake
} // namespace SocketError
