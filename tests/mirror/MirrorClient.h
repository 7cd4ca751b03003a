// Test-side client of the local mirror (tests/mirror/mirror.py) started by the ctest fixture
// "mirror": finds its port, places files in its root and scripts it through its control
// endpoints over plain Winsock, so that the engine under test is not used to drive its own server.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

struct RawAnswer {
    int status = 0;
    std::string body;
};

class MirrorClient {
public:
    // Reads the fixture's port file, waiting up to a few seconds for it; nullopt without one.
    static std::optional<MirrorClient> FromFixture();
    explicit MirrorClient(int port);

    int port() const { return port_; }
    // http://127.0.0.1:PORT followed by the path percent-encoded as UTF-8.
    std::wstring Url(std::wstring_view path) const;
    // The local file that the mirror serves at `path` (under the fixture's root).
    static std::wstring FileFor(std::wstring_view path);
    // Writes `bytes` as the file served at `path`, creating folders; false on failure.
    static bool PutFile(std::wstring_view path, std::string_view bytes);

    // Scripts `path`: `keys` is the inside of the rule object, e.g. "\"drop_after\": 1000".
    bool SetRule(std::wstring_view path, std::string_view keys) const;
    // Forgets the rule and the recorded requests of `path`.
    bool Reset(std::wstring_view path) const;
    // The recorded requests to `path`, oldest first, each as its request line and header lines
    // joined by CR LF.
    std::vector<std::string> Requests(std::wstring_view path) const;

    // One request over a fresh connection (Connection: close); status 0 when it failed.
    RawAnswer Call(std::string_view method, std::string_view target,
                   std::string_view body = {}) const;

private:
    int port_;
};

// UTF-8 percent-encoding of a path; "/" and unreserved characters stay as they are.
std::string PercentEncodePath(std::wstring_view path);
// A header value of a request head, empty when absent (names compared without case).
std::string HeaderValue(std::string_view head, std::string_view name);

}  // namespace qv::test
