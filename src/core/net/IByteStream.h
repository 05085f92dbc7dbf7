#pragma once

// The connection a POP3 client talks over: the socket, or TLS over it. Tests and the fuzzer
// hand the client a scripted stream instead.
class IByteStream {
public:
    virtual ~IByteStream() = default;

    // Sends all of the bytes; false on an error (the last socket error tells which).
    virtual bool Send(const char* data, int length) = 0;
    // One read of at most length bytes: the count, 0 when the peer closed, -1 on an error.
    virtual int Receive(char* buffer, int length) = 0;
    // Waits up to waitMs for something to read (0: just looks); false if waiting failed.
    virtual bool IsReadable(bool& readable, int waitMs = 0) = 0;
};
