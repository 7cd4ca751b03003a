#!/usr/bin/env python3
"""Turns qfetch's JSON progress lines (stdin) into one updating progress line on the terminal."""
import json
import sys

for line in sys.stdin:
    try:
        report = json.loads(line)
    except ValueError:
        continue
    status = report["status"]
    if status == "progress":
        size = report["size"]
        percent = report["position"] * 100 // size if size > 0 else 0
        sys.stdout.write("\r正在下载(%d%%)  %s  剩余 %s   " % (
            percent, report["speedText"], report["remainText"]))
    elif status in ("fail", "error"):
        sys.stdout.write("\n下载失败: %s\n" % report["message"])
    elif status == "finish":
        sys.stdout.write("\n下载结束 (%d / %d 字节)\n" % (report["position"], report["size"]))
    sys.stdout.flush()
