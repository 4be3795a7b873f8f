// The request object on a machine where the component is not installed: this test program
// does not link it.
#include <gtest/gtest.h>

#include "interop/raised_code.h"
#include "soap/xml_http_request_ptr.h"

TEST(XmlHttpRequestPtr, WithoutTheComponentCreationFailsAndCallsRaiseEPointer) {
  ASSERT_EQ(S_OK, CoInitialize(nullptr));
  XmlHttpRequestPtr request;
  EXPECT_EQ(CO_E_CLASSSTRING, request.CreateInstance("Microsoft.XMLHTTP", nullptr, 7));
  EXPECT_EQ(nullptr, request.GetInterfacePtr());
  BSTR text = nullptr;
  EXPECT_EQ(E_POINTER, CodeRaisedBy([&] { request->get_responseText(&text); }));
  CoUninitialize();
}
