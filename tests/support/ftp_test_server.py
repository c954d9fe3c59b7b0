#!/usr/bin/python3
"""A real FTP server (pyftpdlib) on a loopback address for Velmora's tests and benchmarks.

Serves one folder to one user with full rights. Prints "PORT <number>" on stdout once it
listens and ends as soon as its standard input closes, so it never outlives the program that
started it (also when that program crashes).
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="velmora")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--no-epsv", action="store_true", help="refuse EPSV, so clients use PASV")
    args = parser.parse_args()

    # Only errors, and only on stderr: stdout carries the port line.
    logger = logging.getLogger("pyftpdlib")
    logger.addHandler(logging.StreamHandler(sys.stderr))
    logger.setLevel(logging.ERROR)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    class Handler(FTPHandler):
        pass

    Handler.authorizer = authorizer
    Handler.banner = "Velmora test server ready."
    Handler.auth_failed_timeout = 0  # answer a wrong password at once
    if args.no_epsv:
        def refuse_epsv(self, line):
            self.respond("502 EPSV not available here.")
        Handler.ftp_EPSV = refuse_epsv

    server = FTPServer((args.host, args.port), Handler)
    server.max_cons = 64
    print("PORT %d" % server.socket.getsockname()[1], flush=True)

    def watch_stdin():
        try:
            while sys.stdin.buffer.read(4096):
                pass
        finally:
            os._exit(0)

    threading.Thread(target=watch_stdin, daemon=True).start()
    server.serve_forever(handle_exit=True)


if __name__ == "__main__":
    main()
