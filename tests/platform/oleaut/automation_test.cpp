// OLE Automation as the program relies on it: strings and their lengths, and error
// descriptions.
#include <gtest/gtest.h>

#include <string>

#include "oleauto.h"

namespace {

std::u16string TextOf(BSTR bstr) {
  return std::u16string(bstr, SysStringLen(bstr));
}

// A BSTR holds its length; it ends in a NUL unit, and NULs inside it are text.
TEST(Bstr, HoldsItsLengthAndEndsInANul) {
  const BSTR counted = SysAllocStringLen(u"ab\0cd", 5);
  ASSERT_NE(nullptr, counted);
  EXPECT_EQ(std::u16string(u"ab\0cd", 5), TextOf(counted));
  EXPECT_EQ(u'\0', counted[5]);
  const BSTR upToNul = SysAllocString(u"ab\0cd");
  EXPECT_EQ(u"ab", TextOf(upToNul));
  SysFreeString(counted);
  SysFreeString(upToNul);
  SysFreeString(nullptr);
}

// The request component reports a failure with a description that it makes with
// CreateErrorInfo and sets on the thread; the caller takes it from there once.
TEST(ErrorInfo, ADescriptionIsMadeSetOnTheThreadAndTakenOnce) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(S_OK, CreateErrorInfo(&create));
  EXPECT_EQ(S_OK, create->SetDescription(const_cast<LPOLESTR>(u"Cannot connect")));
  IErrorInfo* info = nullptr;
  ASSERT_EQ(S_OK, create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)));
  EXPECT_EQ(S_OK, SetErrorInfo(0, info));
  info->Release();
  create->Release();  // the thread holds the last reference

  IErrorInfo* taken = nullptr;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &taken));
  EXPECT_EQ(info, taken);
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &info));
  EXPECT_EQ(nullptr, info);
  BSTR text = nullptr;
  EXPECT_EQ(S_OK, taken->GetDescription(&text));
  EXPECT_EQ(u"Cannot connect", std::u16string(text, SysStringLen(text)));
  SysFreeString(text);
  EXPECT_EQ(0u, taken->Release());
}

}  // namespace
