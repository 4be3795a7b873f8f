// Process-wide settings of the XML HTTP request component that tests (and test runners)
// change. They apply to every send that starts after the call.
#pragma once

// Shortens the component's time-outs: connecting must succeed within connectMs, and an
// exchange fails once no byte has moved for stallMs (noticed within about a second more).
// A value of 0 or less restores that time-out's default (30 s to connect, 60 s of no progress).
void XmlHttpSetTimeoutsForTesting(long connectMs, long stallMs);

// Like a hosts-file entry: connections for "host:port" (as named in the URL) go to
// "address:port" instead; the request itself still names the original host. Mapping the same
// host:port again replaces the entry. Both texts are ASCII, e.g. ("localhost:8080",
// "127.0.0.1:41234").
void XmlHttpMapHostForTesting(const char* hostPort, const char* addressPort);
void XmlHttpClearHostMapsForTesting();
