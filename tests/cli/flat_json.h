// Reads the one flat JSON object that tarvelo-cli prints: string, integer and string-array
// members. Anything else, and anything that is not well-formed JSON, is a failure.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli_test {

struct FlatJsonValue {
  enum class Kind { kString, kInteger, kStringArray } kind = Kind::kString;
  std::string text;                // kString, decoded
  long long integer = 0;           // kInteger
  std::vector<std::string> items;  // kStringArray, decoded
};

using FlatJsonObject = std::map<std::string, FlatJsonValue>;

// The object, or nullopt with the reason in *error. A member given twice is an error.
std::optional<FlatJsonObject> ReadFlatJson(std::string_view text, std::string* error);

}  // namespace cli_test
