#!/usr/bin/env python3
"""Starts, scripts and stops local mirrors (mirror.py), from Python or the command line.

    from mirrorctl import Mirror
    with Mirror(root="/tmp/files") as m:        # starts mirror.py, waits for its port
        m.rule("/uploads/a.exe", drop_after=1000)
        url = m.url("/uploads/a.exe")
        ...
        heads = m.requests("/uploads/a.exe")    # recorded requests, oldest first

Command line (used by the ctest fixture and scripts/run.sh):
    mirrorctl.py start --root DIR --port-file FILE [--idle-timeout S] [--log FILE]
    mirrorctl.py stop --port-file FILE
"""

import argparse
import json
import os
import subprocess
import sys
import time
import urllib.parse
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
SERVER = os.path.join(HERE, "mirror.py")
START_DEADLINE = 20.0


class Client:
    """Talks to a running mirror by its port."""

    def __init__(self, port):
        self.port = port

    def url(self, path):
        """The http URL of a served path (the path percent-encoded as UTF-8)."""
        return "http://127.0.0.1:%d%s" % (self.port, urllib.parse.quote(path, safe="/"))

    def _call(self, method, path, body=None, timeout=10.0):
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.port, path),
                                         data=body, method=method)
        with urllib.request.urlopen(request, timeout=timeout) as answer:
            return answer.read()

    def rule(self, path, **values):
        """Scripts the answers for one URL path (replacing its earlier rule)."""
        values["path"] = path
        self._call("POST", "/_control/rule", json.dumps(values).encode("utf-8"))

    def requests(self, path=None):
        query = "" if path is None else "?path=" + urllib.parse.quote(path)
        return json.loads(self._call("GET", "/_control/requests" + query).decode("utf-8"))

    def reset(self, path=None):
        query = "" if path is None else "?path=" + urllib.parse.quote(path)
        self._call("POST", "/_control/reset" + query, b"")

    def ping(self):
        try:
            return self._call("GET", "/_control/ping", timeout=2.0) == b"ok\n"
        except OSError:
            return False

    def stop(self):
        try:
            self._call("POST", "/_control/stop", b"", timeout=5.0)
        except OSError:
            pass


class Mirror(Client):
    """A mirror process owned by the caller: started on enter, stopped on exit."""

    def __init__(self, root, idle_timeout=300.0, verbose=False):
        super().__init__(0)
        self.root = root
        self.idle_timeout = idle_timeout
        self.verbose = verbose
        self.process = None

    def start(self):
        command = [sys.executable, SERVER, "--root", self.root,
                   "--idle-timeout", str(self.idle_timeout)]
        if self.verbose:
            command.append("--verbose")
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()  # "port=N", or "" if the server died
        if not line.startswith("port="):
            self.process.wait(timeout=START_DEADLINE)
            raise RuntimeError("the mirror did not start")
        self.port = int(line.strip().split("=", 1)[1])
        return self

    def stop(self):
        if self.process is None:
            return
        super().stop()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=10)
        self.process.stdout.close()
        self.process = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()


def read_port(port_file):
    try:
        with open(port_file) as source:
            return int(source.read().strip())
    except (OSError, ValueError):
        return None


def start_detached(root, port_file, idle_timeout, log_file):
    """Starts a mirror that outlives this process; returns its port once it answers."""
    stop_by_port_file(port_file)
    os.makedirs(root, exist_ok=True)
    command = [sys.executable, SERVER, "--root", root, "--port-file", port_file,
               "--idle-timeout", str(idle_timeout)]
    with open(log_file or os.devnull, "ab") as log:
        subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                         start_new_session=True)
    deadline = time.monotonic() + START_DEADLINE
    while time.monotonic() < deadline:
        port = read_port(port_file)
        if port is not None and Client(port).ping():
            return port
        time.sleep(0.05)
    raise RuntimeError("the mirror did not report its port within %.0f s" % START_DEADLINE)


def stop_by_port_file(port_file):
    port = read_port(port_file)
    if port is None:
        return
    Client(port).stop()
    deadline = time.monotonic() + 10.0
    while os.path.exists(port_file) and time.monotonic() < deadline:
        time.sleep(0.05)
    if os.path.exists(port_file):
        os.remove(port_file)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    start = commands.add_parser("start", help="start a detached mirror")
    start.add_argument("--root", required=True)
    start.add_argument("--port-file", required=True)
    start.add_argument("--idle-timeout", type=float, default=300.0)
    start.add_argument("--log")
    stop = commands.add_parser("stop", help="stop the mirror named by a port file")
    stop.add_argument("--port-file", required=True)
    args = parser.parse_args()

    if args.command == "start":
        port = start_detached(os.path.abspath(args.root), os.path.abspath(args.port_file),
                              args.idle_timeout, args.log)
        print("port=%d" % port, flush=True)
    else:
        stop_by_port_file(args.port_file)


if __name__ == "__main__":
    main()
