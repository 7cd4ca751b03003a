#include "MirrorClient.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "common/StringConv.h"

namespace qv::test {
namespace {

constexpr DWORD kIoTimeoutMs = 15000;
constexpr int kPortFileWaitSteps = 100;

std::wstring WindowsPathOf(std::string_view unixPath) {
    std::wstring path = L"Z:" + Utf8ToWide(unixPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

class WinsockSession {
public:
    WinsockSession() { ok_ = WSAStartup(MAKEWORD(2, 2), &data_) == 0; }
    ~WinsockSession() {
        if (ok_) WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    bool ok() const { return ok_; }

private:
    WSADATA data_{};
    bool ok_ = false;
};

class Socket {
public:
    Socket() : s_(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {}
    ~Socket() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    SOCKET get() const { return s_; }

private:
    SOCKET s_;
};

bool SendAll(SOCKET s, std::string_view data) {
    while (!data.empty()) {
        const int sent = send(s, data.data(), static_cast<int>(data.size()), 0);
        if (sent <= 0) return false;
        data.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

std::string ReceiveAll(SOCKET s) {
    std::string all;
    char buffer[16384];
    for (;;) {
        const int got = recv(s, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        all.append(buffer, static_cast<size_t>(got));
    }
    return all;
}

RawAnswer ParseAnswer(const std::string& raw) {
    RawAnswer answer;
    const size_t headEnd = raw.find("\r\n\r\n");
    if (headEnd == std::string::npos || raw.compare(0, 9, "HTTP/1.1 ") != 0) return answer;
    answer.status = std::atoi(raw.c_str() + 9);
    answer.body = raw.substr(headEnd + 4);
    return answer;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::string PercentEncodePath(std::wstring_view path) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : WideToUtf8(path)) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string HeaderValue(std::string_view head, std::string_view name) {
    const std::string wanted = Lower(name) + ":";
    size_t lineStart = head.find("\r\n");
    while (lineStart != std::string_view::npos) {
        lineStart += 2;
        const size_t lineEnd = head.find("\r\n", lineStart);
        const std::string_view line = head.substr(lineStart, lineEnd - lineStart);
        if (Lower(line.substr(0, wanted.size())) == wanted) {
            std::string_view value = line.substr(wanted.size());
            while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
            return std::string(value);
        }
        lineStart = lineEnd;
    }
    return {};
}

std::optional<MirrorClient> MirrorClient::FromFixture() {
    const std::wstring portFile = WindowsPathOf(QV_MIRROR_PORT_FILE);
    for (int step = 0; step < kPortFileWaitSteps; ++step) {
        HANDLE file = CreateFileW(portFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            char text[32] = {};
            DWORD read = 0;
            ReadFile(file, text, sizeof text - 1, &read, nullptr);
            CloseHandle(file);
            const int port = std::atoi(text);
            if (port > 0) return MirrorClient(port);
        }
        Sleep(50);  // polling for a file another process writes; bounded by the step count
    }
    return std::nullopt;
}

MirrorClient::MirrorClient(int port) : port_(port) {}

std::wstring MirrorClient::Url(std::wstring_view path) const {
    return L"http://127.0.0.1:" + std::to_wstring(port_) + Utf8ToWide(PercentEncodePath(path));
}

std::wstring MirrorClient::FileFor(std::wstring_view path) {
    std::wstring file = WindowsPathOf(QV_MIRROR_ROOT);
    for (const wchar_t c : path) file += c == L'/' ? L'\\' : c;
    return file;
}

bool MirrorClient::PutFile(std::wstring_view path, std::string_view bytes) {
    const std::wstring file = FileFor(path);
    for (size_t slash = file.find(L'\\', 3); slash != std::wstring::npos;
         slash = file.find(L'\\', slash + 1)) {
        CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);
    }
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    while (ok && !bytes.empty()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        ok = WriteFile(handle, bytes.data(), piece, &written, nullptr) && written == piece;
        bytes.remove_prefix(piece);
    }
    CloseHandle(handle);
    return ok;
}

bool MirrorClient::SetRule(std::wstring_view path, std::string_view keys) const {
    std::string body = "{\"path\": \"" + WideToUtf8(path) + "\"";
    if (!keys.empty()) body += ", " + std::string(keys);
    body += "}";
    return Call("POST", "/_control/rule", body).status == 200;
}

bool MirrorClient::Reset(std::wstring_view path) const {
    return Call("POST", "/_control/reset?path=" + PercentEncodePath(path)).status == 200;
}

std::vector<std::string> MirrorClient::Requests(std::wstring_view path) const {
    const RawAnswer answer =
        Call("GET", "/_control/requests?format=text&path=" + PercentEncodePath(path));
    std::vector<std::string> heads;
    size_t start = 0;
    for (size_t end = answer.body.find("\r\n\r\n"); end != std::string::npos;
         end = answer.body.find("\r\n\r\n", start)) {
        heads.push_back(answer.body.substr(start, end - start + 2));
        start = end + 4;
    }
    return heads;
}

RawAnswer MirrorClient::Call(std::string_view method, std::string_view target,
                             std::string_view body) const {
    WinsockSession winsock;
    if (!winsock.ok()) return {};
    Socket s;
    if (s.get() == INVALID_SOCKET) return {};
    const DWORD timeout = kIoTimeoutMs;
    setsockopt(s.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    setsockopt(s.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return {};
    }
    std::string request = std::string(method) + " " + std::string(target) +
                          " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
                          "Content-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
    if (!SendAll(s.get(), request)) return {};
    return ParseAnswer(ReceiveAll(s.get()));
}

}  // namespace qv::test
