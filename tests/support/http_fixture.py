#!/usr/bin/env python3
"""A loopback HTTP server for the network tests.

Usage: http_fixture.py LOG ROUTE...   with ROUTE one of
  /path=FILE        answers 200 with the file's bytes
  /path=@slow       sends headers, then nothing for a minute
  /path=@hang       sends nothing at all for a minute
  /path=@big:N      answers 200 with N bytes
  /path=@status:N   answers status N with a short body
  /path=@redirect:URL  answers 302 to URL
Anything else is a 404. With HTTP_FIXTURE_TLS=CERT:KEY in the environment it speaks HTTPS. The port goes to stdout as one line; each request's path and
User-Agent are appended to LOG.
"""
import http.server
import os
import ssl
import sys
import time

LOG = sys.argv[1]
ROUTES = dict(arg.split("=", 1) for arg in sys.argv[2:])


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def do_GET(self):
        with open(LOG, "a") as log:
            log.write(f"{self.path}\t{self.headers.get('User-Agent', '')}\n")
        route = ROUTES.get(self.path.split("?", 1)[0])
        if route is None:
            self.answer(404, b"not here")
        elif route == "@slow":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.flush()
            time.sleep(60)
        elif route == "@hang":
            time.sleep(60)
        elif route.startswith("@big:"):
            size = int(route[5:])
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            chunk = b"x" * 65536
            try:
                while size > 0:
                    self.wfile.write(chunk[: min(size, len(chunk))])
                    size -= len(chunk)
            except (BrokenPipeError, ConnectionResetError):
                pass
        elif route.startswith("@redirect:"):
            self.send_response(302)
            self.send_header("Location", route[10:])
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif route.startswith("@status:"):
            self.answer(int(route[8:]), b"<html>24-hour forecast</html>")
        else:
            with open(route, "rb") as f:
                self.answer(200, f.read())

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
if os.environ.get("HTTP_FIXTURE_TLS"):
    cert, key = os.environ["HTTP_FIXTURE_TLS"].split(":")
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
