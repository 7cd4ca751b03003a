#!/usr/bin/env python3
"""Checks the local mirror's scripted behaviours over real sockets."""

import http.client
import os
import socket
import tempfile
import unittest

from mirrorctl import Mirror

PACKAGE = "/uploads/Quorvane（湖北）（完整安装包）.exe"
DATA = bytes(range(256)) * 40  # 10240 bytes


class MirrorTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        os.makedirs(os.path.join(cls.folder.name, "uploads"))
        with open(os.path.join(cls.folder.name, PACKAGE.lstrip("/")), "wb") as out:
            out.write(DATA)
        cls.mirror = Mirror(cls.folder.name, idle_timeout=60).start()

    @classmethod
    def tearDownClass(cls):
        cls.mirror.stop()
        cls.folder.cleanup()

    def setUp(self):
        self.mirror.reset()

    def fetch(self, method="GET", headers=None, path=PACKAGE):
        connection = http.client.HTTPConnection("127.0.0.1", self.mirror.port, timeout=10)
        target = self.mirror.url(path).split(str(self.mirror.port), 1)[1]
        connection.request(method, target, headers=headers or {})
        answer = connection.getresponse()
        try:
            body = answer.read()
        except http.client.IncompleteRead as partial:
            body = partial.partial
        connection.close()
        return answer, body

    def test_serves_encoded_chinese_path_whole_and_ranged(self):
        cases = [  # (request headers, status, first byte, Content-Range)
            ({}, 200, 0, None),
            ({"Range": "bytes=1000-"}, 206, 1000, "bytes 1000-10239/10240"),
            ({"Range": "bytes=0-"}, 206, 0, "bytes 0-10239/10240"),
        ]
        for headers, status, start, content_range in cases:
            with self.subTest(headers=headers):
                answer, body = self.fetch(headers=headers)
                self.assertEqual(answer.status, status)
                self.assertEqual(body, DATA[start:])
                self.assertEqual(answer.getheader("Content-Length"), str(len(DATA) - start))
                self.assertEqual(answer.getheader("Content-Range"), content_range)
                self.assertIsNotNone(answer.getheader("Last-Modified"))

    def test_head_announces_length_without_body(self):
        answer, body = self.fetch("HEAD")
        self.assertEqual((answer.status, body), (200, b""))
        self.assertEqual(answer.getheader("Content-Length"), str(len(DATA)))

    def test_range_past_the_end_is_416(self):
        answer, _ = self.fetch(headers={"Range": "bytes=10240-"})
        self.assertEqual(answer.status, 416)

    def test_missing_file_and_escape_attempt_are_404(self):
        for path in ["/uploads/none.exe", "/../mirror.py", "/uploads/../../etc/passwd"]:
            with self.subTest(path=path):
                self.assertEqual(self.fetch(path=path)[0].status, 404)

    def test_fail_first_answers_scripted_status_then_serves(self):
        self.mirror.rule(PACKAGE, fail_first=2, fail_status=500)
        statuses = [self.fetch()[0].status for _ in range(3)]
        self.assertEqual(statuses, [500, 500, 200])

    def test_drop_after_cuts_only_the_first_answer(self):
        self.mirror.rule(PACKAGE, drop_after=1000)
        self.assertEqual(len(self.fetch()[1]), 1000)
        self.assertEqual(self.fetch()[1], DATA)

    def test_reset_drop_is_seen_as_connection_reset(self):
        self.mirror.rule(PACKAGE, drop_after=4000, drop_reset=True)
        with socket.create_connection(("127.0.0.1", self.mirror.port), timeout=10) as s:
            target = self.mirror.url(PACKAGE).split(str(self.mirror.port), 1)[1]
            s.sendall(("GET %s HTTP/1.1\r\nHost: x\r\n\r\n" % target).encode())
            received = b""
            with self.assertRaises(ConnectionResetError):
                while True:
                    piece = s.recv(65536)
                    if not piece:
                        break
                    received += piece
        self.assertLessEqual(len(received.split(b"\r\n\r\n", 1)[1]), 4000)

    def test_announced_lengths_and_dates_can_be_scripted(self):
        cases = [  # (rule, Content-Length, Last-Modified)
            ({"content_length": 99999}, "99999", None),
            ({"no_content_length": True}, None, None),
            ({"last_modified": "Mon, 01 Jan 2024 00:00:00 GMT"}, str(len(DATA)),
             "Mon, 01 Jan 2024 00:00:00 GMT"),
        ]
        for rule, length, modified in cases:
            with self.subTest(rule=rule):
                self.mirror.rule(PACKAGE, **rule)
                answer, body = self.fetch()
                self.assertEqual(body, DATA)
                self.assertEqual(answer.getheader("Content-Length"), length)
                if modified:
                    self.assertEqual(answer.getheader("Last-Modified"), modified)

    def test_ignore_range_and_range_start(self):
        self.mirror.rule(PACKAGE, ignore_range=True)
        answer, body = self.fetch(headers={"Range": "bytes=100-"})
        self.assertEqual((answer.status, body), (200, DATA))
        self.mirror.rule(PACKAGE, range_start=50)
        answer, body = self.fetch(headers={"Range": "bytes=100-"})
        self.assertEqual((answer.status, body), (206, DATA[50:]))

    def test_records_request_lines_and_headers(self):
        self.fetch(headers={"Range": "bytes=7-", "X-Test": "a b"})
        recorded = self.mirror.requests(PACKAGE)
        self.assertEqual(len(recorded), 1)
        self.assertTrue(recorded[0]["request_line"].startswith("GET /uploads/Quorvane%EF%BC%88"))
        self.assertIn(["Range", "bytes=7-"], recorded[0]["headers"])
        self.assertEqual(self.mirror.requests("/other"), [])

    def test_echo_returns_post_body(self):
        connection = http.client.HTTPConnection("127.0.0.1", self.mirror.port, timeout=10)
        connection.request("POST", "/_echo", body=b"abc")
        answer = connection.getresponse()
        self.assertEqual(answer.read(), b"abc")
        self.assertEqual(self.mirror.requests("/_echo")[0]["body_hex"], "616263")

    def test_bad_rule_is_refused(self):
        with self.assertRaises(Exception):
            self.mirror.rule(PACKAGE, no_such_key=1)


if __name__ == "__main__":
    unittest.main()
