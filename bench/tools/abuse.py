#!/usr/bin/env python3
"""Misbehaving clients for scripts/check-service, against a service on 127.0.0.1.

  abuse.py idle PORT [HELD]      HELD connections (half idle, half with half a request head) held
                                 open while 20 calls are timed; then how the service lets them go
  abuse.py big-body PORT         a call announcing a 100 MiB body, sent for as long as it is taken
  abuse.py corpus PORT DIR       every request file of DIR sent as it is (names ok-, fault-, refused-)
  abuse.py credentials PORT      calls with wrong, missing or malformed credentials

Each prints one line of key=value figures, and exits 0 when what it checks held, 1 when not.
Every loop is bounded in count and time.
"""
import base64
import os
import select
import socket
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
        if left <= 0 or not select.select([sock], [], [], left)[0]:
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


def idle(port, held=200):
    sockets = []
    for i in range(held):
        sock = socket.create_connection((HOST, port), timeout=5)
        if i % 2:
            sock.sendall(b"POST /Service.asmx HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-")
        sockets.append(sock)
    opened = time.monotonic()
    time.sleep(0.2)
    latencies, answered = [], 0
    for _ in range(20):
        start = time.monotonic()
        reply = call(port, head(len(BODY)) + BODY)
        latencies.append(time.monotonic() - start)
        answered += status_of(reply) == 200 and b"Hello added string" in reply
    # How the held connections end: closed by the service, the half-sent ones with a 408.
    closed, told, open_sockets = 0, 0, list(sockets)
    deadline = opened + 15
    while open_sockets and time.monotonic() < deadline:
        ready = select.select(open_sockets, [], [], 0.5)[0]
        for sock in ready:
            data = read_all(sock, 1.0) or b""
            closed += 1
            told += data.startswith(b"HTTP/1.1 408 ")
            open_sockets.remove(sock)
    last_close = time.monotonic() - opened
    for sock in sockets:
        sock.close()
    ok = answered == 20 and max(latencies) < 1.0 and closed == held and told == held // 2
    print("held=%d calls=20 answered=%d max_ms=%.1f median_ms=%.1f closed_by_service=%d "
          "told_408=%d all_closed_after_s=%.1f" %
          (held, answered, max(latencies) * 1000, sorted(latencies)[10] * 1000, closed, told,
           last_close))
    return ok


def big_body(port):
    announced = 100 << 20
    sock = socket.create_connection((HOST, port), timeout=5)
    start = time.monotonic()
    sock.sendall(head(announced, close=False))
    sock.setblocking(False)
    chunk = b"x" * 65536
    sent, received, closed = 0, b"", False
    while not closed and time.monotonic() - start < 20 and sent < announced:
        readable, writable, _ = select.select([sock], [sock], [], 0.1)
        if readable:
            try:
                data = sock.recv(65536)
                received += data
                closed = not data
            except (ConnectionResetError, BlockingIOError) as error:
                closed = isinstance(error, ConnectionResetError)
        elif writable:
            try:
                sent += sock.send(chunk[:announced - sent])
            except BlockingIOError:
                pass
            except (BrokenPipeError, ConnectionResetError):
                closed = True
    took = time.monotonic() - start
    sock.close()
    ok = closed and status_of(received) == 413 and sent < announced // 4
    print("status=%d connection_closed=%s sent_bytes=%d of=%d took_ms=%.1f" %
          (status_of(received), "yes" if closed else "no", sent, announced, took * 1000))
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
        ok = idle(port, int(sys.argv[3]) if len(sys.argv) > 3 else 200)
    elif command == "big-body":
        ok = big_body(port)
    elif command == "corpus":
        ok = corpus(port, sys.argv[3])
    elif command == "credentials":
        ok = credentials(port)
    else:
        sys.exit(__doc__)
    sys.exit(0 if ok else 1)
