#!/usr/bin/python3
"""A real FTP server (pyftpdlib) for the tests: serves a folder to one account
on loopback, prints "ready <port>" once listening. --rate slows transfers so a
test can stop the server in the middle of one."""
import argparse
import logging
import signal
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer

parser = argparse.ArgumentParser()
parser.add_argument("--root", required=True)
parser.add_argument("--user", required=True)
parser.add_argument("--password", required=True)
parser.add_argument("--port", type=int, default=0)
parser.add_argument("--rate", type=int, default=0, help="bytes per second, 0 = unlimited")
args = parser.parse_args()
logging.basicConfig(level=logging.WARNING)

authorizer = DummyAuthorizer()
authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
handler = FTPHandler
handler.authorizer = authorizer
if args.rate > 0:
    dtp = ThrottledDTPHandler
    dtp.read_limit = args.rate
    dtp.write_limit = args.rate
    handler.dtp_handler = dtp

server = FTPServer(("127.0.0.1", args.port), handler)
# SystemExit ends serve_forever, which closes every connection.
signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
print("ready %d" % server.socket.getsockname()[1], flush=True)
server.serve_forever()
