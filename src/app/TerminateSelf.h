// Ending the own process at once, without any clean-up of the program's own.
#pragma once

namespace qv {

// Exit code -1 (0xFFFFFFFF). Open files are closed by the system.
[[noreturn]] void TerminateSelf();

}  // namespace qv
