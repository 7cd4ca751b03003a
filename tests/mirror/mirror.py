#!/usr/bin/env python3
"""Local HTTP mirror for tests, benchmarks and `make run`.

Serves the files under --root over HTTP/1.1 on 127.0.0.1 (HEAD and GET, `Range: bytes=N-`),
can be scripted per URL path to misbehave in the ways real mirrors do, records every request,
and stops by itself after --idle-timeout seconds without a request. See README.md beside it.
"""

import argparse
import email.utils
import io
import json
import os
import socket
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

CHUNK = 256 * 1024
MAX_RECORDED_BODY = 64 * 1024
MAX_RECORDED_REQUESTS = 10000
MAX_BODY = 16 * 1024 * 1024
RESET_GRACE_SECONDS = 0.3

# Rule keys and the type of their values.
RULE_KEYS = {
    "fail_first": int,  # answer fail_status to the first K requests (HEAD and GET)
    "fail_status": int,  # the status of those answers (default 404)
    "fail_method": str,  # count and fail only requests of this method (default: every method)
    "drop_after": int,  # close the connection after N body bytes ...
    "drop_count": int,  # ... in this many GET answers (default 1; -1 every answer)
    "drop_reset": bool,  # drop with a TCP reset instead of an orderly close
    "stall_after": int,  # after N body bytes stop sending but keep the connection open
    "stall_seconds": float,  # how long a stalled connection is held (default 60)
    "throttle": int,  # body bytes per second
    "ignore_range": bool,  # answer a Range request with 200 and the whole body
    "range_start": int,  # answer a Range request with 206 starting at this offset instead
    "content_length": int,  # announce this Content-Length (the body stays the file's)
    "no_content_length": bool,  # announce no Content-Length; the body ends when the connection closes
    "last_modified": str,  # send this Last-Modified text instead of the file's time
    "no_last_modified": bool,  # send no Last-Modified
    "status": int,  # answer every request with this status and an empty body
}


def http_date(seconds):
    return email.utils.formatdate(seconds, usegmt=True)


class Rule:
    def __init__(self, values):
        self.values = values
        self.requests_seen = 0
        self.drops_done = 0

    def get(self, key, default=None):
        return self.values.get(key, default)


class MirrorState:
    def __init__(self, root):
        self.root = os.path.abspath(root)
        self.lock = threading.Lock()
        self.rules = {}
        self.requests = []
        self.last_activity = time.monotonic()

    def touch(self):
        with self.lock:
            self.last_activity = time.monotonic()

    def idle_seconds(self):
        with self.lock:
            return time.monotonic() - self.last_activity

    def set_rule(self, path, values):
        with self.lock:
            self.rules[normalise_path(path)] = Rule(values)

    def rule_for(self, path):
        with self.lock:
            return self.rules.get(path)

    def record(self, entry):
        with self.lock:
            if len(self.requests) < MAX_RECORDED_REQUESTS:
                self.requests.append(entry)

    def recorded(self, path=None):
        with self.lock:
            return [r for r in self.requests if path is None or r["path"] == path]

    def reset(self, path=None):
        with self.lock:
            if path is None:
                self.rules.clear()
                self.requests.clear()
            else:
                self.rules.pop(path, None)
                self.requests = [r for r in self.requests if r["path"] != path]


def normalise_path(raw_path):
    """The decoded (UTF-8) path of a request target, without query or fragment."""
    path = urllib.parse.urlsplit(raw_path).path
    return urllib.parse.unquote(path, encoding="utf-8", errors="replace")


def parse_rule(body):
    values = json.loads(body.decode("utf-8"))
    if not isinstance(values, dict) or not isinstance(values.get("path"), str):
        raise ValueError('a rule is a JSON object with a "path"')
    rule = {}
    for key, value in values.items():
        if key == "path":
            continue
        kind = RULE_KEYS.get(key)
        if kind is None:
            raise ValueError("unknown rule key: " + key)
        if kind is float and isinstance(value, int):
            value = float(value)
        if not isinstance(value, kind) or (kind is int and isinstance(value, bool)):
            raise ValueError("rule key %s needs a %s" % (key, kind.__name__))
        rule[key] = value
    return values["path"], rule


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "QuorvaneMirror/1.0"

    def log_message(self, fmt, *args):
        if self.server.verbose:
            sys.stderr.write("mirror: " + (fmt % args) + "\n")

    # ---- request entry points -------------------------------------------------------------

    def do_HEAD(self):
        self.handle_request()

    def do_GET(self):
        self.handle_request()

    def do_POST(self):
        self.handle_request()

    def do_PUT(self):
        self.handle_request()

    def handle_request(self):
        state = self.server.state
        state.touch()
        path = normalise_path(self.path)
        body = self.read_request_body()
        if body is None:
            return
        if path.startswith("/_control/"):
            self.handle_control(path, body)
            return
        state.record(self.describe_request(path, body))
        if path == "/_echo":
            self.send_simple(200, body, "application/octet-stream")
            return
        self.serve_file(path, state.rule_for(path))

    def read_request_body(self):
        length = self.headers.get("Content-Length")
        if length is None:
            return b""
        try:
            count = int(length)
        except ValueError:
            self.send_simple(400, b"bad Content-Length\n")
            return None
        if count < 0 or count > MAX_BODY:
            self.send_simple(413, b"request body too large\n")
            return None
        return self.rfile.read(count)

    def describe_request(self, path, body):
        return {
            "time": time.time(),
            "method": self.command,
            "target": self.path,
            "path": path,
            "request_line": self.requestline,
            "headers": [[name, value] for name, value in self.headers.items()],
            "body_length": len(body),
            "body_hex": body[:MAX_RECORDED_BODY].hex(),
        }

    # ---- control ----------------------------------------------------------------------------

    def handle_control(self, path, body):
        state = self.server.state
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(self.path).query)
        only_path = query.get("path", [None])[0]
        try:
            if path == "/_control/rule" and self.command in ("POST", "PUT"):
                rule_path, rule = parse_rule(body)
                state.set_rule(rule_path, rule)
                self.send_simple(200, b"ok\n")
            elif path == "/_control/requests" and self.command == "GET":
                entries = state.recorded(only_path)
                if query.get("format", ["json"])[0] == "text":
                    self.send_simple(200, format_requests_as_text(entries))
                else:
                    self.send_simple(200, json.dumps(entries, ensure_ascii=False).encode(),
                                     "application/json; charset=utf-8")
            elif path == "/_control/reset" and self.command == "POST":
                state.reset(only_path)
                self.send_simple(200, b"ok\n")
            elif path == "/_control/ping":
                self.send_simple(200, b"ok\n")
            elif path == "/_control/stop" and self.command == "POST":
                self.send_simple(200, b"stopping\n")
                threading.Thread(target=self.server.shutdown, daemon=True).start()
            else:
                self.send_simple(404, b"unknown control request\n")
        except (ValueError, json.JSONDecodeError) as error:
            self.send_simple(400, (str(error) + "\n").encode())

    # ---- files ------------------------------------------------------------------------------

    def serve_file(self, path, rule):
        rule = rule or Rule({})
        if rule.get("status") is not None:
            self.send_simple(rule.get("status"), b"")
            return
        if self.should_fail(rule):
            self.send_simple(rule.get("fail_status", 404), b"scripted failure\n")
            return
        file_path = self.resolve(path)
        if file_path is None:
            self.send_simple(404, b"not found\n")
            return
        size = os.path.getsize(file_path)
        start, status = self.choose_range(size, rule)
        if status == 416:
            self.send_response(416)
            self.send_header("Content-Range", "bytes */%d" % size)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        body_length = size - start
        closes_after = self.send_file_headers(status, start, size, body_length, file_path, rule)
        if self.command == "GET":
            self.send_body(file_path, start, body_length, rule)
        if closes_after:
            self.close_connection = True

    def should_fail(self, rule):
        fail_first = rule.get("fail_first", 0)
        method = rule.get("fail_method")
        if fail_first <= 0 or (method is not None and method != self.command):
            return False
        with self.server.state.lock:
            rule.requests_seen += 1
            return rule.requests_seen <= fail_first

    def resolve(self, path):
        root = self.server.state.root
        candidate = os.path.realpath(os.path.join(root, path.lstrip("/")))
        if not candidate.startswith(root + os.sep) or not os.path.isfile(candidate):
            return None
        return candidate

    def choose_range(self, size, rule):
        """(first byte to send, status) for this request."""
        header = self.headers.get("Range")
        if header is None or rule.get("ignore_range"):
            return 0, 200
        spec = header.strip()
        if not spec.startswith("bytes=") or "," in spec:
            return 0, 200
        first, _, _last = spec[len("bytes="):].partition("-")
        try:
            start = int(first)
        except ValueError:
            return 0, 200
        if rule.get("range_start") is not None:
            start = rule.get("range_start")
        if start >= size:
            return 0, 416
        return start, 206

    def send_file_headers(self, status, start, size, body_length, file_path, rule):
        """Sends status and headers; answers whether the connection must close after the body."""
        self.send_response(status)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range", "bytes %d-%d/%d" % (start, size - 1, size))
        announced = rule.get("content_length")
        closes_after = False
        if rule.get("no_content_length"):
            closes_after = True
            self.send_header("Connection", "close")
        else:
            length = body_length if announced is None else announced
            self.send_header("Content-Length", str(length))
            if length != body_length:
                closes_after = True
                self.send_header("Connection", "close")
        if not rule.get("no_last_modified"):
            modified = rule.get("last_modified") or http_date(os.path.getmtime(file_path))
            self.send_header("Last-Modified", modified)
        self.end_headers()
        return closes_after

    def send_body(self, file_path, start, length, rule):
        limit, mode = self.body_limit(rule, length)
        throttle = rule.get("throttle", 0)
        with open(file_path, "rb") as source:
            source.seek(start)
            if throttle <= 0 and limit == length:
                sent = self.send_fast(source, start, length)
            else:
                sent = self.send_paced(source, limit, throttle)
        if sent < limit:
            return  # the client went away
        if mode == "drop":
            self.drop_connection(rule.get("drop_reset", False))
        elif mode == "stall":
            self.stall(rule.get("stall_seconds", 60.0))

    def body_limit(self, rule, length):
        drop_after = rule.get("drop_after")
        if drop_after is not None and drop_after < length:
            with self.server.state.lock:
                wanted = rule.get("drop_count", 1)
                if wanted < 0 or rule.drops_done < wanted:
                    rule.drops_done += 1
                    return drop_after, "drop"
        stall_after = rule.get("stall_after")
        if stall_after is not None and stall_after < length:
            return stall_after, "stall"
        return length, "full"

    def send_fast(self, source, start, length):
        self.wfile.flush()
        try:
            return self.connection.sendfile(source, start, length)
        except (ConnectionError, OSError):
            return 0

    def send_paced(self, source, limit, throttle):
        sent = 0
        began = time.monotonic()
        piece = CHUNK if throttle <= 0 else max(1, min(CHUNK, throttle // 20))
        while sent < limit:
            data = source.read(min(piece, limit - sent))
            if not data:
                break
            try:
                self.wfile.write(data)
                self.wfile.flush()
            except (ConnectionError, OSError):
                return sent
            sent += len(data)
            self.server.state.touch()
            if throttle > 0:
                ahead = sent / throttle - (time.monotonic() - began)
                if ahead > 0:
                    time.sleep(ahead)
        return sent

    def drop_connection(self, reset):
        try:
            self.wfile.flush()
            if reset:
                # Give the client a moment to take the bytes already sent: a reset discards
                # what it has not read yet.
                time.sleep(RESET_GRACE_SECONDS)
                # Closing with a zero linger time sends RST instead of FIN; every reference to
                # the socket must go for the close to happen now.
                self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER,
                                           struct.pack("ii", 1, 0))
                self.rfile.close()
                self.wfile.close()
                self.connection.close()
                self.wfile = io.BytesIO()  # the handler flushes it once more
            else:
                self.connection.shutdown(socket.SHUT_WR)
        except OSError:
            pass
        self.close_connection = True

    def stall(self, seconds):
        """Holds the connection open without sending until the client leaves or time is up."""
        self.wfile.flush()
        deadline = time.monotonic() + seconds
        self.connection.settimeout(0.2)
        while time.monotonic() < deadline:
            try:
                if self.connection.recv(4096) == b"":
                    break
            except socket.timeout:
                continue
            except OSError:
                break
        self.close_connection = True

    def send_simple(self, status, body, content_type="text/plain; charset=utf-8"):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)


def format_requests_as_text(entries):
    """Each request as its request line and header lines, CR LF, a blank line after each."""
    out = []
    for entry in entries:
        lines = [entry["request_line"]] + ["%s: %s" % (n, v) for n, v in entry["headers"]]
        out.append("\r\n".join(lines) + "\r\n\r\n")
    return "".join(out).encode("utf-8")


class MirrorServer(ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, state, verbose):
        super().__init__(address, Handler)
        self.state = state
        self.verbose = verbose


def write_port_file(path, port):
    temporary = path + ".part"
    with open(temporary, "w") as out:
        out.write("%d\n" % port)
    os.replace(temporary, path)


def watch_idle(server, idle_timeout, lifetime):
    began = time.monotonic()
    while True:
        time.sleep(0.5)
        if server.state.idle_seconds() > idle_timeout or time.monotonic() - began > lifetime:
            server.shutdown()
            return


def main():
    parser = argparse.ArgumentParser(description="Local HTTP mirror for Quorvane tests.")
    parser.add_argument("--root", required=True, help="folder whose files are served")
    parser.add_argument("--port", type=int, default=0, help="port (default: an ephemeral one)")
    parser.add_argument("--port-file", help="write the port number to this file once listening")
    parser.add_argument("--idle-timeout", type=float, default=300.0,
                        help="stop after this many seconds without a request (default 300)")
    parser.add_argument("--lifetime", type=float, default=3600.0,
                        help="stop after this many seconds in any case (default 3600)")
    parser.add_argument("--verbose", action="store_true", help="log each request to stderr")
    args = parser.parse_args()

    if not os.path.isdir(args.root):
        parser.error("--root is not a folder: " + args.root)
    server = MirrorServer(("127.0.0.1", args.port), MirrorState(args.root), args.verbose)
    port = server.server_address[1]
    if args.port_file:
        write_port_file(args.port_file, port)
    print("port=%d" % port, flush=True)
    threading.Thread(target=watch_idle, args=(server, args.idle_timeout, args.lifetime),
                     daemon=True).start()
    try:
        server.serve_forever(poll_interval=0.2)
    finally:
        server.server_close()
        if args.port_file:
            try:
                os.remove(args.port_file)
            except OSError:
                pass


if __name__ == "__main__":
    main()
