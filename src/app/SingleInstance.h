// The single-instance guard: a named mutex used only as a marker that an instance is running in
// this logon session. It is never waited on or owned.
#pragma once

#include "common/ScopedHandles.h"

namespace qv {

// Local to the logon session: no "Global\" prefix.
inline constexpr wchar_t kInstanceMutexName[] = L"Tarnwick_HB";

class TSingleInstanceGuard {
public:
    // Creates the marker. Only an existing marker counts as another instance; when the mutex
    // cannot be created for another reason the program runs unguarded.
    explicit TSingleInstanceGuard(const wchar_t* name = kInstanceMutexName);

    bool AnotherInstanceRuns() const { return FAnotherRuns; }

private:
    ScopedKernelHandle FMutex;  // kept open for the life of the instance
    bool FAnotherRuns = false;
};

}  // namespace qv
