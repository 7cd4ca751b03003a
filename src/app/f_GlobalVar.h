// The program's process-wide objects: the logger every failure report goes to.
#pragma once

#include <string>

#include "log/Logger.h"

namespace qv {

// Creates the logger with its default folder ("Quorvane\Log\" beside the executable), which
// makes sure that folder exists. False, with the reason in errorText, when it cannot.
bool CreateGlobalLogger(std::wstring& errorText);

// The logger made by CreateGlobalLogger; it lives until the end of the process.
TLogger& GlobalLogger();

}  // namespace qv
