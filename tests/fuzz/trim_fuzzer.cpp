// The four trimming functions on any text: each may only take blanks, tabs, CR and LF off the
// ends it is meant to, never writes past the text's terminator (the buffer is exactly the text
// and its NUL, so AddressSanitizer sees any byte beyond), and says whether anything is left.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "text/trim.h"

namespace {

bool only(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

// The text left in the buffer, checked to be the input shortened at its ends only: the front
// loses at most what `front` allows, the back at most what `back` allows.
std::string remains(const char* buffer, const std::string& input, std::string_view front,
                    std::string_view back) {
  const std::string result = terminated_text(buffer, input.size() + 1, "the text");
  FUZZ_CHECK(result.size() <= input.size(), "the text grew");
  const std::string_view in(input);
  // The front can only have lost a run of allowed characters: try each length of that run.
  for (std::size_t cut = 0; cut + result.size() <= in.size(); ++cut) {
    if (in.substr(cut, result.size()) == result && only(in.substr(cut + result.size()), back)) {
      return result;
    }
    if (cut == in.size() || front.find(in[cut]) == std::string_view::npos) break;
  }
  FUZZ_CHECK(false, "\"" + result + "\" is not \"" + input + "\" trimmed at its ends");
  return result;
}

std::unique_ptr<char[]> buffer_of(const std::string& text) {
  auto buffer = std::make_unique<char[]>(text.size() + 1);
  std::memcpy(buffer.get(), text.c_str(), text.size() + 1);
  return buffer;
}

bool starts_blank(std::string_view text) {
  return !text.empty() && (text.front() == ' ' || text.front() == '\t');
}
bool ends_blank(std::string_view text) {
  return !text.empty() && (text.back() == ' ' || text.back() == '\t');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int which = data.ConsumeIntegralInRange(0, 3);
  const int mode = data.ConsumeIntegralInRange(-1, 3);
  const char mode_letters[] = {'A', 'R', 'L', 'a', 'x', '\0'};
  const char letter = data.PickValueInArray(mode_letters);
  std::string input = data.ConsumeRemainingBytesAsString();
  input = input.substr(0, input.find('\0'));
  const auto buffer = buffer_of(input);
  constexpr std::string_view kBlanks = " \t";
  constexpr std::string_view kLineEnd = "\r\n";

  switch (which) {
    case 0: {
      StripLineEnd(buffer.get());
      const std::string result = remains(buffer.get(), input, "", kLineEnd);
      const bool crlf = input.ends_with("\r\n");
      const bool lf = input.ends_with('\n');
      const std::size_t cut = crlf ? 2 : lf ? 1 : 0;
      FUZZ_CHECK(result == input.substr(0, input.size() - cut), "line end: \"" + result + "\"");
      break;
    }
    case 1: {
      TrimWhitespace(buffer.get(), mode);
      const bool left = mode == 0 || mode == 2;
      const bool right = mode == 0 || mode == 1;
      const std::string result =
          remains(buffer.get(), input, left ? kBlanks : "", right ? kBlanks : "");
      FUZZ_CHECK(!(left && starts_blank(result)), "a blank left at the front");
      FUZZ_CHECK(!(right && ends_blank(result)), "a blank left at the back");
      break;
    }
    case 2: {
      const int blank = IsBlankText(buffer.get());
      const std::string result = remains(buffer.get(), input, kBlanks, " \t\r\n");
      FUZZ_CHECK(blank == (result.empty() ? 1 : 0),
                 "IsBlankText answered " + std::to_string(blank) + " for \"" + result + "\"");
      FUZZ_CHECK(!starts_blank(result), "a blank left at the front");
      break;
    }
    default: {
      const char mode_text[] = {letter, 'x', '\0'};
      char* const returned = TrimText(buffer.get(), mode_text);
      FUZZ_CHECK(returned == buffer.get(), "TrimText returned another pointer");
      const bool trims = letter == 'A' || letter == 'R' || letter == 'L';
      const std::string result =
          remains(buffer.get(), input, letter == 'A' || letter == 'L' ? " " : "",
                  letter == 'A' || letter == 'R' ? " \r\n" : "");
      FUZZ_CHECK(trims || result == input, "an unknown mode changed the text");
      FUZZ_CHECK(!(letter != 'R' && trims && !result.empty() && result.front() == ' '),
                 "a blank left at the front");
      FUZZ_CHECK(!(letter != 'L' && trims && !result.empty() && result.back() == ' '),
                 "a blank left at the back");
      break;
    }
  }
  return 0;
}
