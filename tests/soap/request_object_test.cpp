// The request object on a machine where the component is not installed: this test program
// does not link it.
#include <gtest/gtest.h>

#include "interop/com_error.h"
#include "soap/xml_http_request_ptr.h"

TEST(XmlHttpRequestPtr, WithoutTheComponentCreationFailsAndCallsRaiseEPointer) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  XmlHttpRequestPtr request;
  EXPECT_EQ(request.CreateInstance("Microsoft.XMLHTTP", nullptr, CLSCTX_INPROC_SERVER),
            CO_E_CLASSSTRING);
  EXPECT_EQ(request.GetInterfacePtr(), nullptr);
  try {
    BSTR text = nullptr;
    request->get_responseText(&text);
    ADD_FAILURE() << "a call through the empty reference went through";
  } catch (const _com_error& error) {
    EXPECT_EQ(error.Error(), E_POINTER);
  }
  CoUninitialize();
}
