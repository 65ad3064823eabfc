#pragma once
// The socket library started for as long as our code needs it, whatever the
// host program did: the scan workers and the connection test use sockets.

class CSocketsScope {
public:
    CSocketsScope();
    ~CSocketsScope();
    CSocketsScope(const CSocketsScope&) = delete;
    CSocketsScope& operator=(const CSocketsScope&) = delete;

private:
    bool m_started = false;
};
