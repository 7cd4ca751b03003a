"""The two mirror lines on the fixed local ports the test build of the program was made for,
both serving the same package."""

import fcntl
import os
import subprocess
import sys

from desktop import wait_until

PACKAGE_PATH = "/uploads/Quorvane（湖北）（完整安装包）.exe"
PACKAGE_SIZE = 3 * 1024 * 1024  # six 512 KiB reads: room for a progress page and a cut
LOCK_FILE = "/tmp/quorvane-local-mirrors.lock"


def make_package(sample_exe):
    """The sample program followed by deterministic filler, which Windows ignores."""
    with open(sample_exe, "rb") as source:
        data = bytearray(source.read())
    counter = 0
    while len(data) < PACKAGE_SIZE:
        data += counter.to_bytes(4, "little")
        counter += 1
    return bytes(data[:PACKAGE_SIZE])


class FixedPortMirror:
    """One mirror.py process on a given port (the mirror's own helper picks ephemeral ports)."""

    def __init__(self, mirror_dir, root, port):
        sys.path.insert(0, mirror_dir)
        from mirrorctl import Client  # noqa: E402  (the mirror's own client)
        self.client = Client(port)
        self.server = os.path.join(mirror_dir, "mirror.py")
        self.root, self.port, self.process = root, port, None

    def start(self):
        self.process = subprocess.Popen(
            [sys.executable, self.server, "--root", self.root, "--port", str(self.port),
             "--idle-timeout", "600"], stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        if not line.startswith("port="):
            error = self.process.stderr.read()
            raise RuntimeError("the mirror on port %d did not start: %s" % (self.port, error))
        wait_until(self.client.ping, 10, "the mirror on port %d to answer" % self.port)

    def stop(self):
        if self.process is None:
            return
        self.client.stop()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.process.stdout.close()
        self.process.stderr.close()
        self.process = None

    def rule(self, **values):
        self.client.rule(PACKAGE_PATH, **values)

    def package_requests(self):
        return self.client.requests(PACKAGE_PATH)

    def reset(self):
        self.client.reset()


class LocalMirrors:
    """Both lines. Holds a lock for its lifetime so that runs from other build folders, which use
    the same ports, wait instead of colliding."""

    def __init__(self, work_dir, mirror_dir, sample_exe, port_dx, port_lt):
        self.package = make_package(sample_exe)
        self.lines = {}
        for name, port in (("dx", port_dx), ("lt", port_lt)):
            root = os.path.join(work_dir, "mirror-" + name)
            package_file = os.path.join(root, PACKAGE_PATH.lstrip("/"))
            os.makedirs(os.path.dirname(package_file), exist_ok=True)
            with open(package_file, "wb") as out:
                out.write(self.package)
            self.lines[name] = FixedPortMirror(mirror_dir, root, port)
        self.lock = None

    @property
    def dx(self):
        return self.lines["dx"]

    @property
    def lt(self):
        return self.lines["lt"]

    def start(self):
        self.lock = open(LOCK_FILE, "w")
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        for mirror in self.lines.values():
            mirror.start()

    def stop(self):
        for mirror in self.lines.values():
            mirror.stop()
        if self.lock:
            self.lock.close()
            self.lock = None

    def reset(self):
        for mirror in self.lines.values():
            mirror.reset()
