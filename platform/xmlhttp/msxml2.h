// The XML HTTP request component: one HTTP request/reply exchange per object.
//
// Objects are made through COM (ProgID "Microsoft.XMLHTTP"); the component registers itself
// when the process starts.
// Every failing method returns a failure code and leaves a description in the thread's error
// information (GetErrorInfo); the object answers ISupportErrorInfo for IID_IXMLHTTPRequest.
#pragma once

#include "oleauto.h"

// {ED8C108D-4349-11D2-91A4-00C04F7969E8}
extern const IID IID_IXMLHTTPRequest;
// {ED8C108E-4349-11D2-91A4-00C04F7969E8}
extern const CLSID CLSID_XMLHTTPRequest;

// Reading a reply before it has arrived.
#ifndef E_PENDING
#define E_PENDING TARVELO_HR(0x8000000A)
#endif

// Transfer failures: Win32 Internet error codes, returned as HRESULT_FROM_WIN32(code).
#define ERROR_INTERNET_TIMEOUT 12002
#define ERROR_INTERNET_INTERNAL_ERROR 12004
#define ERROR_INTERNET_INVALID_URL 12005
#define ERROR_INTERNET_NAME_NOT_RESOLVED 12007
#define ERROR_INTERNET_CANNOT_CONNECT 12029
#define ERROR_INTERNET_CONNECTION_ABORTED 12030
#define ERROR_INTERNET_INVALID_CA 12045
#define ERROR_HTTP_INVALID_SERVER_RESPONSE 12152
#define ERROR_HTTP_REDIRECT_FAILED 12156
#define ERROR_INTERNET_SECURITY_CHANNEL_ERROR 12157

struct IXMLHTTPRequest : IUnknown {
  // Prepares a request. bstrMethod is an HTTP method ("POST", "GET", ...), bstrUrl an absolute
  // http or https URL. varAsync must be false (VT_BOOL) or missing: only synchronous requests
  // are made (true gives E_NOTIMPL). bstrUser and bstrPassword are VT_BSTR or missing
  // (VT_EMPTY, VT_NULL, VT_ERROR); with a user the request carries Basic credentials, and a
  // Digest challenge is answered once. The credentials go only to the scheme, host and port of
  // bstrUrl: a redirect elsewhere is followed without them, and a challenge from there is not
  // answered. Opening again discards the earlier request and reply.
  STDMETHOD(open)
  (BSTR bstrMethod, BSTR bstrUrl, VARIANT varAsync, VARIANT bstrUser, VARIANT bstrPassword) PURE;
  // Adds a request header after open and before send. A name or value with CR, LF or NUL, or a
  // name that is not an HTTP token, is refused with E_INVALIDARG. Setting a name again joins
  // the values with ", ".
  STDMETHOD(setRequestHeader)(BSTR bstrHeader, BSTR bstrValue) PURE;
  // Sends the request with the body (VT_BSTR, sent as UTF-8; missing sends none) and returns
  // when the whole reply has arrived. An HTTP error status is a completed exchange; a failed
  // transfer returns HRESULT_FROM_WIN32(ERROR_INTERNET_... or ERROR_HTTP_...) with a
  // description.
  STDMETHOD(send)(VARIANT varBody) PURE;
  // The reply body (of an error status as well) as a new string the caller owns, decoded by
  // the charset of the reply's Content-Type (UTF-8 when none is named; a UTF-8 byte-order mark
  // decides over the label). E_PENDING before a send has completed.
  STDMETHOD(get_responseText)(BSTR* pbstrBody) PURE;

 protected:
  ~IXMLHTTPRequest() = default;
};
