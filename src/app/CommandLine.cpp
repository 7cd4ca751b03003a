#include "app/CommandLine.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

namespace qv {

std::wstring FirstArgument(const wchar_t* commandLine) {
    // CommandLineToArgvW answers the program's own path for an empty line; only argument 1 counts.
    if (commandLine == nullptr || *commandLine == L'\0') return {};
    int count = 0;
    std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(commandLine, &count),
                                                            &LocalFree);
    if (!arguments || count < 2) return {};
    return arguments.get()[1];
}

}  // namespace qv
