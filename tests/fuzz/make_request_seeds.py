#!/usr/bin/env python3
"""Writes the seed corpus of the request fuzzer: whole raw HTTP requests, one per file.

The names say what the service must answer (tests/service checks it over the wire):
  ok-*       the call is carried out (200, "Hello ...")
  fault-*    a SOAP fault (400 or 500)
  refused-*  a plain-text refusal before any envelope is read (4xx)
Run it again after changing a case; it rewrites the files it owns and leaves others alone.
"""
import base64
import os

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "handle_request")
GOOD = "Basic " + base64.b64encode(b"tolvex:kqv=47").decode()
ENV12 = 'xmlns:e="http://www.w3.org/2003/05/soap-envelope"'
ENV11 = 'xmlns:e="http://schemas.xmlsoap.org/soap/envelope/"'
CALL = '<simpleMethod xmlns="http://tempuri.org/"><srt>x</srt></simpleMethod>'


def tool(srt, ns="http://tempuri.org/"):
    return ('<?xml version="1.0" encoding="utf-8"?><soap12:Envelope '
            'xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" '
            'xmlns:xsd="http://www.w3.org/2001/XMLSchema" '
            'xmlns:soap12="http://www.w3.org/2003/05/soap-envelope"><soap12:Body>'
            '<simpleMethod xmlns="' + ns + '"><srt>' + srt +
            '</srt></simpleMethod></soap12:Body></soap12:Envelope>').encode("latin-1")


def soap11(srt):
    return ('<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
            'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
            '<simpleMethod xmlns="http://tempuri.org/"><srt>' + srt +
            '</srt></simpleMethod></soap:Body></soap:Envelope>').encode()


def env(decl, inside):
    return ("<e:Envelope " + decl + ">" + inside + "</e:Envelope>").encode()


def request(body, content_type="application/soap+xml", auth=GOOD, extra=(), method="POST",
            target="/Service.asmx"):
    lines = [method + " " + target + " HTTP/1.1", "Host: 127.0.0.1", "Connection: close"]
    if auth is not None:
        lines.append("Authorization: " + auth)
    if content_type is not None:
        lines.append("Content-Type: " + content_type)
    lines.extend(extra)
    if method == "POST":
        lines.append("Content-Length: %d" % len(body))
    return ("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body


S11 = "text/xml; charset=utf-8"
ACTION = 'SOAPAction: "http://tempuri.org/simpleMethod"'
CASES = {
    "ok-tool-call": request(tool("added string to hello")),
    "ok-escaped-text": request(tool("Tom &amp; Jerry &lt;3")),
    "ok-soap11-call": request(soap11("x"), S11, extra=[ACTION]),
    "ok-wsdl": request(b"", None, None, method="GET", target="/Service.asmx?wsdl"),
    "fault-truncated-xml": request(tool("x")[:120]),
    "fault-empty-body": request(b""),
    "fault-unescaped-ampersand": request(tool("Tom & Jerry")),
    "fault-unescaped-less-than": request(tool("a < b")),
    "fault-utf16-body": request(b"\xff\xfe<\x00e\x00/\x00>\x00"),
    "fault-not-an-envelope": request(b"<hello/>"),
    "fault-soap11-envelope-as-soap12": request(soap11("x")),
    "fault-foreign-envelope-namespace": request(
        env('xmlns:e="urn:other"', "<e:Body>" + CALL + "</e:Body>")),
    "fault-unknown-operation": request(
        env(ENV12, '<e:Body><otherMethod xmlns="http://tempuri.org/"/></e:Body>')),
    "fault-operation-in-foreign-namespace": request(tool("x", "urn:elsewhere")),
    "fault-no-body": request(env(ENV12, "<e:Header/>")),
    "fault-empty-body-element": request(env(ENV12, "<e:Body> </e:Body>")),
    "fault-two-operations": request(env(ENV12, "<e:Body>" + CALL + CALL + "</e:Body>")),
    "fault-element-after-body": request(env(ENV12, "<e:Body>" + CALL + "</e:Body><e:Body/>")),
    "fault-header-after-body": request(env(ENV12, "<e:Body>" + CALL + "</e:Body><e:Header/>")),
    "fault-text-in-envelope": request(env(ENV12, "stray<e:Body>" + CALL + "</e:Body>")),
    "fault-markup-in-parameter": request(tool("a<b>c</b>")),
    "fault-parameter-twice": request(tool("a</srt><srt>b")),
    "fault-invalid-utf8": request(tool("caf\xe9")),
    "fault-character-xml-forbids": request(tool("a&#1;b")),
    "fault-entity-expansion": request(
        b'<!DOCTYPE e:Envelope [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;">]>' +
        tool("&b;")[38:]),
    "fault-processing-instruction": request(tool("<?do something?>x")),
    "fault-undeclared-prefix": request(env(ENV12, "<e:Body><t:simpleMethod/></e:Body>")),
    "fault-must-understand-header": request(env(
        ENV12, '<e:Header><s:Session xmlns:s="urn:session" e:mustUnderstand="true"/></e:Header>'
        "<e:Body>" + CALL + "</e:Body>")),
    "fault-foreign-action": request(tool("x"), 'application/soap+xml; action="urn:delete-all"'),
    "fault-deep-nesting": request(tool("<a>" * 2000 + "</a>" * 2000)),
    "fault-soap12-envelope-as-soap11": request(tool("x"), S11, extra=[ACTION]),
    "fault-soap11-without-action": request(soap11("x"), S11),
    "fault-soap11-foreign-action": request(soap11("x"), S11, extra=['SOAPAction: "urn:other"']),
    "refused-no-credentials": request(tool("x"), auth=None),
    "refused-wrong-password": request(
        tool("x"), auth="Basic " + base64.b64encode(b"tolvex:kqv=48").decode()),
    "refused-malformed-credentials": request(tool("x"), auth="Basic dG9s!dmV4"),
    "refused-plain-text": request(tool("x"), "text/plain"),
    "refused-latin1-charset": request(tool("x"), "application/soap+xml; charset=latin1"),
    "refused-other-path": request(tool("x"), target="/svrx.asmx"),
    "refused-put": request(tool("x"), method="PUT",
                           extra=["Content-Length: %d" % len(tool("x"))]),
    "refused-length-and-chunked": request(tool("x"), extra=["Transfer-Encoding: chunked"]),
}

if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, data in CASES.items():
        with open(os.path.join(HERE, name + ".http"), "wb") as f:
            f.write(data)
    print("wrote %d seeds to %s" % (len(CASES), HERE))
