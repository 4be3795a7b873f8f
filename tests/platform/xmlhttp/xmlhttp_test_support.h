// What the component's tests share: COM initialised for each test, owning holders, and short
// calls of the component's methods.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "msxml2.h"

namespace xmlhttp_test {

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using Request = std::unique_ptr<IXMLHTTPRequest, Releaser>;

struct BstrFree {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using Bstr = std::unique_ptr<OLECHAR, BstrFree>;
Bstr MakeBstr(std::u16string_view text);

VARIANT Bool(VARIANT_BOOL value);
VARIANT Text(const Bstr& text);  // VT_BSTR, borrowing the string
VARIANT Missing();               // an omitted optional argument

// A new object through CLSIDFromProgID("Microsoft.XMLHTTP") and CoCreateInstance.
Request NewRequest();
// open with the password omitted.
HRESULT Open(IXMLHTTPRequest* request, std::u16string_view method, std::string_view url,
             const VARIANT& async = Bool(VARIANT_FALSE), const VARIANT& user = Missing());
// open as the program opens it: a synchronous POST with its user name and password.
HRESULT OpenAsTheProgram(IXMLHTTPRequest* request, std::string_view url);
HRESULT SetHeader(IXMLHTTPRequest* request, std::u16string_view name, std::u16string_view value);
HRESULT Send(IXMLHTTPRequest* request, const char16_t* body);  // nullptr: no body
// The reply text; a failure to read it fails the test.
std::u16string ResponseText(IXMLHTTPRequest* request);
// The description of the last failure, read as the program reads it (ISupportErrorInfo, then
// GetErrorInfo), UTF-8; empty when there is none.
std::string TakeErrorDescription(IXMLHTTPRequest* request);

class XmlHttpTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }
};

}  // namespace xmlhttp_test
