// Error descriptions: the object CreateErrorInfo makes and the thread's current description.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "counting_error_info.h"
#include "oleauto.h"
#include "support/counted_bstr_memory.h"

namespace {

std::u16string Take(BSTR bstr) {
  std::u16string text = bstr != nullptr ? std::u16string(bstr, SysStringLen(bstr)) : u"(null)";
  SysFreeString(bstr);
  return text;
}

// Leaves the thread without a description whatever a test left behind; a test whose
// description lives on its stack clears it itself before the end of its body.
class ThreadErrorInfo : public ::testing::Test {
 protected:
  ~ThreadErrorInfo() override { SetErrorInfo(0, nullptr); }
};

TEST(CreateErrorInfo, MakesAnObjectThatIsFilledAndReadThroughItsTwoInterfaces) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(S_OK, CreateErrorInfo(&create));
  ASSERT_NE(nullptr, create);
  const GUID guid = {0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(S_OK, create->SetGUID(guid));
  EXPECT_EQ(S_OK, create->SetSource(const_cast<LPOLESTR>(u"Component")));
  EXPECT_EQ(S_OK, create->SetDescription(const_cast<LPOLESTR>(u"Cannot connect")));
  EXPECT_EQ(S_OK, create->SetHelpContext(17));

  IErrorInfo* info = nullptr;
  ASSERT_EQ(S_OK, create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)));
  BSTR text = nullptr;
  EXPECT_EQ(S_OK, info->GetDescription(&text));
  EXPECT_EQ(u"Cannot connect", Take(text));
  EXPECT_EQ(S_OK, info->GetSource(&text));
  EXPECT_EQ(u"Component", Take(text));
  EXPECT_EQ(S_OK, info->GetHelpFile(&text));
  EXPECT_EQ(u"(null)", Take(text));  // never set
  GUID readGuid{};
  EXPECT_EQ(S_OK, info->GetGUID(&readGuid));
  EXPECT_TRUE(readGuid == guid);
  DWORD context = 0;
  EXPECT_EQ(S_OK, info->GetHelpContext(&context));
  EXPECT_EQ(17u, context);

  // One object: IUnknown is the same whichever interface it is asked through.
  IUnknown* fromCreate = nullptr;
  IUnknown* fromInfo = nullptr;
  ASSERT_EQ(S_OK, create->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromCreate)));
  ASSERT_EQ(S_OK, info->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromInfo)));
  EXPECT_EQ(fromCreate, fromInfo);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, info->QueryInterface(IID_ISupportErrorInfo, &other));
  EXPECT_EQ(nullptr, other);

  fromCreate->Release();
  fromInfo->Release();
  info->Release();
  EXPECT_EQ(0u, create->Release());  // the last reference frees it (ASan checks the rest)
}

TEST(CreateErrorInfo, DescriptionFailsCleanlyWhenMemoryRunsOut) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(S_OK, CreateErrorInfo(&create));
  create->SetDescription(const_cast<LPOLESTR>(u"text"));
  IErrorInfo* info = nullptr;
  ASSERT_EQ(S_OK, create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)));
  BSTR text = reinterpret_cast<BSTR>(1);
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, info->GetDescription(&text));
  EXPECT_EQ(nullptr, text);
  info->Release();
  create->Release();
}

TEST_F(ThreadErrorInfo, GetWithoutADescriptionGivesSFalseAndNull) {
  IErrorInfo* info = reinterpret_cast<IErrorInfo*>(1);
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &info));
  EXPECT_EQ(nullptr, info);
}

TEST_F(ThreadErrorInfo, GetHandsOutTheReferenceAndClears) {
  CountingErrorInfo description;
  ASSERT_EQ(S_OK, SetErrorInfo(0, &description));
  EXPECT_EQ(1, description.References());  // the thread's reference

  IErrorInfo* info = nullptr;
  ASSERT_EQ(S_OK, GetErrorInfo(0, &info));
  EXPECT_EQ(&description, info);
  EXPECT_EQ(1, description.References());  // moved to the caller, none added
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &info));
  EXPECT_EQ(nullptr, info);
  description.Release();
  EXPECT_EQ(0, description.References());
}

TEST_F(ThreadErrorInfo, SettingAnotherOrNullReleasesThePrevious) {
  CountingErrorInfo first;
  CountingErrorInfo second;
  SetErrorInfo(0, &first);
  SetErrorInfo(0, &second);
  EXPECT_EQ(0, first.References());
  EXPECT_EQ(1, second.References());
  SetErrorInfo(0, nullptr);
  EXPECT_EQ(0, second.References());
  IErrorInfo* info = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &info));
}

TEST_F(ThreadErrorInfo, EachThreadHasItsOwnAndAThreadsEndReleasesIt) {
  CountingErrorInfo mine;
  CountingErrorInfo theirs;
  SetErrorInfo(0, &mine);
  HRESULT seenByOther = E_FAIL;
  std::thread other([&] {
    IErrorInfo* info = nullptr;
    seenByOther = GetErrorInfo(0, &info);
    SetErrorInfo(0, &theirs);  // left set when the thread ends
  });
  other.join();
  EXPECT_EQ(S_FALSE, seenByOther);
  EXPECT_EQ(0, theirs.References());
  EXPECT_EQ(1, mine.References());
  SetErrorInfo(0, nullptr);  // before `mine` goes out of scope
  EXPECT_EQ(0, mine.References());
}

TEST_F(ThreadErrorInfo, ReservedArgumentsAndNullOutputAreRefused) {
  CountingErrorInfo description;
  IErrorInfo* info = nullptr;
  EXPECT_EQ(E_INVALIDARG, SetErrorInfo(1, &description));
  EXPECT_EQ(0, description.References());
  EXPECT_EQ(E_INVALIDARG, GetErrorInfo(1, &info));
  EXPECT_EQ(E_INVALIDARG, GetErrorInfo(0, nullptr));
  EXPECT_EQ(E_INVALIDARG, CreateErrorInfo(nullptr));
}

}  // namespace
