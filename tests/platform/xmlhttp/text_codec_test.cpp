// Conversions of the component's texts: request bodies to UTF-8, reply bodies from their
// charset to UTF-16.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "reply_charset.h"
#include "utf_convert.h"

namespace {

using xmlhttp::Charset;

struct Utf16ToUtf8Case {
  const char* name;
  std::u16string text;
  std::string utf8;
};

void PrintTo(const Utf16ToUtf8Case& value, std::ostream* out) {
  *out << value.name;
}

class Utf16ToUtf8Test : public ::testing::TestWithParam<Utf16ToUtf8Case> {};

TEST_P(Utf16ToUtf8Test, EncodesEveryUnitOrReplacesIt) {
  EXPECT_EQ(xmlhttp::Utf16ToUtf8(GetParam().text), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf16ToUtf8Test,
    ::testing::Values(
        Utf16ToUtf8Case{"Empty", u"", ""}, Utf16ToUtf8Case{"Ascii", u"<srt>", "<srt>"},
        // The dialog's Windows-1250 letters after their conversion to UTF-16.
        Utf16ToUtf8Case{"CentralEuropeanLetters", u"\u010D\u0107\u017E\u0111\u0161",
                        "\xC4\x8D\xC4\x87\xC5\xBE\xC4\x91\xC5\xA1"},
        Utf16ToUtf8Case{"TwoAndThreeByteLimits", u"\u007F\u0080\u07FF\u0800\uFFFF",
                        "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
        Utf16ToUtf8Case{"SurrogatePairIsOneCharacter", u"a\U0001F600b",
                        "a\xF0\x9F\x98\x80"
                        "b"},
        Utf16ToUtf8Case{"HighestCharacter", u"\U0010FFFF", "\xF4\x8F\xBF\xBF"},
        Utf16ToUtf8Case{"LoneHighSurrogate", std::u16string{u'a', 0xD800, u'b'},
                        "a\xEF\xBF\xBD"
                        "b"},
        Utf16ToUtf8Case{"LoneLowSurrogate", std::u16string{0xDC00, u'b'},
                        "\xEF\xBF\xBD"
                        "b"},
        Utf16ToUtf8Case{"HighSurrogateAtTheEnd", std::u16string{u'a', 0xDBFF}, "a\xEF\xBF\xBD"},
        Utf16ToUtf8Case{"SwappedPair", std::u16string{0xDE00, 0xD83D}, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        Utf16ToUtf8Case{"EmbeddedNul", std::u16string{u'a', 0, u'b'}, std::string("a\0b", 3)}),
    [](const auto& info) { return info.param.name; });

struct Utf8ToUtf16Case {
  const char* name;
  std::string bytes;
  std::u16string text;
};

void PrintTo(const Utf8ToUtf16Case& value, std::ostream* out) {
  *out << value.name;
}

class Utf8ToUtf16Test : public ::testing::TestWithParam<Utf8ToUtf16Case> {};

TEST_P(Utf8ToUtf16Test, DecodesAndReplacesEachMalformedSequenceOnce) {
  EXPECT_EQ(xmlhttp::Utf8ToUtf16(GetParam().bytes), GetParam().text);
  EXPECT_EQ(xmlhttp::Utf8ToUtf16(GetParam().bytes, nullptr), GetParam().text.size())
      << "the counting pass must agree with the decoding pass";
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Utf8ToUtf16Test,
    ::testing::Values(
        Utf8ToUtf16Case{"Ascii", "Hello", u"Hello"},
        Utf8ToUtf16Case{"CzechWord", "\xC5\xBDlu\xC5\xA5ou\xC4\x8Dk\xC3\xBD", u"Žluťoučký"},
        Utf8ToUtf16Case{"FourBytesBecomeAPair", "\xF0\x9F\x98\x80", u"\U0001F600"},
        Utf8ToUtf16Case{"StrayContinuationByte",
                        "a\x80"
                        "b",
                        u"a\uFFFDb"},
        Utf8ToUtf16Case{"InvalidLeadBytes", "\xC0\xC1\xF5\xFF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8ToUtf16Case{"OverlongSlash", "\xC0\xAF", u"\uFFFD\uFFFD"},
        Utf8ToUtf16Case{"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        Utf8ToUtf16Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        Utf8ToUtf16Case{"BeyondLastCharacter", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        // A truncated sequence is one replacement, and the byte that broke it starts afresh.
        Utf8ToUtf16Case{"TruncatedThenAscii",
                        "\xE2\x82"
                        "A",
                        u"\uFFFDA"},
        Utf8ToUtf16Case{"TruncatedThenLead", "\xF0\x9F\x98\xC5\xBD", u"\uFFFDŽ"},
        Utf8ToUtf16Case{"TruncatedAtTheEnd", "ok\xF0\x9F", u"ok\uFFFD"}),
    [](const auto& info) { return info.param.name; });

TEST(CharsetParameter, IsFoundAmongParametersWhateverTheCaseAndQuotes) {
  EXPECT_EQ(xmlhttp::CharsetParameter("text/xml; charset=utf-8"), "utf-8");
  EXPECT_EQ(xmlhttp::CharsetParameter("application/soap+xml;CHARSET=\"ISO-8859-1\";action=x"),
            "ISO-8859-1");
  EXPECT_EQ(xmlhttp::CharsetParameter("text/plain; format=flowed ;  charset = cp1250 "), "cp1250");
  EXPECT_EQ(xmlhttp::CharsetParameter("text/plain"), "");
  EXPECT_EQ(xmlhttp::CharsetParameter("text/plain; mycharset=latin1"), "");
  EXPECT_EQ(xmlhttp::CharsetParameter(""), "");
}

TEST(CharsetFromLabel, KnowsTheUsualNamesAndFallsBackToUtf8) {
  EXPECT_EQ(xmlhttp::CharsetFromLabel("UTF-8"), Charset::kUtf8);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("iso-8859-1"), Charset::kLatin1);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("Latin1"), Charset::kLatin1);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("windows-1250"), Charset::kWindows1250);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("CP1252"), Charset::kWindows1252);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("utf-16"), Charset::kUtf16Le);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("UTF-16BE"), Charset::kUtf16Be);
  EXPECT_EQ(xmlhttp::CharsetFromLabel("klingon"), Charset::kUtf8);
  EXPECT_EQ(xmlhttp::CharsetFromLabel(""), Charset::kUtf8);
}

struct ReplyCase {
  const char* name;
  std::string contentType;
  std::string body;
  std::u16string text;
};

void PrintTo(const ReplyCase& value, std::ostream* out) {
  *out << value.name;
}

class ReplyDecodingTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyDecodingTest, GivesTheTextTheServerMeant) {
  const auto& param = GetParam();
  const auto encoding = xmlhttp::ChooseReplyEncoding(param.body, param.contentType);
  const std::string_view bytes = std::string_view(param.body).substr(encoding.bomLength);
  std::u16string text(xmlhttp::DecodeText(bytes, encoding.charset, nullptr), u'\0');
  xmlhttp::DecodeText(bytes, encoding.charset, text.data());
  EXPECT_EQ(text, param.text);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ReplyDecodingTest,
    ::testing::Values(
        ReplyCase{"Utf8Named", "text/xml; charset=utf-8", "\xC5\xBDlu\xC5\xA5", u"Žluť"},
        ReplyCase{"NothingNamedMeansUtf8", "text/xml", "\xC5\xBDlu\xC5\xA5", u"Žluť"},
        ReplyCase{"NoContentTypeMeansUtf8", "", "caf\xC3\xA9", u"café"},
        ReplyCase{"Utf8BomDropped", "text/xml", "\xEF\xBB\xBF<a/>", u"<a/>"},
        ReplyCase{"BomOutranksTheLabel", "text/xml; charset=iso-8859-1", "\xEF\xBB\xBF\xC3\xA9",
                  u"é"},
        ReplyCase{"Latin1", "text/plain; charset=iso-8859-1", "caf\xE9 \xA0\xFF", u"café \u00A0ÿ"},
        ReplyCase{"Windows1250", "text/plain; charset=windows-1250", "\x8A\x9E\xE8\xF0", u"Šžčđ"},
        ReplyCase{"Windows1252", "text/plain; charset=windows-1252", "\x80\x8A\x9C\xE9", u"€Šœé"},
        ReplyCase{"Utf16LittleEndianBom", "text/plain; charset=utf-16",
                  std::string("\xFF\xFEH\0i\0\x3D\xD8\x00\xDE", 10), u"Hi\U0001F600"},
        ReplyCase{"Utf16BigEndianBom", "text/plain; charset=utf-16",
                  std::string("\xFE\xFF\0H\x01\x7E", 6), u"Hž"},
        ReplyCase{"Utf16BomWithoutLabel", "text/plain", std::string("\xFF\xFEo\0k\0", 6), u"ok"},
        ReplyCase{"Utf16OddLastByte", "text/plain; charset=utf-16le", std::string("o\0k", 3),
                  u"o\uFFFD"},
        ReplyCase{"Utf16LoneSurrogate", "text/plain; charset=utf-16le",
                  std::string("\x00\xD8"
                              "a\0",
                              4),
                  u"\uFFFDa"},
        ReplyCase{"InvalidUtf8", "text/plain; charset=utf-8",
                  "a\xFF"
                  "b\xC3",
                  u"a\uFFFDb\uFFFD"},
        ReplyCase{"EmptyBody", "text/plain; charset=utf-16", "", u""}),
    [](const auto& info) { return info.param.name; });

}  // namespace
