// The rules under the request handling: credentials, what text XML may carry, where an '&' is
// bare.
#include <gtest/gtest.h>

#include "service/basic_auth.h"
#include "service/xml_text.h"

namespace tarvelo::service {
namespace {

TEST(BasicCredentials, PassOnlyExactlyRightInTheOneBase64SpellingOfThem) {
  const auto verdict = [](std::string_view value, std::size_t count = 1) {
    return check_basic_credentials({count, value}, "tolvex", "kqv=47");
  };
  EXPECT_EQ(verdict("BASIC   dG9sdmV4Omtxdj00Nw=="), AuthVerdict::accepted);
  EXPECT_EQ(verdict("Basic dG9sdmV4Omtxdj00Nw==", 2), AuthVerdict::malformed);
  // No blank after the scheme; "tolvex" without a colon; base64 cut short, with three padding
  // characters, from another alphabet, and with bits set in front of the padding.
  for (const char* value :
       {"Basic", "Basicx dG9sdmV4Omtxdj00Nw==", "Basic dG9sdmV4", "Basic dG9sdmV4Omtxdj00Nw=",
        "Basic dG9sdmV4Omtxdj00N===", "Basic dG9sdmV4Omtx-j00Nw==", "Basic dG9sdmV4Omtxdj00Nx=="}) {
    EXPECT_EQ(verdict(value), AuthVerdict::malformed) << value;
  }
  // ":kqv=47", "Tolvex:kqv=47", "tolvex:kqv=4", "tolvex:kqv=47:", "tolvex:kqv=47\0"
  for (const char* value :
       {"Basic Omtxdj00Nw==", "Basic VG9sdmV4Omtxdj00Nw==", "Basic dG9sdmV4Omtxdj00",
        "Basic dG9sdmV4Omtxdj00Nzo=", "Basic dG9sdmV4Omtxdj00NwA="}) {
    EXPECT_EQ(verdict(value), AuthVerdict::wrong) << value;
  }
}

// Around the control characters, the surrogates, U+FFFE and the last code point; overlong, cut
// short, a lone continuation byte, five bytes.
TEST(XmlText, IsWellFormedUtf8OfXmlCharacters) {
  for (const char* text :
       {"\t\n\r", "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBD", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(is_valid_xml_text(text)) << ::testing::PrintToString(text);
  }
  for (const char* text : {"\x1F", "\xED\xA0\x80", "\xEF\xBF\xBE", "\xF4\x90\x80\x80", "\xC0\xAF",
                           "\xE0\x80\xAF", "\xE2\x82", "\x80", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(is_valid_xml_text(text)) << ::testing::PrintToString(text);
  }
}

TEST(XmlText, FindsTheFirstAmpersandThatStartsNoReference) {
  for (const char* text :
       {"<a>&#X26;</a>", "<a>&amp</a>", "<a>&;</a>", "<a>&#;&#x;</a>", "<a>&#1a;</a>"}) {
    EXPECT_EQ(find_bare_ampersand(text), 3u) << text;
  }
  EXPECT_EQ(find_bare_ampersand("<a b=\"x & y\"/>"), 8u);
  EXPECT_EQ(find_bare_ampersand("<a><!-- & --> & </a>"), 14u);
  for (const char* text : {"<a>&amp;&lt;&gt;&quot;&apos;&#38;&#x26;&#xaF;</a>",
                           "<a><!-- & --><![CDATA[ & ]]><?p & ?></a>"}) {
    EXPECT_EQ(find_bare_ampersand(text), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tarvelo::service
