// The COM library as the program uses it: per-thread initialisation, class names and creating
// the request component's object in context 7. This program has the component installed (it
// links its registration).
#include <gtest/gtest.h>

#include "msxml2.h"
#include "objbase.h"

namespace {

TEST(CoInitialize, IsCounted) {
  EXPECT_EQ(S_OK, CoInitialize(nullptr));
  EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
  CoUninitialize();
  EXPECT_EQ(S_FALSE, CoInitialize(nullptr));  // one initialisation was still standing
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(S_OK, CoInitialize(nullptr));  // all balanced: a fresh start
  CoUninitialize();
}

TEST(ClassNames, TheProgIdAndTheBracedClsidNameTheComponent) {
  CLSID clsid{};
  EXPECT_EQ(S_OK, CLSIDFromProgID(OLESTR("Microsoft.XMLHTTP"), &clsid));
  EXPECT_TRUE(clsid == CLSID_XMLHTTPRequest);
  clsid = CLSID{};
  EXPECT_EQ(S_OK, CLSIDFromString(OLESTR("{ed8c108e-4349-11D2-91A4-00C04F7969E8}"), &clsid));
  EXPECT_TRUE(clsid == CLSID_XMLHTTPRequest);

  EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(OLESTR("Microsoft.XMLHTTP.Nowhere"), &clsid));
  for (LPCOLESTR text : {OLESTR("{ED8C108E-4349-11D2-91A4-00C04F7969E8"),
                         OLESTR("{ED8C108G-4349-11D2-91A4-00C04F7969E8}")}) {
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromString(text, &clsid));
  }
}

TEST(CoCreateInstance, MakesTheObjectInContext7OnceComIsInitialised) {
  IUnknown* object = reinterpret_cast<IUnknown*>(&object);
  EXPECT_EQ(CO_E_NOTINITIALIZED, CoCreateInstance(CLSID_XMLHTTPRequest, nullptr, 7, IID_IUnknown,
                                                  reinterpret_cast<void**>(&object)));
  EXPECT_EQ(nullptr, object);
  ASSERT_EQ(S_OK, CoInitialize(nullptr));
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_XMLHTTPRequest, nullptr, 7, IID_IUnknown,
                                   reinterpret_cast<void**>(&object)));
  EXPECT_EQ(S_OK, OleRun(object));
  IXMLHTTPRequest* request = nullptr;
  EXPECT_EQ(S_OK, object->QueryInterface(IID_IXMLHTTPRequest, reinterpret_cast<void**>(&request)));
  request->Release();
  object->Release();
  CoUninitialize();
}

}  // namespace
