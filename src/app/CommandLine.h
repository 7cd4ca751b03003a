// The program's command line: it takes no options, it only needs to know whether there is any.
#pragma once

#include <string>

namespace qv {

// The first argument after the program name, unquoted; empty when there is none (an empty quoted
// string counts as none).
std::wstring FirstArgument(const wchar_t* commandLine);

}  // namespace qv
