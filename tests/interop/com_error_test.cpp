// _com_error and the two ways of raising it.
#include "interop/com_error.h"

#include <gtest/gtest.h>

#include "counting_object.h"
#include "raised_code.h"

namespace {

// The description that the raised exception carried (its reference went with it), or null.
// (The object answers alike for every interface.)
IErrorInfo* DescriptionRaisedWith(IUnknown* object) {
  try {
    RaiseComErrorWithInfo(static_cast<HRESULT>(0x80072EFD), object, IID_IUnknown);
  } catch (const _com_error& e) {
    EXPECT_EQ(static_cast<HRESULT>(0x80072EFD), e.Error());
    IErrorInfo* const description = e.ErrorInfo();
    if (description != nullptr) description->Release();
    return description;
  }
  ADD_FAILURE() << "did not raise";
  return nullptr;
}

TEST(RaiseComError, RaisesWhateverTheCodeEvenZeroWithoutADescription) {
  EXPECT_THROW(RaiseComError(S_OK), _com_error);
  EXPECT_EQ(_com_error(E_FAIL).Description(), nullptr);
  EXPECT_EQ(E_POINTER, CodeRaisedBy([] { RaiseComError(E_POINTER); }));
}

// Only an object that answers S_OK passes on the thread's description.
TEST(RaiseComErrorWithInfo, TakesTheThreadsDescriptionOnlyWhenTheObjectReportsThatWay) {
  const struct {
    bool bObject;
    HRESULT answer;  // E_NOINTERFACE: the object has no ISupportErrorInfo
    bool bThreadHasOne;
    bool bTaken;
  } cases[] = {
      {true, S_OK, true, true},
      {false, S_OK, true, false},
      {true, E_NOINTERFACE, true, false},
      {true, S_FALSE, true, false},
      {true, static_cast<HRESULT>(2), true, false},  // a success, but not S_OK
      {true, S_OK, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.bObject << " " << c.answer << " " << c.bThreadHasOne);
    CountingObject description;
    if (c.bThreadHasOne) SetErrorInfo(0, &description);
    CountingObject object(c.answer);
    EXPECT_EQ(
        c.bTaken ? &description : nullptr,
        DescriptionRaisedWith(c.bObject ? static_cast<ISupportErrorInfo*>(&object) : nullptr));
    // Taken, the thread's reference went with the exception; otherwise the thread keeps it.
    EXPECT_EQ(c.bThreadHasOne && !c.bTaken ? 1 : 0, description.References());
    EXPECT_EQ(0, object.References());
    SetErrorInfo(0, nullptr);
  }
}

TEST(ComError, EveryCopyHoldsAReferenceOfItsOwn) {
  CountingObject description;
  description.AddRef();  // the reference that the first exception takes over
  {
    const _com_error original(E_FAIL, &description);
    const _com_error copy(original);
    EXPECT_EQ(E_FAIL, copy.Error());
    const _com_error addsOne(E_FAIL, &description, true);
    EXPECT_EQ(3, description.References());
  }
  EXPECT_EQ(0, description.References());
}

}  // namespace
