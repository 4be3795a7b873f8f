// The request and reply format of the service operation simpleMethod (SOAP 1.2 over HTTP POST).
//
// Every piece is fixed in the program; only the service host and the service namespace come from
// the deployment (soap/service_location.h). All texts are ANSI.
#pragma once

#include "cstring.h"

inline constexpr char kSoapMethod[] = "POST";
inline constexpr char kSoapContentTypeName[] = "Content-Type";
inline constexpr char kSoapContentTypeValue[] = "application/soap+xml";
inline constexpr char kSoapResultBegin[] = "<simpleMethodResult>";
inline constexpr char kSoapResultEnd[] = "</simpleMethodResult>";
inline constexpr char kSoapSuccessText[] = "Hello";
inline constexpr int kSoapJudgedLength = 5;

// Size of the caller's result and error buffers given to JudgeSoapReply.
inline constexpr int kSoapReplyBufferSize = 512;

// Everything in front of the operator's text: the XML declaration, the envelope with its three
// namespaces, the body, simpleMethod in the service namespace, and the opening <srt>.
CString GetSoapEnvelopePrefix();

// Everything behind the operator's text, from </srt> to </soap12:Envelope>.
const char* GetSoapEnvelopeSuffix();

// The text as character data: '&', '<' and '>' become "&amp;", "&lt;" and "&gt;"; every other
// byte (blanks at the ends, quotes, bytes of 128 and above) stays as it is.
CString EscapeSoapText(const CString& strText);

// The whole request body, on one line with no line break at the end: prefix, the escaped text,
// suffix. The service receives exactly the text that was typed.
CString BuildSoapRequestBody(const CString& strText);

// "http://" + the service host + "/Service.asmx".
CString GetSoapEndpointUrl();

// Judges a reply body: extracts the text of the first simpleMethodResult element into
// szResult, cuts it after its fifth character and compares it with "Hello", byte for byte.
// Returns 1 when the reply passed, otherwise 0. When no value is found, szResult is empty and
// szError holds the extraction's message; otherwise szError is empty. Uses (and moves) the
// extraction's search position.
int JudgeSoapReply(const CString& strReply, char (&szResult)[kSoapReplyBufferSize],
                   char (&szError)[kSoapReplyBufferSize]);
