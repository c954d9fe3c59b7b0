#!/usr/bin/python3
"""A real SFTP server (python3-asyncssh) that checks a password of its own, for Velmora's tests.

OpenSSH's sshd checks passwords against the system's accounts, which a test must not change;
this server knows one user and one password given on the command line and serves one folder
to it (the folder is "/" for the client). It takes passwords only: no keys, no agent. With
--keyboard-interactive it asks for the password as a keyboard-interactive question, as
servers that check passwords through PAM do, instead of taking it as a password login.

Prints "PORT <number>" on stdout once it listens and ends as soon as its standard input
closes, so it never outlives the program that started it (also when that program crashes).
The host key is read from --host-key (an OpenSSH private key file without a passphrase).
"""
import argparse
import asyncio
import logging
import sys
import threading
import warnings

# asyncssh loads old ciphers that the cryptography package warns about on import.
warnings.simplefilter("ignore")
import asyncssh  # noqa: E402


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--host-key", required=True)
    parser.add_argument("--user", default="velmora")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--keyboard-interactive", action="store_true")
    args = parser.parse_args()

    logging.getLogger("asyncssh").setLevel(logging.ERROR)

    class PasswordServer(asyncssh.SSHServer):
        def begin_auth(self, username):
            return True  # every user must authenticate

        def password_auth_supported(self):
            return not args.keyboard_interactive

        def validate_password(self, username, password):
            return username == args.user and password == args.password

        def kbdint_auth_supported(self):
            return args.keyboard_interactive

        def get_kbdint_challenge(self, username, lang, submethods):
            return "", "", "", [("Password: ", False)]

        def validate_kbdint_response(self, username, responses):
            return username == args.user and responses == [args.password]

    class FolderSftpServer(asyncssh.SFTPServer):
        def __init__(self, chan):
            super().__init__(chan, chroot=args.root.encode())

    async def serve():
        acceptor = await asyncssh.listen(
            args.host, args.port,
            server_factory=PasswordServer,
            server_host_keys=[args.host_key],
            sftp_factory=FolderSftpServer,
            allow_scp=False)
        port = acceptor.sockets[0].getsockname()[1]
        print("PORT %d" % port, flush=True)
        stopped = asyncio.get_running_loop().create_future()

        def wait_for_stdin():
            sys.stdin.read()
            loop.call_soon_threadsafe(lambda: stopped.done() or stopped.set_result(None))

        loop = asyncio.get_running_loop()
        threading.Thread(target=wait_for_stdin, daemon=True).start()
        await stopped
        acceptor.close()

    asyncio.run(serve())


if __name__ == "__main__":
    main()
