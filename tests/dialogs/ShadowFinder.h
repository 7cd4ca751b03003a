// Finding a borderless window's drop shadow among the program's windows.
#pragma once

#include <windows.h>

namespace qv::test {

// The visible layered window of this process lying 16 pixels beyond the window on every side
// (the shadow's place); null when there is none.
HWND FindShadowOf(HWND window);

}  // namespace qv::test
