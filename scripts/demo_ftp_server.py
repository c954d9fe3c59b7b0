#!/usr/bin/python3
"""Serves a folder over FTP on 127.0.0.1 for the demo: prints the chosen port, runs until stopped.

With --tls-certificate FILE (a PEM with the certificate and its key) the server speaks explicit
FTP over TLS (AUTH TLS) and requires it for logins and data connections."""
import argparse
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="demo")
    parser.add_argument("--password", default="demo")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--tls-certificate", default=None)
    args = parser.parse_args()

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    handler = FTPHandler
    if args.tls_certificate:
        from OpenSSL import SSL
        from pyftpdlib.handlers import TLS_FTPHandler
        handler = TLS_FTPHandler
        context = SSL.Context(SSL.TLS_SERVER_METHOD)
        context.set_min_proto_version(SSL.TLS1_2_VERSION)
        context.use_certificate_chain_file(args.tls_certificate)
        context.use_privatekey_file(args.tls_certificate)
        context.set_session_id(b"velmora-demo")  # data connections resume the control session
        handler.ssl_context = context
        handler.certfile = args.tls_certificate
        handler.tls_control_required = True
        handler.tls_data_required = True
    handler.authorizer = authorizer
    handler.banner = "Velmora demo server ready."
    handler.passive_ports = None
    server = FTPServer(("127.0.0.1", args.port), handler)
    print(server.address[1], flush=True)
    try:
        server.serve_forever(handle_exit=True)
    finally:
        server.close_all()


if __name__ == "__main__":
    sys.exit(main())
