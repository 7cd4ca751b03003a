"""The downloader as a user has it: a folder with the executable, started under Wine with the
build's prefix, and the files it leaves beside itself."""

import datetime
import os
import shutil
import signal
import subprocess

PACKAGE_NAME = "Quorvane（湖北）（完整安装包）.exe"
EXE_NAME = "Quorvane.exe"
EXIT_DEADLINE = 20.0


class ProgramFolder:
    """A fresh folder holding a copy of the program, as a user would unpack it."""

    def __init__(self, folder, program_exe):
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        self.folder = folder
        self.exe = os.path.join(folder, EXE_NAME)
        shutil.copyfile(program_exe, self.exe)
        self.process = None

    @property
    def download_folder(self):
        return os.path.join(self.folder, "Quorvane")

    @property
    def package(self):
        return os.path.join(self.download_folder, PACKAGE_NAME)

    @property
    def log_folder(self):
        return os.path.join(self.download_folder, "Log")

    def log_text(self):
        """Today's log file, decoded from code page 936; empty when there is none."""
        name = "Quorvane_%s.log" % datetime.date.today().strftime("%Y%m%d")
        try:
            with open(os.path.join(self.log_folder, name), "rb") as log:
                return log.read().decode("gbk")
        except FileNotFoundError:
            return ""

    def start(self, *arguments):
        self.process = subprocess.Popen(["wine", self.exe, *arguments], cwd=self.folder,
                                        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return self.process

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=EXIT_DEADLINE):
        """The exit code as the Linux side sees it: the low 8 bits (-1 shows as 255)."""
        return self.process.wait(timeout=timeout)

    def kill(self):
        """Ends the program the hard way, as a crash or the task manager would."""
        if self.running():
            self.process.send_signal(signal.SIGKILL)
            self.process.wait(timeout=EXIT_DEADLINE)
