// VARIANT: initialisation, clearing and deep copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "counting_unknown.h"
#include "oleauto.h"
#include "support/counted_bstr_memory.h"

namespace {

VARIANT StringVariant(const char16_t* text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

std::u16string TextOf(const VARIANT& v) {
  return std::u16string(v.bstrVal, SysStringLen(v.bstrVal));
}

TEST(VariantInit, MakesAnEmptyVariant) {
  VARIANT v;
  std::memset(&v, 0xCD, sizeof(v));
  VariantInit(&v);
  EXPECT_EQ(VT_EMPTY, v.vt);
}

TEST(VariantClear, FreesAnOwnedStringAndLeavesEmpty) {
  const long before = LiveBstrCount();
  VARIANT v = StringVariant(u"owned");
  EXPECT_EQ(before + 1, LiveBstrCount());
  EXPECT_EQ(S_OK, VariantClear(&v));
  EXPECT_EQ(VT_EMPTY, v.vt);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(VariantClear, ReleasesAReference) {
  CountingUnknown object;
  object.AddRef();  // the variant's reference
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = &object;
  EXPECT_EQ(S_OK, VariantClear(&v));
  EXPECT_EQ(0, object.References());
  EXPECT_EQ(VT_EMPTY, v.vt);
}

TEST(VariantClear, PlainValuesAndNullPointersBecomeEmpty) {
  const VARTYPE types[] = {VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_ERROR, VT_BOOL, VT_BSTR, VT_UNKNOWN};
  for (const VARTYPE type : types) {
    SCOPED_TRACE(type);
    VARIANT v;
    VariantInit(&v);
    v.vt = type;
    v.punkVal = nullptr;  // also a null BSTR
    EXPECT_EQ(S_OK, VariantClear(&v));
    EXPECT_EQ(VT_EMPTY, v.vt);
  }
}

TEST(VariantClear, RefusesAnUnknownTypeAndLeavesItAlone) {
  VARIANT v;
  VariantInit(&v);
  v.vt = 0x0FFF;
  v.lVal = 42;
  EXPECT_EQ(DISP_E_BADVARTYPE, VariantClear(&v));
  EXPECT_EQ(0x0FFF, v.vt);
  EXPECT_EQ(42, v.lVal);
  EXPECT_EQ(E_INVALIDARG, VariantClear(nullptr));
}

TEST(VariantCopy, DuplicatesAStringDeeply) {
  const long before = LiveBstrCount();
  VARIANT source = StringVariant(u"deep");
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(S_OK, VariantCopy(&copy, &source));
  EXPECT_EQ(VT_BSTR, copy.vt);
  EXPECT_NE(source.bstrVal, copy.bstrVal);
  EXPECT_EQ(u"deep", TextOf(copy));
  copy.bstrVal[0] = u'k';
  EXPECT_EQ(u"deep", TextOf(source));
  EXPECT_EQ(before + 2, LiveBstrCount());
  VariantClear(&copy);
  VariantClear(&source);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(VariantCopy, KeepsEmbeddedNulsAndOddByteLengths) {
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_BSTR;
  source.bstrVal = SysAllocStringByteLen("a\0b", 3);
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(S_OK, VariantCopy(&copy, &source));
  EXPECT_EQ(3u, SysStringByteLen(copy.bstrVal));
  EXPECT_EQ(0, std::memcmp(copy.bstrVal, "a\0b", 3));
  VariantClear(&copy);
  VariantClear(&source);
}

TEST(VariantCopy, ClearsTheDestinationFirst) {
  const long before = LiveBstrCount();
  CountingUnknown held;
  held.AddRef();
  VARIANT dest;
  VariantInit(&dest);
  dest.vt = VT_UNKNOWN;
  dest.punkVal = &held;
  VARIANT flag;
  VariantInit(&flag);
  flag.vt = VT_BOOL;
  flag.boolVal = VARIANT_FALSE;
  ASSERT_EQ(S_OK, VariantCopy(&dest, &flag));
  EXPECT_EQ(0, held.References());
  EXPECT_EQ(VT_BOOL, dest.vt);
  EXPECT_EQ(VARIANT_FALSE, dest.boolVal);

  VARIANT text = StringVariant(u"x");
  ASSERT_EQ(S_OK, VariantCopy(&dest, &text));
  VARIANT other = StringVariant(u"y");
  ASSERT_EQ(S_OK, VariantCopy(&dest, &other));  // the copy of "x" goes
  EXPECT_EQ(u"y", TextOf(dest));
  EXPECT_EQ(before + 3, LiveBstrCount());
  VariantClear(&dest);
  VariantClear(&text);
  VariantClear(&other);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(VariantCopy, AddsAReferenceToAnObject) {
  CountingUnknown object;
  object.AddRef();
  VARIANT source;
  VariantInit(&source);
  source.vt = VT_UNKNOWN;
  source.punkVal = &object;
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(S_OK, VariantCopy(&copy, &source));
  EXPECT_EQ(&object, copy.punkVal);
  EXPECT_EQ(2, object.References());
  VariantClear(&copy);
  VariantClear(&source);
  EXPECT_EQ(0, object.References());
}

TEST(VariantCopy, PlainValuesAndNullStrings) {
  const struct {
    VARTYPE vt;
    LONG value;
  } cases[] = {{VT_EMPTY, 0},   {VT_NULL, 0},       {VT_I2, 7},
               {VT_I4, -70000}, {VT_ERROR, E_FAIL}, {VT_BOOL, VARIANT_TRUE},
               {VT_BSTR, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vt);
    VARIANT source;
    VariantInit(&source);
    source.vt = c.vt;
    if (c.vt == VT_I2)
      source.iVal = static_cast<short>(c.value);
    else if (c.vt == VT_BOOL)
      source.boolVal = static_cast<VARIANT_BOOL>(c.value);
    else if (c.vt == VT_BSTR)
      source.bstrVal = nullptr;
    else
      source.lVal = c.value;
    VARIANT copy;
    VariantInit(&copy);
    ASSERT_EQ(S_OK, VariantCopy(&copy, &source));
    EXPECT_EQ(c.vt, copy.vt);
    EXPECT_EQ(0, std::memcmp(&source, &copy, sizeof(VARIANT)));
    VariantClear(&copy);
  }
}

TEST(VariantCopy, OntoItselfChangesNothing) {
  const long before = LiveBstrCount();
  VARIANT v = StringVariant(u"same");
  const BSTR original = v.bstrVal;
  EXPECT_EQ(S_OK, VariantCopy(&v, &v));
  EXPECT_EQ(original, v.bstrVal);
  EXPECT_EQ(u"same", TextOf(v));
  VariantClear(&v);
  EXPECT_EQ(before, LiveBstrCount());
}

TEST(VariantCopy, AnUnknownSourceTypeLeavesTheDestinationAlone) {
  VARIANT dest = StringVariant(u"kept");
  VARIANT source;
  VariantInit(&source);
  source.vt = 0x0FFF;
  EXPECT_EQ(DISP_E_BADVARTYPE, VariantCopy(&dest, &source));
  EXPECT_EQ(VT_BSTR, dest.vt);
  EXPECT_EQ(u"kept", TextOf(dest));
  VariantClear(&dest);
}

TEST(VariantCopy, OutOfMemoryLeavesTheDestinationEmpty) {
  const long before = LiveBstrCount();
  VARIANT source = StringVariant(u"text");
  VARIANT dest = StringVariant(u"old");
  FailNextBstrAllocations(1);
  EXPECT_EQ(E_OUTOFMEMORY, VariantCopy(&dest, &source));
  EXPECT_EQ(VT_EMPTY, dest.vt);
  EXPECT_EQ(u"text", TextOf(source));
  VariantClear(&source);
  EXPECT_EQ(before, LiveBstrCount());  // "old" went with the clear
}

}  // namespace
