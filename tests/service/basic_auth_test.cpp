#include "service/basic_auth.h"

#include <gtest/gtest.h>

namespace tarvelo::service {
namespace {

TEST(Base64, DecodesPaddedTextAndRefusesEverythingElse) {
  struct Row {
    const char* text;
    std::optional<std::string> decoded;
  };
  for (const Row& row :
       {Row{"", ""}, Row{"YQ==", "a"}, Row{"YWI=", "ab"}, Row{"YWJj", "abc"},
        Row{"dG9sdmV4Omtxdj00Nw==", "tolvex:kqv=47"}, Row{"//79", "\xFF\xFE\xFD"},
        Row{"AAA=", std::string("\0\0", 2)}, Row{"YQ", std::nullopt}, Row{"YQ=", std::nullopt},
        Row{"Y===", std::nullopt}, Row{"====", std::nullopt}, Row{"YW=j", std::nullopt},
        Row{"YW j", std::nullopt}, Row{"YW-_", std::nullopt}, Row{"YWJjZA", std::nullopt},
        // Bits set in front of the padding: another spelling of "a", "ab" and the credentials.
        Row{"YR==", std::nullopt}, Row{"YWJ=", std::nullopt},
        Row{"dG9sdmV4Omtxdj00Nx==", std::nullopt}}) {
    EXPECT_EQ(decode_base64(row.text), row.decoded) << '"' << row.text << '"';
  }
}

TEST(ConstantTimeEquals, IsPlainEqualityOverBytes) {
  struct Row {
    std::string a;
    std::string b;
    bool equal;
  };
  for (const Row& row :
       {Row{"", "", true}, Row{"kqv=47", "kqv=47", true}, Row{"kqv=47", "kqv=48", false},
        Row{"kqv=47", "Kqv=47", false}, Row{"kqv=47", "kqv=4", false}, Row{"kqv", "kqv=47", false},
        Row{"", "x", false}, Row{std::string("a\0b", 3), "a", false},
        Row{std::string("a\0", 2), "a", false}}) {
    EXPECT_EQ(constant_time_equals(row.a, row.b), row.equal) << row.a << " / " << row.b;
    EXPECT_EQ(constant_time_equals(row.b, row.a), row.equal) << "symmetric";
  }
}

TEST(BasicCredentials, AreJudgedFromTheAuthorizationFields) {
  struct Row {
    HeaderField field;
    AuthVerdict verdict;
  };
  for (const Row& row : {
           Row{{0, ""}, AuthVerdict::missing},
           Row{{1, "Basic dG9sdmV4Omtxdj00Nw=="}, AuthVerdict::accepted},
           Row{{1, "BASIC dG9sdmV4Omtxdj00Nw=="}, AuthVerdict::accepted},
           Row{{1, "Basic   dG9sdmV4Omtxdj00Nw=="}, AuthVerdict::accepted},
           Row{{2, "Basic dG9sdmV4Omtxdj00Nw=="}, AuthVerdict::malformed},
           Row{{1, "Basic"}, AuthVerdict::malformed}, Row{{1, "Basic "}, AuthVerdict::malformed},
           Row{{1, "Basicx dG9sdmV4Omtxdj00Nw=="}, AuthVerdict::malformed},
           Row{{1, "Digest username=\"tolvex\""}, AuthVerdict::malformed},
           Row{{1, "Basic dG9sdmV4"}, AuthVerdict::malformed},          // "tolvex"
           Row{{1, "Basic Omtxdj00Nw=="}, AuthVerdict::wrong},          // ":kqv=47"
           Row{{1, "Basic dG9sdmV4Og=="}, AuthVerdict::wrong},          // "tolvex:"
           Row{{1, "Basic dG9sdmV4Omtxdj00Nzo="}, AuthVerdict::wrong},  // "tolvex:kqv=47:"
           Row{{1, "Basic dG9sdmV4IDprcXY9NDc="}, AuthVerdict::wrong},  // "tolvex :kqv=47"
       }) {
    EXPECT_EQ(check_basic_credentials(row.field, "tolvex", "kqv=47"), row.verdict)
        << row.field.count << " x " << row.field.value;
  }
}

}  // namespace
}  // namespace tarvelo::service
