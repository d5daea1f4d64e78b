#!/usr/bin/env python3
"""An update server for the updater tests: serves a folder on a free loopback
port, with the odd answers real servers give:
  /redirect/<path>  302 to /<path>
  /truncate/<path>  announces the whole file, sends half of it and hangs up
  /notfound404      status 404 with the body "404 not found"
  /ok404            status 200 with the body "404 not found"
"""
import functools
import http.server
import sys

NOT_FOUND = b"404 not found"


class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, fmt, *args):
        sys.stdout.write("%s\n" % (fmt % args))

    def answer(self, status, body, length=None):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path.startswith("/redirect/"):
            self.send_response(302)
            self.send_header("Location", self.path[len("/redirect"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif self.path.startswith("/truncate/"):
            with open(self.translate_path(self.path[len("/truncate"):]), "rb") as f:
                data = f.read()
            self.answer(200, data[: len(data) // 2], len(data))
            self.close_connection = True
        elif self.path == "/notfound404":
            self.answer(404, NOT_FOUND)
        elif self.path == "/ok404":
            self.answer(200, NOT_FOUND)
        else:
            super().do_GET()


def main():
    handler = functools.partial(Handler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print("Serving HTTP on 127.0.0.1 port %d" % server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
