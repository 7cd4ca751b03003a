#include "app/SingleInstance.h"

namespace qv {

TSingleInstanceGuard::TSingleInstanceGuard(const wchar_t* name)
    : FMutex(CreateMutexW(nullptr, FALSE, name)),
      FAnotherRuns(GetLastError() == ERROR_ALREADY_EXISTS) {}

}  // namespace qv
