#include "service/media_type.h"

#include <gtest/gtest.h>

namespace tarvelo::service {
namespace {

TEST(MediaType, ReadsTypeAndParameters) {
  struct Row {
    const char* text;
    const char* essence;
    std::vector<std::pair<std::string, std::string>> parameters;
  };
  for (const Row& row : {
           Row{"application/soap+xml", "application/soap+xml", {}},
           Row{"  text/xml  ", "text/xml", {}},
           Row{"application/soap+xml; charset=utf-8",
               "application/soap+xml",
               {{"charset", "utf-8"}}},
           Row{"application/soap+xml;charset=UTF-8;action=\"urn:a;b\"",
               "application/soap+xml",
               {{"charset", "UTF-8"}, {"action", "urn:a;b"}}},
           Row{"text/xml; x=\"q\\\"uote\"", "text/xml", {{"x", "q\"uote"}}},
           Row{"text/xml; x=\"\"", "text/xml", {{"x", ""}}},
           Row{"text/xml;", "text/xml", {}},
       }) {
    const std::optional<MediaType> media = parse_media_type(row.text);
    ASSERT_TRUE(media.has_value()) << row.text;
    EXPECT_EQ(media->essence, row.essence);
    std::vector<std::pair<std::string, std::string>> parameters;
    for (const auto& [name, value] : media->parameters) parameters.emplace_back(name, value);
    EXPECT_EQ(parameters, row.parameters) << row.text;
  }
}

TEST(MediaType, RefusesWhatIsNotAMediaType) {
  for (const char* text :
       {"", "text", "text/", "/xml", "text/xml extra", "text/xml; =v", "text/xml; a",
        "text/xml; a=", "text/xml; a=\"open", "text xml", "text/xml; a=b c"}) {
    EXPECT_FALSE(parse_media_type(text).has_value()) << '"' << text << '"';
  }
}

TEST(MediaType, ComparesTypesAndParameterNamesWithoutCase) {
  const std::optional<MediaType> media =
      parse_media_type("Application/SOAP+XML; Action=urn:x; action=urn:y");
  ASSERT_TRUE(media.has_value());
  EXPECT_TRUE(media->is("application/soap+xml"));
  EXPECT_FALSE(media->is("application/soap"));
  EXPECT_EQ(media->parameter("ACTION"), "urn:x") << "the first of a repeated parameter counts";
  EXPECT_EQ(media->parameter("charset"), std::nullopt);
}

}  // namespace
}  // namespace tarvelo::service
