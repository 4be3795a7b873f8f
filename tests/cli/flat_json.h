// Reads the one JSON object that tarvelo-cli prints: string, number, null, string-array,
// number-array and object members. Anything else, and anything that is not well-formed JSON,
// is a failure.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli_test {

struct FlatJsonValue;
using FlatJsonObject = std::map<std::string, FlatJsonValue>;

struct FlatJsonValue {
  enum class Kind {
    kString,
    kInteger,
    kNumber,  // with a fraction
    kNull,
    kStringArray,
    kNumberArray,  // an empty array is a kStringArray
    kObject,
  } kind = Kind::kString;
  std::string text;                        // kString, decoded
  long long integer = 0;                   // kInteger
  double number = 0;                       // kInteger, kNumber
  std::vector<std::string> items;          // kStringArray, decoded
  std::vector<double> numbers;             // kNumberArray
  std::shared_ptr<FlatJsonObject> object;  // kObject
};

// The object, or nullopt with the reason in *error. A member given twice is an error.
std::optional<FlatJsonObject> ReadFlatJson(std::string_view text, std::string* error);

}  // namespace cli_test
