#include "app/TerminateSelf.h"

#include <windows.h>

#include "common/ScopedHandles.h"

namespace qv {

void TerminateSelf() {
    ScopedKernelHandle self(OpenProcess(PROCESS_TERMINATE, FALSE, GetCurrentProcessId()));
    TerminateProcess(self ? self.get() : GetCurrentProcess(), UINT(-1));
    // TerminateProcess on the own process does not return; should it ever, end all the same.
    ExitProcess(UINT(-1));
}

}  // namespace qv
