#!/usr/bin/env python3
"""Misbehaving clients for scripts/check-service, against a service on 127.0.0.1.

  abuse.py idle PORT [HELD]      HELD connections (default 8000; half idle, half with half a request
                                 head) held open while 20 calls are timed; then when the service
                                 lets them go
  abuse.py big-body PORT         50 calls announcing a 100 MiB body, sent for as long as it is taken
  abuse.py corpus PORT DIR       every request file of DIR sent as it is (names ok-, fault-, refused-)
  abuse.py credentials PORT      calls with wrong, missing or malformed credentials

Each prints one line of key=value figures, and exits 0 when what it checks held, 1 when not.
Every loop is bounded in count and time.
"""
import base64
import os
import resource
import select
import socket
import struct
import sys
import time

HOST = "127.0.0.1"
GOOD = "Basic " + base64.b64encode(b"tolvex:kqv=47").decode()
BODY = (b'<?xml version="1.0" encoding="utf-8"?><soap12:Envelope '
        b'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
        b'xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
        b'xmlns:soap12="http://www.w3.org/2003/05/soap-envelope"><soap12:Body>'
        b'<simpleMethod xmlns="http://tempuri.org/"><srt>added string to hello</srt>'
        b'</simpleMethod></soap12:Body></soap12:Envelope>')


def head(length, authorization=GOOD, close=True):
    lines = ["POST /Service.asmx HTTP/1.1", "Host: " + HOST]
    if close:
        lines.append("Connection: close")
    if authorization is not None:
        lines.append("Authorization: " + authorization)
    lines += ["Content-Type: application/soap+xml", "Content-Length: %d" % length]
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1")


def read_all(sock, limit):
    """Everything until the peer closes, or until `limit` seconds pass (then None)."""
    data = b""
    deadline = time.monotonic() + limit
    while True:
        left = deadline - time.monotonic()
        waiting = select.poll()
        waiting.register(sock, select.POLLIN)
        if left <= 0 or not waiting.poll(left * 1000):
            return None
        try:
            chunk = sock.recv(65536)
        except ConnectionResetError:
            return data
        if not chunk:
            return data
        data += chunk


def call(port, request, limit=10.0):
    with socket.create_connection((HOST, port), timeout=limit) as sock:
        sock.sendall(request)
        reply = read_all(sock, limit)
    return reply or b""


def status_of(reply):
    try:
        return int(reply[9:12])
    except ValueError:
        return 0


def raise_descriptor_limit(needed):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < needed:
        if hard != resource.RLIM_INFINITY and hard < needed:
            sys.exit("abuse.py: %d descriptors needed, the hard limit is %d" % (needed, hard))
        resource.setrlimit(resource.RLIMIT_NOFILE, (needed, hard))


def idle(port, held=8000):
    raise_descriptor_limit(held + 100)
    sockets, opened_at = [], {}
    for i in range(held):
        sock = socket.create_connection((HOST, port), timeout=5)
        if i % 2:
            sock.sendall(b"POST /Service.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-")
        sockets.append(sock)
        opened_at[sock.fileno()] = time.monotonic()
    # One call behind them in the queue of connections to be accepted: once it is answered, the
    # service has taken every held connection.
    opened = time.monotonic()
    probe = status_of(call(port, head(len(BODY)) + BODY))
    accepted_after = time.monotonic() - opened
    poller = select.poll()
    for sock in sockets:
        poller.register(sock, select.POLLIN)
    open_at_calls = held - len(poller.poll(0))
    latencies, answered = [], 0
    for _ in range(20):
        start = time.monotonic()
        reply = call(port, head(len(BODY)) + BODY)
        latencies.append(time.monotonic() - start)
        answered += status_of(reply) == 200 and b"Hello added string" in reply
    # How the held connections end: closed by the service once idle for its time-out.
    by_fd = {sock.fileno(): sock for sock in sockets}
    held_for, replies = [], 0
    deadline = time.monotonic() + 30
    while by_fd and time.monotonic() < deadline:
        for fd, _ in poller.poll(500):
            sock = by_fd.pop(fd)
            poller.unregister(fd)
            held_for.append(time.monotonic() - opened_at[fd])
            replies += bool(read_all(sock, 1.0))
            sock.close()
    for sock in by_fd.values():
        sock.close()
    closed = len(held_for)
    latencies.sort()
    held_for = sorted(held_for) or [0]
    ok = (probe == 200 and open_at_calls == held and answered == 20 and latencies[-1] < 0.010 and
          closed == held and 4.5 < held_for[0] and held_for[-1] < 8)
    print("held=%d all_accepted_after_s=%.2f open_during_calls=%d calls=20 answered=%d "
          "max_ms=%.1f median_ms=%.1f closed_by_service=%d closed_after_s=%.1f-%.1f "
          "replies_on_close=%d" %
          (held, accepted_after, open_at_calls, answered, latencies[-1] * 1000,
           latencies[10] * 1000, closed, held_for[0], held_for[-1], replies))
    return ok


def acknowledged_bytes(sock):
    """What the peer's TCP acknowledged of what was sent (tcpi_bytes_acked of struct tcp_info)."""
    return struct.unpack_from("Q", sock.getsockopt(socket.IPPROTO_TCP, socket.TCP_INFO, 232), 120)[0]


def big_body(port, tries=50):
    """A call announcing 100 MiB, its body sent for as long as the service takes it while the reply
    is read, as a client that watches for an early answer does."""
    announced = 100 << 20
    chunk = b"x" * 65536
    refused, resets, most_taken, slowest = 0, 0, 0, 0.0
    for _ in range(tries):
        sock = socket.create_connection((HOST, port), timeout=5)
        start = time.monotonic()
        sock.sendall(head(announced, close=False))
        sock.setblocking(False)
        sent, received, ended = 0, b"", None
        while ended is None and time.monotonic() - start < 10:
            readable, writable, _ = select.select([sock], [sock] if sent < announced else [], [],
                                                  0.1)
            try:
                if readable:
                    data = sock.recv(65536)
                    received += data
                    ended = None if data else "end"
                elif writable:
                    sent += sock.send(chunk[:announced - sent])
            except BlockingIOError:
                pass
            except OSError:
                ended = "reset"
        slowest = max(slowest, time.monotonic() - start)
        most_taken = max(most_taken, acknowledged_bytes(sock))
        sock.close()
        refused += status_of(received) == 413
        resets += ended == "reset"
    ok = refused == tries and most_taken < (1 << 20)
    print("tries=%d read_413=%d ended_by_reset=%d most_bytes_taken=%d of=%d slowest_ms=%.1f" %
          (tries, refused, resets, most_taken, announced, slowest * 1000))
    return ok


def corpus(port, folder):
    counts = {"ok": 0, "fault": 0, "refused": 0}
    wrong = []
    for name in sorted(os.listdir(folder)):
        kind = name.split("-", 1)[0]
        if kind not in counts:
            continue
        with open(os.path.join(folder, name), "rb") as f:
            reply = call(port, f.read())
        status = status_of(reply)
        fine = {"ok": status == 200,
                "fault": status in (400, 500) and b":Fault>" in reply and b"Hello" not in reply,
                "refused": 400 <= status < 500 and b"text/plain" in reply and b"Hello" not in reply,
                }[kind]
        counts[kind] += 1
        if not fine:
            wrong.append("%s:%d" % (name, status))
    print("answered_ok=%d faults=%d refusals=%d wrong=%d %s" %
          (counts["ok"], counts["fault"], counts["refused"], len(wrong), " ".join(wrong)))
    return not wrong and counts["fault"] > 0


def credentials(port):
    def b64(text):
        return "Basic " + base64.b64encode(text).decode()
    cases = [None, "", "Basic", "Basic ", "Basic dG9sdmV4Omtxdj00Nw", "Basic dG9sdmV4Omtxdj00Nx==",
             GOOD + "x", GOOD + " x", "Basic tolvex:kqv=47", "Bearer " + GOOD[6:],
             "Digest username=\"tolvex\"", b64(b"tolvex:kqv=48"), b64(b"tolvex:kqv=4"),
             b64(b"tolvex:kqv=47 "), b64(b"tolvex:kqv=47\0"), b64(b" tolvex:kqv=47"),
             b64(b"TOLVEX:kqv=47"), b64(b"tolvex:KQV=47"), b64(b"tolvex"), b64(b":"),
             b64(b"tolvex\0:kqv=47"), b64(b"\xff" * 300), "Basic " + "A" * 6000]
    reached, refused = 0, 0
    for authorization in cases:
        reply = call(port, head(len(BODY), authorization) + BODY)
        reached += b"Hello" in reply
        refused += status_of(reply) == 401
    # Two fields, one of them right, in either order.
    for pair in ((GOOD, b64(b"tolvex:x")), (b64(b"tolvex:x"), GOOD)):
        request = head(len(BODY), pair[0]).replace(
            b"\r\n\r\n", ("\r\nAuthorization: " + pair[1] + "\r\n\r\n").encode()) + BODY
        reply = call(port, request)
        reached += b"Hello" in reply
        refused += status_of(reply) == 401
    right = call(port, head(len(BODY)) + BODY)
    total = len(cases) + 2
    print("tried=%d refused_401=%d reached_operation=%d right_credentials_status=%d" %
          (total, refused, reached, status_of(right)))
    return reached == 0 and refused == total and status_of(right) == 200


if __name__ == "__main__":
    command, port = sys.argv[1], int(sys.argv[2])
    if command == "idle":
        ok = idle(port, int(sys.argv[3]) if len(sys.argv) > 3 else 8000)
    elif command == "big-body":
        ok = big_body(port)
    elif command == "corpus":
        ok = corpus(port, sys.argv[3])
    elif command == "credentials":
        ok = credentials(port)
    else:
        sys.exit(__doc__)
    sys.exit(0 if ok else 1)
