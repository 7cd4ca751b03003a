#include "net/Transport.h"

namespace qv {
namespace {

class WinInetTransport final : public IInternetTransport {
public:
    bool GetConnectedState(DWORD& flags) override {
        flags = 0;
        return InternetGetConnectedState(&flags, 0) != FALSE;
    }
    bool ReadFile(HINTERNET request, void* buffer, DWORD size, DWORD& read) override {
        read = 0;
        return InternetReadFile(request, buffer, size, &read) != FALSE;
    }
};

}  // namespace

IInternetTransport& SystemTransport() {
    static WinInetTransport transport;
    return transport;
}

}  // namespace qv
