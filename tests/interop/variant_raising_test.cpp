// VariantCopyOrRaise and VariantClearOrRaise.
#include "interop/variant_raising.h"

#include <gtest/gtest.h>

#include <string>

#include "interop/com_error.h"
#include "raised_code.h"
#include "support/counted_bstr_memory.h"

namespace {

TEST(VariantCopyOrRaise, CopiesIntoAFreshVariant) {
  const long before = LiveBstrCount();
  VARIANT user;
  VariantInit(&user);
  user.vt = VT_BSTR;
  user.bstrVal = SysAllocString(u"tolvex");
  VARIANT copy;
  VariantInit(&copy);
  EXPECT_EQ(S_OK, CodeRaisedBy([&] { VariantCopyOrRaise(&copy, &user); }));
  EXPECT_EQ(VT_BSTR, copy.vt);
  EXPECT_NE(user.bstrVal, copy.bstrVal);
  EXPECT_EQ(u"tolvex", std::u16string(copy.bstrVal, SysStringLen(copy.bstrVal)));
  EXPECT_EQ(S_OK, CodeRaisedBy([&] { VariantClearOrRaise(&copy); }));
  EXPECT_EQ(VT_EMPTY, copy.vt);
  VariantClearOrRaise(&user);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(VariantCopyOrRaise, RaisesTheResultOfAFailedCopy) {
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_BSTR;
  source.bstrVal = SysAllocString(u"body");
  VARIANT copy;
  VariantInit(&copy);
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, CodeRaisedBy([&] { VariantCopyOrRaise(&copy, &source); }));
  EXPECT_EQ(VT_EMPTY, copy.vt);
  source.vt = 0x0FFF;
  EXPECT_EQ(DISP_E_BADVARTYPE, CodeRaisedBy([&] { VariantCopyOrRaise(&copy, &source); }));
  source.vt = VT_BSTR;
  VariantClear(&source);
}

TEST(VariantClearOrRaise, RaisesTheResultOfAFailedClear) {
  VARIANT broken;
  VariantInit(&broken);
  broken.vt = 0x0FFF;
  EXPECT_EQ(DISP_E_BADVARTYPE, CodeRaisedBy([&] { VariantClearOrRaise(&broken); }));
  EXPECT_EQ(E_INVALIDARG, CodeRaisedBy([] { VariantClearOrRaise(nullptr); }));
  VARIANT flag;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_FALSE;
  EXPECT_EQ(S_OK, CodeRaisedBy([&] { VariantClearOrRaise(&flag); }));
  EXPECT_EQ(VT_EMPTY, flag.vt);
}

}  // namespace
