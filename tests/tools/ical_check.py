#!/usr/bin/python3
"""Checks a calendar file with parsers Jotterly does not share code with.

Every item must parse with python3-icalendar, and a real CalDAV server (Radicale, started here
on 127.0.0.1 and stopped by its PID) must take each one as a calendar object of its own: it
refuses data it cannot read. Usage: ical_check.py FILE.ics
"""
import base64
import http.client
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time

import icalendar


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def request(port, method, path, body=b"", headers=None):
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
    # No passwords are checked (auth none), but the user must own the collection it writes.
    headers = dict(headers or {}, Authorization="Basic " + base64.b64encode(b"test:x").decode())
    conn.request(method, path, body=body, headers=headers)
    reply = conn.getresponse()
    text = reply.read()
    conn.close()
    return reply.status, text


def main(path):
    with open(path, "rb") as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    zones = [c for c in calendar.subcomponents if c.name == "VTIMEZONE"]
    items = [c for c in calendar.subcomponents if c.name in ("VEVENT", "VJOURNAL", "VTODO")]
    for item in items:  # each item reads back with its text intact
        assert item.get("UID"), "an item without UID"
        str(item.get("SUMMARY", ""))
    with tempfile.TemporaryDirectory() as folder:
        port = free_port()
        server = subprocess.Popen(
            ["/usr/bin/python3", "-m", "radicale", "--server-hosts", f"127.0.0.1:{port}",
             "--storage-filesystem-folder", os.path.join(folder, "store"),
             "--auth-type", "none", "--rights-type", "owner_only", "--logging-level", "warning"],
            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            for _ in range(300):
                try:
                    socket.create_connection(("127.0.0.1", port), timeout=1).close()
                    break
                except OSError:
                    time.sleep(0.1)
            status, text = request(port, "MKCOL", "/test/cal/", b"""<?xml version="1.0"?>
<mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav"><set><prop>
<resourcetype><collection/><C:calendar/></resourcetype></prop></set></mkcol>""",
                                   {"Content-Type": "application/xml"})
            assert status == 201, f"MKCOL: {status} {text[:200]!r}"
            refused = 0
            for n, item in enumerate(items):
                one = icalendar.Calendar()
                one.add("VERSION", "2.0")
                one.add("PRODID", "-//check//EN")
                for z in zones:
                    one.add_component(z)
                one.add_component(item)
                status, text = request(port, "PUT", f"/test/cal/item{n}.ics", one.to_ical(),
                                       {"Content-Type": "text/calendar"})
                if status not in (201, 204):
                    refused += 1
                    print(f"item {n} ({item.get('UID')}): {status} {text[:300]!r}")
            print(f"{len(items)} items, {refused} refused")
            return 1 if refused or not items else 0
        finally:
            server.send_signal(signal.SIGTERM)
            try:
                server.wait(timeout=20)
            except subprocess.TimeoutExpired:
                server.kill()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
