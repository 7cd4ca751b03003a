#!/usr/bin/env python3
"""Shows the program downloading the sample package from the two local mirror lines (make run).

With --watch the window is left to the user on their display, and this returns when the program
ends. Without it the program is driven through its pages on the (virtual) display: the start
page, the progress page and the finished page are saved as PNG files in --screens, then the
install button starts the sample package."""

import argparse
import os
import sys

from desktop import Desktop, wait_until
from layout import DOWNLOAD_NOW, INSTALL, MAIN_TITLE
from mirrors import LocalMirrors
from program import ProgramFolder

SAMPLE_TITLE = "Quorvane 示例安装包"
THROTTLE = 768 * 1024  # bytes per second: the 3 MiB package takes about four seconds


def drive(program, desktop, screens):
    window = desktop.wait_window(MAIN_TITLE)
    desktop.wait_shadow(window)
    shots = []

    def save(name):
        desktop.move_pointer_away()
        shot = desktop.window_shot(window)
        path = os.path.join(screens, name + ".png")
        shot.save(path)
        shots.append(path)
        return shot

    desktop.raise_window(window)
    save("1-start-page")
    desktop.click(window, *DOWNLOAD_NOW)
    temporary = program.package + ".tmp"
    wait_until(lambda: os.path.exists(temporary) and os.path.getsize(temporary) >= 1024 * 1024,
               60, "the download to be under way")
    without_install = save("2-progress-page").pixel(*INSTALL)
    wait_until(lambda: os.path.exists(program.package), 60, "the package")
    desktop.move_pointer_away()
    wait_until(lambda: desktop.window_shot(window).pixel(*INSTALL) != without_install, 10,
               "the install button")
    save("3-finished-page")
    desktop.click(window, *INSTALL)
    print("the program ended with exit code %d" % program.wait_exit())
    sample = desktop.wait_window(SAMPLE_TITLE)
    desktop.key(sample, "Return")
    for path in shots:
        print("screenshot: " + path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for name in ("program", "sample", "mirror-dir", "work", "screens"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--port-dx", type=int, required=True)
    parser.add_argument("--port-lt", type=int, required=True)
    parser.add_argument("--watch", action="store_true", help="leave the window to the user")
    args = parser.parse_args()

    os.makedirs(args.screens, exist_ok=True)
    mirrors = LocalMirrors(args.work, args.mirror_dir, args.sample, args.port_dx, args.port_lt)
    mirrors.start()
    try:
        for mirror in (mirrors.dx, mirrors.lt):
            mirror.rule(throttle=THROTTLE)
        program = ProgramFolder(os.path.join(args.work, "program"), args.program)
        program.start()
        print("mirrors: 电信 http://127.0.0.1:%d  联通 http://127.0.0.1:%d; program: %s"
              % (args.port_dx, args.port_lt, program.exe))
        try:
            if args.watch:
                print("the window is open: press the download button, then install; "
                      "the package goes to " + program.download_folder)
                program.process.wait()
            else:
                drive(program, Desktop(), args.screens)
        finally:
            program.kill()
    finally:
        mirrors.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
