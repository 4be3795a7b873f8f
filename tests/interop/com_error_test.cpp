// _com_error and the two ways of raising it.
#include "interop/com_error.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <typeinfo>

#include "platform/oleaut/counting_error_info.h"

namespace {

// {ED8C108D-4349-11D2-91A4-00C04F7969E8}, the interface whose failures are reported.
const IID kIidRequest = {
    0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};

// A failing object. It may offer ISupportErrorInfo, answering a fixed result, and it records
// the interface it was asked about and counts the references handed out.
class FailingObject final : public ISupportErrorInfo {
 public:
  FailingObject(bool offersSupport, HRESULT answer)
      : m_offersSupport(offersSupport), m_answer(answer) {}

  STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown) {
      *ppv = this;
    } else if (riid == IID_ISupportErrorInfo && m_offersSupport) {
      *ppv = static_cast<ISupportErrorInfo*>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHOD_(ULONG, AddRef)() override { return static_cast<ULONG>(++m_references); }
  STDMETHOD_(ULONG, Release)() override { return static_cast<ULONG>(--m_references); }
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override {
    m_askedAbout = riid;
    ++m_questions;
    return m_answer;
  }

  int References() const { return m_references; }
  int Questions() const { return m_questions; }
  const IID& AskedAbout() const { return m_askedAbout; }

 private:
  bool m_offersSupport;
  HRESULT m_answer;
  int m_references = 0;
  int m_questions = 0;
  IID m_askedAbout{};
};

struct Raised {
  HRESULT hr = S_OK;
  IErrorInfo* errorInfo = nullptr;  // with the reference ErrorInfo() added, released here
};

Raised RaiseWithInfo(HRESULT hr, IUnknown* object) {
  Raised raised;
  try {
    RaiseComErrorWithInfo(hr, object, kIidRequest);
  } catch (const _com_error& e) {
    raised.hr = e.Error();
    raised.errorInfo = e.ErrorInfo();
    if (raised.errorInfo != nullptr) raised.errorInfo->Release();  // keep only the pointer
  }
  return raised;
}

// Leaves the thread without a description whatever a test left behind.
class RaiseComErrorWithInfoTest : public ::testing::Test {
 protected:
  ~RaiseComErrorWithInfoTest() override { SetErrorInfo(0, nullptr); }
};

TEST(RaiseComError, RaisesWhateverTheCodeEvenZero) {
  for (const HRESULT hr : {S_OK, E_POINTER, E_OUTOFMEMORY, TARVELO_HR(0x80070057)}) {
    try {
      RaiseComError(hr);
      ADD_FAILURE() << "did not raise";
    } catch (const _com_error& e) {
      EXPECT_EQ(hr, e.Error());
      EXPECT_EQ(nullptr, e.ErrorInfo());
      EXPECT_EQ(nullptr, e.Description());
      EXPECT_TRUE(typeid(e) == typeid(_com_error));
    }
  }
}

TEST_F(RaiseComErrorWithInfoTest, TakesTheThreadsDescriptionWhenTheObjectReportsThatWay) {
  CountingErrorInfo description(u"Cannot connect to the server");
  SetErrorInfo(0, &description);
  FailingObject object(true, S_OK);
  try {
    RaiseComErrorWithInfo(TARVELO_HR(0x80072EFD), &object, kIidRequest);
    ADD_FAILURE() << "did not raise";
  } catch (const _com_error& e) {
    EXPECT_EQ(TARVELO_HR(0x80072EFD), e.Error());
    EXPECT_EQ(1, description.References());  // the thread's reference moved into the exception
    const BSTR text = e.Description();
    EXPECT_EQ(u"Cannot connect to the server", std::u16string(text, SysStringLen(text)));
    SysFreeString(text);
  }
  EXPECT_EQ(0, description.References());  // released exactly once, by the exception
  EXPECT_EQ(1, object.Questions());
  EXPECT_TRUE(object.AskedAbout() == kIidRequest);
  EXPECT_EQ(0, object.References());  // ISupportErrorInfo was released again
  IErrorInfo* left = nullptr;
  EXPECT_EQ(S_FALSE, GetErrorInfo(0, &left));  // taken from the thread
}

struct NoDescriptionCase {
  const char* name;
  bool withObject;
  bool offersSupport;
  HRESULT answer;
  bool threadHasDescription;
  friend void PrintTo(const NoDescriptionCase& c, std::ostream* os) { *os << c.name; }
};

class RaisesWithoutADescription : public RaiseComErrorWithInfoTest,
                                  public ::testing::WithParamInterface<NoDescriptionCase> {};

TEST_P(RaisesWithoutADescription, AndLeavesNoReferenceHeld) {
  const NoDescriptionCase& c = GetParam();
  CountingErrorInfo description(u"left alone");
  if (c.threadHasDescription) SetErrorInfo(0, &description);
  FailingObject object(c.offersSupport, c.answer);

  const Raised raised = RaiseWithInfo(E_FAIL, c.withObject ? &object : nullptr);
  EXPECT_EQ(E_FAIL, raised.hr);
  EXPECT_EQ(nullptr, raised.errorInfo);
  EXPECT_EQ(0, object.References());
  // A description the exception did not take stays with the thread.
  EXPECT_EQ(c.threadHasDescription ? 1 : 0, description.References());
  IErrorInfo* left = nullptr;
  EXPECT_EQ(c.threadHasDescription ? S_OK : S_FALSE, GetErrorInfo(0, &left));
  if (left != nullptr) left->Release();
  EXPECT_EQ(0, description.References());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RaisesWithoutADescription,
    ::testing::Values(NoDescriptionCase{"NullObject", false, false, S_OK, true},
                      NoDescriptionCase{"NoSupportErrorInfo", true, false, S_OK, true},
                      NoDescriptionCase{"AnswersSFalse", true, true, S_FALSE, true},
                      NoDescriptionCase{"AnswersAFailure", true, true, E_NOTIMPL, true},
                      NoDescriptionCase{"AnswersAnotherSuccess", true, true, TARVELO_HR(2), true},
                      NoDescriptionCase{"ThreadHasNoDescription", true, true, S_OK, false}),
    [](const ::testing::TestParamInfo<NoDescriptionCase>& info) { return info.param.name; });

TEST(ComError, ConstructionTakesOverOrAddsAReference) {
  CountingErrorInfo description;
  description.AddRef();  // the reference the constructor takes over
  {
    const _com_error takesOver(E_FAIL, &description);
    EXPECT_EQ(1, description.References());
    const _com_error addsOne(E_FAIL, &description, true);
    EXPECT_EQ(2, description.References());
  }
  EXPECT_EQ(0, description.References());
  const _com_error none(E_FAIL, nullptr, true);
  EXPECT_EQ(nullptr, none.ErrorInfo());
}

TEST(ComError, EveryCopyHoldsItsOwnReference) {
  CountingErrorInfo description;
  {
    const _com_error original(E_FAIL, &description, true);
    EXPECT_EQ(1, description.References());
    {
      const _com_error copy(original);
      EXPECT_EQ(2, description.References());
      EXPECT_EQ(E_FAIL, copy.Error());
      _com_error assigned(E_POINTER);
      assigned = copy;
      EXPECT_EQ(3, description.References());
      EXPECT_EQ(E_FAIL, assigned.Error());
      assigned = assigned;  // NOLINT: self-assignment keeps the reference
      EXPECT_EQ(3, description.References());
    }
    EXPECT_EQ(1, description.References());
  }
  EXPECT_EQ(0, description.References());
}

TEST(ComError, CopiesMadeWhileTravellingReleaseEverything) {
  CountingErrorInfo description;
  try {
    try {
      throw _com_error(E_FAIL, &description, true);
    } catch (const _com_error& e) {
      const _com_error copy(e);  // as a handler catching by value would make
      EXPECT_EQ(2, description.References());
      throw copy;  // and the thrown copy of the copy
    }
  } catch (const _com_error& e) {
    EXPECT_EQ(1, description.References());
    IErrorInfo* info = e.ErrorInfo();
    EXPECT_EQ(&description, info);
    EXPECT_EQ(2, description.References());  // handed out with a reference of its own
    info->Release();
  }
  EXPECT_EQ(0, description.References());
}

TEST(ComError, ErrorMessageNamesTheCode) {
  const _com_error error(E_OUTOFMEMORY);
  const char* const message = error.ErrorMessage();
  EXPECT_EQ(std::string("Unknown error 0x8007000E"), message);
  EXPECT_EQ(message, error.ErrorMessage());  // made once, freed with the exception
  const _com_error copy(error);
  EXPECT_EQ(std::string("Unknown error 0x8007000E"), copy.ErrorMessage());
  EXPECT_NE(message, copy.ErrorMessage());
}

}  // namespace
