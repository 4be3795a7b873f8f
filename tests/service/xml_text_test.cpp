#include "service/xml_text.h"

#include <gtest/gtest.h>

namespace tarvelo::service {
namespace {

TEST(XmlEscape, ReplacesOnlyWhatMarkupWouldMisread) {
  struct Row {
    std::string text;
    std::string escaped;
  };
  for (const Row& row : {Row{"", ""}, Row{"plain text", "plain text"},
                         Row{"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e'f"}, Row{"&&", "&amp;&amp;"},
                         Row{"<", "&lt;"}, Row{"line\r\nnext\ttab", "line&#13;\nnext\ttab"},
                         Row{"\xC5\xBE\xF0\x9F\x98\x80", "\xC5\xBE\xF0\x9F\x98\x80"}}) {
    std::string out = "prefix:";
    append_escaped(out, row.text);
    EXPECT_EQ(out, "prefix:" + row.escaped);
  }
}

TEST(XmlText, AcceptsWellFormedUtf8OfXmlCharactersOnly) {
  struct Row {
    std::string text;
    bool valid;
  };
  for (const Row& row : {
           Row{"", true},
           Row{"tab\tline\ncr\r", true},
           Row{"\xC3\xA9", true},               // U+00E9
           Row{"\xED\x9F\xBF", true},           // U+D7FF
           Row{"\xEE\x80\x80", true},           // U+E000
           Row{"\xEF\xBF\xBD", true},           // U+FFFD
           Row{"\xF0\x90\x80\x80", true},       // U+10000
           Row{"\xF4\x8F\xBF\xBF", true},       // U+10FFFF
           Row{std::string("a\0b", 3), false},  // NUL
           Row{"\x01", false},
           Row{"\x1F", false},
           Row{"\xEF\xBF\xBE", false},          // U+FFFE
           Row{"\xED\xA0\x80", false},          // a surrogate
           Row{"\xF4\x90\x80\x80", false},      // beyond U+10FFFF
           Row{"\xC0\xAF", false},              // overlong '/'
           Row{"\xE0\x80\xAF", false},          // overlong '/'
           Row{"\xC3", false},                  // cut short
           Row{"\xE2\x82", false},              // cut short
           Row{"\x80", false},                  // lone continuation
           Row{"caf\xE9", false},               // Latin-1
           Row{"\xF8\x88\x80\x80\x80", false},  // five bytes
       }) {
    EXPECT_EQ(is_valid_xml_text(row.text), row.valid) << ::testing::PrintToString(row.text);
  }
}

TEST(BareAmpersand, IsFoundWhereverMarkupCountsAndOnlyThere) {
  struct Row {
    std::string document;
    std::size_t offset;
  };
  constexpr std::size_t kNone = std::string::npos;
  for (const Row& row : {
           Row{"<a>Tom &amp; Jerry &lt;&gt;&quot;&apos;</a>", kNone},
           Row{"<a>&#38;&#x26;&#X26;</a>", 14},
           Row{"<a>Tom & Jerry</a>", 7},
           Row{"<a>&amp</a>", 3},
           Row{"<a>&;</a>", 3},
           Row{"<a>&#;&#x;</a>", 3},
           Row{"<a>&#12a;</a>", 3},
           Row{"<a>&nbsp;</a>", 3},
           Row{"<a b=\"x & y\"/>", 8},
           Row{"<a><!-- & --><![CDATA[ & ]]><?p & ?></a>", kNone},
           Row{"<a><!-- & --> & </a>", 14},
           Row{"<a><![CDATA[ & </a>", kNone},
       }) {
    EXPECT_EQ(find_bare_ampersand(row.document), row.offset) << row.document;
  }
}

}  // namespace
}  // namespace tarvelo::service
