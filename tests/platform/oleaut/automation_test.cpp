// OLE Automation as the program relies on it: strings and their lengths, and error
// descriptions.
#include <gtest/gtest.h>

#include <string>

#include "ole2.h"

namespace {

using Text = std::basic_string<OLECHAR>;

Text TextOf(BSTR bstr) {
  return Text(bstr, SysStringLen(bstr));
}

// A BSTR holds its length; it ends in a NUL unit, and NULs inside it are text.
TEST(Bstr, HoldsItsLengthAndEndsInANul) {
  const BSTR counted = SysAllocStringLen(OLESTR("ab\0cd"), 5);
  ASSERT_NE(nullptr, counted);
  EXPECT_EQ(Text(OLESTR("ab\0cd"), 5), TextOf(counted));
  EXPECT_EQ(0, counted[5]);
  const BSTR upToNul = SysAllocString(OLESTR("ab\0cd"));
  EXPECT_EQ(OLESTR("ab"), TextOf(upToNul));
  SysFreeString(counted);
  SysFreeString(upToNul);
  SysFreeString(nullptr);
}

// The request component reports a failure with a description that it makes with
// CreateErrorInfo and sets on the thread; the caller takes it from there once.
TEST(ErrorInfo, ADescriptionIsMadeSetOnTheThreadAndTakenOnce) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(S_OK, CreateErrorInfo(&create));
  EXPECT_EQ(S_OK, create->SetDescription(const_cast<LPOLESTR>(OLESTR("Cannot connect"))));
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
  EXPECT_EQ(OLESTR("Cannot connect"), TextOf(text));
  SysFreeString(text);
  EXPECT_EQ(0u, taken->Release());
}

}  // namespace
