#!/usr/bin/python3
"""proftpd on a loopback port for Velmora's tests, never the system's service.

Writes a private configuration (no file of /etc/proftpd is read) into --work, starts
"proftpd -n -c CONF" in the foreground on a free loopback port, serves --root to one user
(--user, --password; its own password file, chrooted to --root), prints "PORT <number>" on
stdout once the server listens, and stops it as soon as its standard input closes, so it never
outlives the program that started it.

Everything else is proftpd's default, above all "AllowStoreRestart off": FEAT names
"REST STREAM", but a STOR after REST is refused ("451 Append/Restart not permitted").
--allow-store-restart switches that on. --idle-timeout N closes a control connection that is
idle for N seconds (TimeoutIdle). --port N takes that port (to start again where an earlier
run was stopped, dropping every connection). --rate-kib N limits every download and upload to N KiB/s
(TransferRate), so transfers last long enough to act while they run. --command-log FILE writes
every command verb the server receives, one a line.

proftpd changes to the configured user and chroots into the served folder, which needs root
(CI runs as root); run as another user, this script exits with "needs root".
"""
import argparse
import grp
import os
import pwd
import signal
import socket
import subprocess
import sys
import time
import warnings

with warnings.catch_warnings():
    warnings.simplefilter("ignore", DeprecationWarning)
    import crypt


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def listening(port):
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=0.2):
            return True
    except OSError:
        return False


def write_config(args, port):
    uid = os.getuid()
    gid = os.getgid()
    user = pwd.getpwuid(uid).pw_name
    group = grp.getgrgid(gid).gr_name
    work = args.work
    hashed = crypt.crypt(args.password, crypt.mksalt(crypt.METHOD_SHA512))
    passwd = os.path.join(work, "passwd")
    with open(passwd, "w") as f:
        f.write("%s:%s:%d:%d::%s:/bin/sh\n" % (args.user, hashed, uid, gid, args.root))
    group_file = os.path.join(work, "group")
    with open(group_file, "w") as f:
        f.write("%s:x:%d:\n" % (group, gid))
    os.chmod(passwd, 0o600)
    os.chmod(group_file, 0o600)
    lines = [
        'ServerName "velmora-test"',
        "ServerType standalone",
        "Port %d" % port,
        "DefaultAddress 127.0.0.1",
        "SocketBindTight on",
        "UseIPv6 off",
        "User %s" % user,
        "Group %s" % group,
        "RootLogin on",
        "WtmpLog off",
        "UseReverseDNS off",
        "PidFile %s" % os.path.join(work, "proftpd.pid"),
        "ScoreboardFile %s" % os.path.join(work, "proftpd.scoreboard"),
        "DelayTable none",
        "TransferLog none",
        "SystemLog %s" % os.path.join(work, "system.log"),
        "AuthOrder mod_auth_file.c",
        "AuthUserFile %s" % passwd,
        "AuthGroupFile %s" % group_file,
        "RequireValidShell off",
        "DefaultRoot ~",
        "Umask 022",
        "MaxInstances 30",
        "<Directory />",
        "  AllowOverwrite on",
        "</Directory>",
    ]
    if args.idle_timeout > 0:
        lines.append("TimeoutIdle %d" % args.idle_timeout)
    if args.allow_store_restart:
        lines.append("AllowStoreRestart on")
    if args.rate_kib > 0:
        lines.append("TransferRate RETR,STOR %d" % args.rate_kib)
    if args.command_log:
        lines.append('LogFormat velmora_commands "%m"')
        lines.append("ExtendedLog %s ALL velmora_commands" % args.command_log)
    config = os.path.join(work, "proftpd.conf")
    with open(config, "w") as f:
        f.write("\n".join(lines) + "\n")
    return config


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--work", required=True, help="a private folder for the configuration and the logs")
    parser.add_argument("--user", default="velmora")
    parser.add_argument("--password", default="secret")
    parser.add_argument("--idle-timeout", type=int, default=0)
    parser.add_argument("--allow-store-restart", action="store_true")
    parser.add_argument("--rate-kib", type=int, default=0)
    parser.add_argument("--command-log", default=None)
    parser.add_argument("--port", type=int, default=0, help="this port instead of a free one (a restart)")
    args = parser.parse_args()
    if os.getuid() != 0:
        sys.stderr.write("needs root: proftpd changes to the configured user and chroots\n")
        return 1

    server = None
    port = 0
    for _ in range(5):  # another program may take the port between the probe and the bind
        port = args.port or free_port()
        config = write_config(args, port)
        server = subprocess.Popen(["proftpd", "-n", "-q", "-c", config], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline and server.poll() is None and not listening(port):
            time.sleep(0.02)
        if server.poll() is None and listening(port):
            break
        if server.poll() is None:
            server.kill()
        server.wait()
        server = None
    if server is None:
        sys.stderr.write("proftpd did not start\n")
        return 1

    sys.stdout.write("PORT %d\n" % port)
    sys.stdout.flush()
    try:
        sys.stdin.read()  # until the test closes it or dies
    finally:
        server.send_signal(signal.SIGTERM)
        try:
            server.wait(timeout=5)
        except subprocess.TimeoutExpired:
            server.kill()
            server.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
