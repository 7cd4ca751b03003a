// qfetch: downloads one URL into one file with the download engine, printing each progress
// report as a JSON line. Exit status: 0 done, 1 failed, 2 cancelled, 64 usage error.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "ProgressJson.h"
#include "QfetchOptions.h"
#include "common/StringConv.h"
#include "net/IHttpClient.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitCancelled = 2;
constexpr int kExitUsage = 64;

// Writes UTF-8 text to a standard handle: through the console's wide API when it is one.
void WriteText(DWORD which, const std::string& utf8) {
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = qv::Utf8ToWide(utf8);
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

std::vector<std::wstring> Arguments() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; argv && i < count; ++i) arguments.emplace_back(argv[i]);
    if (argv) LocalFree(argv);
    return arguments;
}

std::wstring FullPath(const std::wstring& file) {
    const DWORD length = GetFullPathNameW(file.c_str(), 0, nullptr, nullptr);
    if (length == 0) return file;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(file.c_str(), length, full.data(), nullptr);
    full.resize(written);
    return full;
}

void Configure(qv::IHttpClient& client, const qv::qfetch::Options& options) {
    client.SetAllowResume(options.resume);
    if (options.retries) client.SetRetryCount(*options.retries);
    if (options.timeoutMs) client.SetTimeout(*options.timeoutMs);
    if (options.bufferBytes) client.SetBufferSize(*options.bufferBytes);
    if (options.maxSize) client.SetMaxSize(*options.maxSize);
}

std::wstring JoinHeaders(const std::vector<std::wstring>& headers) {
    std::wstring joined;
    for (const std::wstring& header : headers) joined += header + L"\r\n";
    return joined;
}

int ExitStatusOf(int32_t result) {
    if (result == qv::kDownloadDone) return kExitDone;
    if (result == qv::kDownloadCancelled) return kExitCancelled;
    return kExitFailed;
}

}  // namespace

int main() {
    const qv::qfetch::ParseResult parsed = qv::qfetch::ParseArguments(Arguments());
    if (!parsed.options) {
        WriteText(STD_ERROR_HANDLE, "qfetch: " + qv::WideToUtf8(parsed.error) + "\n" +
                                        qv::WideToUtf8(qv::qfetch::UsageText()) + "\n");
        return kExitUsage;
    }
    const qv::qfetch::Options& options = *parsed.options;
    qv::InterfacePtr<qv::IHttpClient> client = qv::GetHttpClient();
    Configure(*client, options);

    int64_t progressReports = 0;
    const qv::THttpDownloadEvent onProgress = [&](const qv::THttpDownloadInfo& info, bool& cancel) {
        WriteText(STD_OUTPUT_HANDLE, qv::qfetch::ReportToJson(info) + "\n");
        if (info.Status == qv::dsProgress && ++progressReports == options.cancelAfter) {
            cancel = true;
        }
    };
    std::wstring file = FullPath(options.file);
    const int32_t result = client->DownloadFile(options.url, file, onProgress, 0, L"GET",
                                                JoinHeaders(options.headers));
    return ExitStatusOf(result);
}
