// VariantCopyOrRaise and VariantClearOrRaise.
#include "interop/variant_raising.h"

#include <gtest/gtest.h>

#include "raised_code.h"

namespace {

TEST(VariantRaising, RaisesWhatAFailedCopyOrClearReturnsAndNothingElse) {
  VARIANT unknown;
  VariantInit(&unknown);
  unknown.vt = 0x0FFF;  // a type that nobody knows
  VARIANT copy;
  VariantInit(&copy);
  EXPECT_EQ(DISP_E_BADVARTYPE, CodeRaisedBy([&] { VariantCopyOrRaise(&copy, &unknown); }));
  EXPECT_EQ(DISP_E_BADVARTYPE, CodeRaisedBy([&] { VariantClearOrRaise(&unknown); }));
  EXPECT_EQ(S_OK, CodeRaisedBy([&] { VariantClearOrRaise(&copy); }));
}

}  // namespace
