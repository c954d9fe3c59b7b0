#!/usr/bin/python3
"""A real FTP server (pyftpdlib) on a loopback address for Velmora's tests and benchmarks.

Serves one folder to one user with full rights. Prints "PORT <number>" on stdout once it
listens and ends as soon as its standard input closes, so it never outlives the program that
started it (also when that program crashes).

With --hold-after N every data transfer moves N bytes and then nothing more until the client
aborts it (ABOR or closing the connection): a test that aborts a transfer after its first
progress can never lose the race against the transfer's end, however busy the machine is. Files
shorter than N bytes move normally; do not use files of exactly N bytes. With --release-file F
as well, a held transfer goes on to its end once the file F exists (a test can act while a
transfer surely runs, then let it finish).

With --tls explicit (AUTH TLS) or --tls implicit (TLS from the first byte) the server speaks FTP
over TLS with the certificate and key in --certificate (one PEM file). --require-session-reuse
refuses every data connection whose TLS session is not a resumption of the control connection's
session, as many production servers do. --command-log FILE appends every command verb the server
receives, one a line (passwords are never written). --no-rest makes a server that cannot restart
transfers (no "REST STREAM" in FEAT, REST an unknown command). --max-connections-per-ip N
answers every further connection from one address with "421 Too many connections from the
same IP address." while N are open. --order-log FILE appends every command with its argument
as the client sent it, and "DONE <absolute path>" whenever a file transfer has ended, so a test
can see what happened before the end of a transfer.
"""
import argparse
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--user", default="velmora")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--no-epsv", action="store_true", help="refuse EPSV, so clients use PASV")
    parser.add_argument("--no-passive", action="store_true",
                        help="refuse EPSV and PASV, so only a client in active mode can transfer")
    parser.add_argument("--hold-after", type=int, default=0,
                        help="hold every data transfer after this many bytes until the client aborts it")
    parser.add_argument("--release-file", default="",
                        help="with --hold-after: a held transfer goes on once this file exists")
    parser.add_argument("--tls", choices=["explicit", "implicit"], default=None)
    parser.add_argument("--certificate", default=None, help="PEM file with the certificate chain and the key")
    parser.add_argument("--require-session-reuse", action="store_true")
    parser.add_argument("--outdated-tls-only", action="store_true",
                        help="speak TLS 1.0 and 1.1 only, as old servers do")
    parser.add_argument("--command-log", default=None)
    parser.add_argument("--no-rest", action="store_true",
                        help="a server that cannot restart transfers: no REST in FEAT, REST unknown")
    parser.add_argument("--max-connections-per-ip", type=int, default=0,
                        help="refuse further connections from one address with 421 (0: no limit)")
    parser.add_argument("--order-log", default=None)
    args = parser.parse_args()

    # Only errors, and only on stderr: stdout carries the port line.
    logger = logging.getLogger("pyftpdlib")
    logger.addHandler(logging.StreamHandler(sys.stderr))
    logger.setLevel(logging.ERROR)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")

    base_handler = FTPHandler
    if args.tls:
        from OpenSSL import SSL
        from OpenSSL._util import lib as ssl_lib
        from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler
        base_handler = TLS_FTPHandler

    class Handler(base_handler):
        def pre_process_command(self, line, cmd, arg):
            if args.command_log:
                with open(args.command_log, "a") as log:
                    log.write(cmd + "\n")
            if args.order_log and cmd not in ("PASS",):
                with open(args.order_log, "a") as log:
                    log.write(cmd + (" " + arg if arg else "") + "\n")
            return super().pre_process_command(line, cmd, arg)

        def log_done(self, file):
            if args.order_log:
                with open(args.order_log, "a") as log:
                    log.write("DONE " + file + "\n")

        def on_file_sent(self, file):
            self.log_done(file)

        def on_file_received(self, file):
            self.log_done(file)

        def on_incomplete_file_sent(self, file):
            self.log_done(file)

        def on_incomplete_file_received(self, file):
            self.log_done(file)

    if args.tls:
        context = SSL.Context(SSL.TLS_SERVER_METHOD)
        if args.outdated_tls_only:
            context.set_min_proto_version(SSL.TLS1_VERSION)
            context.set_max_proto_version(SSL.TLS1_1_VERSION)
            context.set_cipher_list(b"DEFAULT:@SECLEVEL=0")
        else:
            context.set_min_proto_version(SSL.TLS1_2_VERSION)
        context.use_certificate_chain_file(args.certificate)
        context.use_privatekey_file(args.certificate)
        context.set_session_id(b"velmora-test")
        Handler.ssl_context = context
        Handler.certfile = args.certificate

        class TlsDataHandler(TLS_DTPHandler):
            def readable(self):
                # A client may finish the data connection's handshake before it sends the
                # transfer command (curl does); pyftpdlib would take that for a lost connection.
                if self._ssl_accepting or self._ssl_want_read:
                    return True
                if not self.receive and not self._initialized:
                    return False
                return super().readable()

            def handle_ssl_established(self):
                if args.require_session_reuse and not ssl_lib.SSL_session_reused(self.socket._ssl):
                    self.cmd_channel.respond("522 Data connections must reuse the TLS session of the control connection.")
                    self.close()
                    return
                super().handle_ssl_established()

        Handler.dtp_handler = TlsDataHandler

        if args.tls == "implicit":
            def handle(self):
                # The greeting waits until the TLS handshake is done.
                self.secure_connection(self.ssl_context)

            def handle_ssl_established(self):
                self._pbsz = True
                self._prot = True
                FTPHandler.handle(self)

            Handler.handle = handle
            Handler.handle_ssl_established = handle_ssl_established

    if args.no_rest:
        Handler.proto_cmds = {name: info for name, info in Handler.proto_cmds.items() if name != "REST"}
    Handler.authorizer = authorizer
    Handler.banner = "Velmora test server ready."
    Handler.auth_failed_timeout = 0  # answer a wrong password at once
    if args.no_epsv or args.no_passive:
        def refuse_epsv(self, line):
            self.respond("502 EPSV not available here.")
        Handler.ftp_EPSV = refuse_epsv
    if args.no_passive:
        def refuse_pasv(self, line):
            self.respond("502 PASV not available here.")
        Handler.ftp_PASV = refuse_pasv

    release_file = args.release_file
    if args.hold_after > 0:
        class HoldingDTPHandler(DTPHandler):
            hold_after = args.hold_after
            held = False

            def use_sendfile(self):
                return False  # every byte goes through send(), which counts it

            def room(self):
                return self.hold_after - self.get_transmitted_bytes()

            def hold_when_full(self):
                # Off the event loop: neither sent to nor read from again. ABOR (or the end of
                # the control connection) closes the channel.
                if not self.held and self.room() <= 0:
                    self.held = True
                    self.del_channel()
                    if release_file:
                        self.call_later(0.02, self.release_when_asked)

            def release_when_asked(self):
                if self._closed:
                    return
                if not os.path.exists(release_file):
                    self.call_later(0.02, self.release_when_asked)
                    return
                self.hold_after = 1 << 62
                self.held = False
                self.add_channel(events=self._wanted_io_events)

            def send(self, data):
                sent = super().send(data[:max(self.room(), 1)])
                self.hold_when_full()
                return sent

            def recv(self, buffer_size):
                return super().recv(max(min(buffer_size, self.room()), 1))

            def handle_read(self):
                super().handle_read()
                self.hold_when_full()

            handle_read_event = handle_read

        Handler.dtp_handler = HoldingDTPHandler

    server = FTPServer((args.host, args.port), Handler)
    server.max_cons = 64
    server.max_cons_per_ip = args.max_connections_per_ip
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
