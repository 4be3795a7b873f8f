#include "soap/soap_message.h"

#include <cstring>

#include "soap/service_location.h"
#include "text/marked_value.h"

namespace {

constexpr char kSchemaInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";
constexpr char kSchemaNamespace[] = "http://www.w3.org/2001/XMLSchema";
constexpr char kSoapEnvelopeNamespace[] = "http://www.w3.org/2003/05/soap-envelope";

// One attribute: a blank, the name, '=', and the value in double quotes.
CString Attribute(const char* pszName, const char* pszValue) {
  return CString(" ") + pszName + "=\"" + pszValue + "\"";
}

}  // namespace

CString GetSoapEnvelopePrefix() {
  CString str("<?xml");
  str += Attribute("version", "1.0");
  str += Attribute("encoding", "utf-8");
  str += "?>";
  str += "<soap12:Envelope";
  str += Attribute("xmlns:xsi", kSchemaInstanceNamespace);
  str += Attribute("xmlns:xsd", kSchemaNamespace);
  str += Attribute("xmlns:soap12", kSoapEnvelopeNamespace);
  str += ">";
  str += "<soap12:Body>";
  str += "<simpleMethod";
  str += Attribute("xmlns", GetServiceNamespace());
  str += ">";
  str += "<srt>";
  return str;
}

const char* GetSoapEnvelopeSuffix() {
  return "</srt></simpleMethod></soap12:Body></soap12:Envelope>";
}

CString EscapeSoapText(const CString& strText) {
  CString str;
  for (int i = 0; i < strText.GetLength(); ++i) {
    const char ch = strText[i];
    switch (ch) {
      case '&':
        str += "&amp;";
        break;
      case '<':
        str += "&lt;";
        break;
      case '>':
        str += "&gt;";
        break;
      default:
        str += ch;
    }
  }
  return str;
}

CString BuildSoapRequestBody(const CString& strText) {
  return GetSoapEnvelopePrefix() + EscapeSoapText(strText) + GetSoapEnvelopeSuffix();
}

CString GetSoapEndpointUrl() {
  return CString("http://") + GetServiceHost() + "/Service.asmx";
}

int JudgeSoapReply(const CString& strReply, char (&szResult)[kSoapReplyBufferSize],
                   char (&szError)[kSoapReplyBufferSize]) {
  int nResult = 1;
  szResult[0] = '\0';
  if (!ExtractMarkedValue(strReply, kSoapResultBegin, szResult, kSoapResultEnd, "", "", 0, szError,
                          kSoapReplyBufferSize)) {
    nResult = 0;
  }
  szResult[kSoapJudgedLength] = '\0';
  if (std::strcmp(szResult, kSoapSuccessText) != 0) nResult = 0;
  return nResult;
}
