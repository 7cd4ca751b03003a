// The two transport questions a file download asks on every read, behind a seam so that tests
// can make them answer what a real network cannot be made to answer on demand.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace qv {

class IInternetTransport {
public:
    virtual ~IInternetTransport() = default;
    // InternetGetConnectedState: whether the computer is connected, and how
    // (INTERNET_CONNECTION_*).
    virtual bool GetConnectedState(DWORD& flags) = 0;
    // InternetReadFile: up to `size` bytes of the body; 0 bytes read means the body has ended.
    virtual bool ReadFile(HINTERNET request, void* buffer, DWORD size, DWORD& read) = 0;
};

// WinInet itself.
IInternetTransport& SystemTransport();

}  // namespace qv
