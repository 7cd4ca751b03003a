#!/usr/bin/env python3
"""End-to-end tests of the downloader: the real program under Wine on the virtual display, driven
with real mouse and key input, downloading from the two local mirror lines.

    test_program.py --program EXE --sample EXE --mirror-dir DIR --work DIR --references DIR
                    --port-dx N --port-lt N [unittest arguments]

With QUORVANE_E2E_UPDATE_REFERENCES=1 missing or differing reference screenshots are written
instead of compared (look at them before committing)."""

import argparse
import os
import shutil
import stat
import subprocess
import sys
import time
import unittest

from desktop import Desktop, Image, wait_until
from layout import (BANNER, CONFIRM_TITLE, DOWNLOAD_NOW, INFO_BROWSER, INFO_CLOSE, INFO_RELOAD,
                    INFO_SIZE, INSTALL, LINE_DX, LINE_LT, MAIN_POSITION, MAIN_SIZE, MAIN_TITLE,
                    MINIMISE, NOTICE_TITLE, message_box_right_button)
from mirrors import PACKAGE_SIZE, LocalMirrors
from program import ProgramFolder

CONFIG = None
MIRRORS = None
DOWNLOAD_DEADLINE = 60.0
SAMPLE_TITLE = "Quorvane 示例安装包"
CHUNK = 512 * 1024
MAX_DIFFERING_PIXELS = 0.01


def setUpModule():
    global MIRRORS
    MIRRORS = LocalMirrors(CONFIG.work, CONFIG.mirror_dir, CONFIG.sample, CONFIG.port_dx,
                           CONFIG.port_lt)
    MIRRORS.start()


def tearDownModule():
    MIRRORS.stop()


def file_bytes(path):
    try:
        with open(path, "rb") as source:
            return source.read()
    except FileNotFoundError:
        return None


def file_size(path):
    try:
        return os.path.getsize(path)
    except FileNotFoundError:
        return -1


class ProgramTest(unittest.TestCase):
    """Each test gets a fresh program folder and clean mirrors, and leaves no program running."""

    def setUp(self):
        MIRRORS.reset()
        self.desktop = Desktop()
        self.programs = []
        self.program = self.new_program()

    def tearDown(self):
        for program in self.programs:
            program.kill()
        for sample in self.desktop.windows(SAMPLE_TITLE):
            self.desktop.key(sample, "Return")

    def new_program(self, suffix=""):
        folder = os.path.join(CONFIG.work, "cases", self.id().split(".")[-1] + suffix)
        program = ProgramFolder(folder, CONFIG.program)
        self.programs.append(program)
        return program

    # --- helpers a user's actions map to -------------------------------------------------------

    def open_main_window(self, program=None):
        program = program or self.program
        program.start()

        def window_or_end():
            if not program.running():
                self.fail("the program ended with exit code %d before showing its window"
                          % program.process.returncode)
            return (self.desktop.windows(MAIN_TITLE) or [None])[0]
        # Generous: the first window of a fresh Wine prefix waits for its font cache.
        window = wait_until(window_or_end, 90, "the main window")
        wait_until(lambda: self.desktop.geometry(window)[2:] == MAIN_SIZE, 10,
                   "the main window's designed size")
        self.desktop.wait_shadow(window)  # shown a moment later, and stacked above it on X
        return window

    def wait_dialog(self, title, size=None):
        def found():
            for window in self.desktop.windows(title):
                if size is None or self.desktop.geometry(window)[2:] == size:
                    return window
            return None
        dialog = wait_until(found, 20, "a dialog titled %r" % title)
        self.desktop.wait_shadow(dialog)
        return dialog

    def wait_failure_dialog(self):
        def found():
            for window in self.desktop.windows(NOTICE_TITLE) + self.desktop.windows("frm_Info"):
                if self.desktop.geometry(window)[2:] == INFO_SIZE:
                    return window
            return None
        dialog = wait_until(found, DOWNLOAD_DEADLINE, "the download-failure dialog")
        self.desktop.wait_shadow(dialog)
        return dialog

    def wait_package(self, program=None):
        program = program or self.program
        wait_until(lambda: file_bytes(program.package) == MIRRORS.package, DOWNLOAD_DEADLINE,
                   "the package, byte-identical, in " + program.download_folder)

    def assert_screen(self, window, name, program_waits_for_input=True):
        """Compares the window with a reference picture. A program blocked in a read cannot
        repaint what raising its window would uncover, so it is only raised while it waits."""
        if program_waits_for_input:
            self.desktop.raise_window(window)
        self.desktop.move_pointer_away()
        reference = os.path.join(CONFIG.references, name + ".png")
        update = os.environ.get("QUORVANE_E2E_UPDATE_REFERENCES") == "1"
        deadline = time.monotonic() + 5.0
        expected = Image.load(reference) if os.path.exists(reference) else None
        while True:  # the window may still be painting: compare until it matches or time is up
            shot = self.desktop.window_shot(window)
            difference = 1.0 if expected is None else shot.differing_fraction(expected)
            if difference <= MAX_DIFFERING_PIXELS or time.monotonic() > deadline:
                break
            time.sleep(0.2)
        actual = os.path.join(CONFIG.work, "screens", name + ".png")
        os.makedirs(os.path.dirname(actual), exist_ok=True)
        shot.save(actual)
        if update and difference > MAX_DIFFERING_PIXELS:
            shutil.copyfile(actual, reference)
            return
        self.assertIsNotNone(expected, "no reference %s (the screen is in %s; set "
                             "QUORVANE_E2E_UPDATE_REFERENCES=1 to take it)" % (reference, actual))
        self.assertLessEqual(difference, MAX_DIFFERING_PIXELS,
                             "%s differs from %s in %.1f%% of its pixels"
                             % (actual, reference, difference * 100))

    def close_sample_message(self):
        sample = self.desktop.wait_window(SAMPLE_TITLE)
        self.desktop.key(sample, "Return")
        self.desktop.wait_no_window(SAMPLE_TITLE)


class StartUpTest(ProgramTest):

    def test_any_argument_ends_at_once_without_window_but_with_log_folder(self):
        for argument in ("x", "/?", "下载"):
            with self.subTest(argument=argument):
                shutil.rmtree(self.program.download_folder, ignore_errors=True)
                self.program.start(argument)
                self.assertEqual(self.program.wait_exit(), 0)
                self.assertTrue(os.path.isdir(self.program.log_folder))
                self.assertEqual(self.desktop.windows(MAIN_TITLE), [])

    def test_empty_argument_counts_as_none(self):
        self.program.start("")
        self.desktop.wait_window(MAIN_TITLE)
        self.assertTrue(self.program.running())

    def test_window_opens_at_its_place_and_ends_in_order_when_closed_by_the_system(self):
        window = self.open_main_window()
        self.assertEqual(self.desktop.geometry(window)[:2], MAIN_POSITION)
        self.assertTrue(os.path.isdir(self.program.download_folder))  # made when shown
        self.assertTrue(os.path.isdir(self.program.log_folder))
        self.assert_screen(window, "start-page")
        self.desktop.key(window, "alt+F4")
        self.assertEqual(self.program.wait_exit(), 0)

    def test_second_instance_ends_at_once_until_the_first_has_ended(self):
        first_window = self.open_main_window()
        second = self.new_program("-second")
        second.start()
        self.assertEqual(second.wait_exit(), 0)
        self.assertEqual(self.desktop.windows(MAIN_TITLE), [first_window])
        self.assertTrue(os.path.isdir(second.log_folder))  # the log folder comes first anyway
        self.desktop.key(first_window, "alt+F4")
        self.assertEqual(self.program.wait_exit(), 0)
        self.open_main_window(second)
        self.assertTrue(second.running())

    def test_without_a_log_folder_it_does_not_start(self):
        with open(self.program.download_folder, "w") as blocker:  # a file where the folder goes
            blocker.write("not a folder")
        self.program.start()
        self.assertNotEqual(self.program.wait_exit(), 0)
        self.assertEqual(self.desktop.windows(MAIN_TITLE), [])

    def test_minimise_button_minimises_the_window(self):
        window = self.open_main_window()
        shadow = self.desktop.wait_shadow(window)
        self.desktop.click(window, *MINIMISE)
        # Without a window manager Wine leaves a minimised window where it was; its shadow,
        # which hides while the form is minimised, tells.
        self.desktop.wait_gone(shadow)
        self.assertTrue(self.program.running())

    def test_banner_drags_the_window(self):
        window = self.open_main_window()
        self.desktop.drag(window, *BANNER, 80, 40)
        wait_until(lambda: self.desktop.geometry(window)[:2] == (MAIN_POSITION[0] + 80,
                                                                 MAIN_POSITION[1] + 40),
                   10, "the window to follow the banner")


class DownloadTest(ProgramTest):

    def test_each_line_downloads_from_its_own_mirror_and_installs(self):
        for line, click, used, unused in (("电信", LINE_DX, MIRRORS.dx, MIRRORS.lt),
                                          ("联通", LINE_LT, MIRRORS.lt, MIRRORS.dx)):
            with self.subTest(line=line):
                MIRRORS.reset()
                program = self.new_program("-" + str(used.port))
                window = self.open_main_window(program)
                self.desktop.click(window, *click)
                self.desktop.click(window, *DOWNLOAD_NOW)
                self.wait_package(program)
                gets = [r for r in used.package_requests() if r["method"] == "GET"]
                self.assertEqual(len(gets), 1)
                self.assertEqual(unused.package_requests(), [])
                self.assertFalse(os.path.exists(program.package + ".tmp"))
                self.assert_screen(window, "finished-page")
                self.desktop.click(window, *INSTALL)
                self.assertEqual(program.wait_exit(), 255)  # ended itself with -1
                wait_until(lambda: os.path.exists(os.path.join(program.download_folder,
                                                               "sample-ran.txt")),
                           20, "the sample package to record that it ran")
                self.close_sample_message()

    def test_existing_package_is_kept_on_cancel_and_esc_and_replaced_on_ok(self):
        old = b"an older package"
        os.makedirs(self.program.download_folder, exist_ok=True)
        with open(self.program.package, "wb") as out:
            out.write(old)
        window = self.open_main_window()
        for how in ("Escape", "cancel button"):
            with self.subTest(answer=how):
                self.desktop.click(window, *DOWNLOAD_NOW)
                question = self.wait_dialog(CONFIRM_TITLE)
                if how == "Escape":
                    self.desktop.key(question, "Escape")
                else:
                    width, height = self.desktop.geometry(question)[2:]
                    self.desktop.click(question, *message_box_right_button(width, height))
                self.desktop.wait_gone(question)
                self.assertEqual(file_bytes(self.program.package), old)
                self.assert_screen(window, "start-page")
        self.assertEqual(MIRRORS.dx.package_requests(), [])
        self.desktop.click(window, *DOWNLOAD_NOW)
        question = self.wait_dialog(CONFIRM_TITLE)
        self.desktop.key(question, "Return")
        self.wait_package()


class FailureTest(ProgramTest):

    def test_failure_is_logged_and_close_returns_to_the_start_page(self):
        MIRRORS.dx.rule(status=404)
        window = self.open_main_window()
        self.desktop.click(window, *DOWNLOAD_NOW)
        dialog = self.wait_failure_dialog()
        self.desktop.click(dialog, *INFO_CLOSE)
        self.desktop.wait_gone(dialog)
        self.assert_screen(window, "start-page")
        self.assertTrue(self.program.running())
        log = self.program.log_text()
        self.assertRegex(log, r"\d\d:\d\d:\d\d\.\d{3} \[Information\] 下载失败dsFail。\[[^\r\n]+\]\r\n")
        self.assertFalse(os.path.exists(self.program.package))

    def test_reload_downloads_again_and_resumes_a_cut_download(self):
        cut_at = 2 * CHUNK
        MIRRORS.dx.rule(drop_after=cut_at, drop_count=1)
        window = self.open_main_window()
        self.desktop.click(window, *DOWNLOAD_NOW)
        dialog = self.wait_failure_dialog()
        self.assertEqual(file_size(self.program.package + ".tmp"), cut_at)
        self.desktop.click(dialog, *INFO_RELOAD)
        self.wait_package()
        ranges = [value for r in MIRRORS.dx.package_requests() if r["method"] == "GET"
                  for name, value in r["headers"] if name.lower() == "range"]
        self.assertEqual(ranges, ["bytes=%d-" % cut_at])
        self.assertIn("下载失败dsFail。[", self.program.log_text())

    def test_browser_answer_opens_the_first_mirrors_url_whichever_line(self):
        recorded = os.path.join(CONFIG.work, "browser-url.txt")
        if os.path.exists(recorded):
            os.remove(recorded)
        recorder = os.path.join(CONFIG.work, "record-browser.sh")
        with open(recorder, "w") as script:
            script.write("#!/bin/sh\nprintf '%%s' \"$1\" > '%s.part' && mv '%s.part' '%s'\n"
                         % (recorded, recorded, recorded))
        os.chmod(recorder, os.stat(recorder).st_mode | stat.S_IXUSR)
        subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers",
                        "/t", "REG_SZ", "/d", recorder, "/f"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        MIRRORS.lt.rule(status=404)
        window = self.open_main_window()
        self.desktop.click(window, *LINE_LT)
        self.desktop.click(window, *DOWNLOAD_NOW)
        dialog = self.wait_failure_dialog()
        self.desktop.click(dialog, *INFO_BROWSER)
        self.assertEqual(self.program.wait_exit(), 255)
        wait_until(lambda: os.path.exists(recorded), 20, "the browser to be asked for a URL")
        with open(recorded, encoding="utf-8") as source:
            url = source.read()
        self.assertEqual(url, "http://127.0.0.1:%d/uploads/Quorvane（湖北）（完整安装包）.exe"
                         % CONFIG.port_dx)
        self.assertEqual(MIRRORS.dx.package_requests(), [])


class ResumeTest(ProgramTest):

    def test_killed_download_resumes_from_the_bytes_on_disk(self):
        # Slow enough that both chunks are reported (none is in a measuring window's first 500 ms),
        # so the page shows a settled 1 MiB of 3 whatever the machine's speed.
        stalled_at = 2 * CHUNK
        MIRRORS.dx.rule(stall_after=stalled_at, stall_seconds=20, throttle=600 * 1024)
        window = self.open_main_window()
        self.desktop.click(window, *DOWNLOAD_NOW)
        wait_until(lambda: file_size(self.program.package + ".tmp") == stalled_at,
                   DOWNLOAD_DEADLINE, "the first two chunks on disk")
        # 1 MiB of 3: "正在下载(33%)"; the window was raised by the click.
        self.assert_screen(window, "progress-page", program_waits_for_input=False)
        self.program.kill()
        MIRRORS.reset()
        self.assertFalse(os.path.exists(self.program.package))

        window = self.open_main_window()
        self.desktop.click(window, *DOWNLOAD_NOW)
        self.wait_package()
        ranges = [value for r in MIRRORS.dx.package_requests() if r["method"] == "GET"
                  for name, value in r["headers"] if name.lower() == "range"]
        self.assertEqual(ranges, ["bytes=%d-" % stalled_at])
        self.assertEqual(PACKAGE_SIZE, file_size(self.program.package))


def main():
    global CONFIG
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    for name in ("program", "sample", "mirror-dir", "work", "references"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--port-dx", type=int, required=True)
    parser.add_argument("--port-lt", type=int, required=True)
    CONFIG, rest = parser.parse_known_args()
    os.makedirs(CONFIG.work, exist_ok=True)
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)


if __name__ == "__main__":
    main()
