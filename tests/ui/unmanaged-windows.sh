#!/bin/sh
# Makes Wine treat the windows of the given test programs as windows without a window manager.
# The virtual display has none, and Wine otherwise waits two seconds for a manager that never
# answers each time an activated window is hidden. Run under the tests' WINEPREFIX.
for program in "$@"; do
    wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$program\\X11 Driver" /v Managed /d N /f \
        >/dev/null 2>&1 </dev/null || exit 1
done
