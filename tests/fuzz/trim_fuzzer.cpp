// The trimming functions on any text. The first byte picks the function (and its mode), the rest
// is the text. What is left must be the text with nothing but blanks, tabs, CR and LF taken off
// its ends; the buffer holds exactly the text and its NUL, so AddressSanitizer sees any write
// beyond it.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "text/trim.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return 0;
  const std::string input(reinterpret_cast<const char*>(bytes) + 1,
                          strnlen(reinterpret_cast<const char*>(bytes) + 1, size - 1));
  const auto buffer = std::make_unique<char[]>(input.size() + 1);
  std::memcpy(buffer.get(), input.c_str(), input.size() + 1);
  const int which = bytes[0] % 8;
  const char mode[] = {"ARL"[which % 3], '\0'};
  int blank = -1;
  if (which == 0) StripLineEnd(buffer.get());
  if (which >= 1 && which <= 3) TrimWhitespace(buffer.get(), which - 1);
  if (which == 4) blank = IsBlankText(buffer.get());
  if (which >= 5) fuzz_check(TrimText(buffer.get(), mode) == buffer.get(), "TrimText's result");

  const std::string left = terminated_text(buffer.get(), input.size() + 1);
  // Its first occurrence is where it stands: an earlier one would begin inside the cut-off front.
  const std::size_t at = input.find(left);
  const auto trimmable = [](const std::string& part) {
    return part.find_first_not_of(" \t\r\n") == std::string::npos;
  };
  fuzz_check(at != std::string::npos && trimmable(input.substr(0, at)) &&
                 trimmable(input.substr(at + left.size())),
             "\"" + left + "\" is not \"" + input + "\" trimmed at its ends");
  fuzz_check(blank == -1 || blank == (left.empty() ? 1 : 0), "IsBlankText answered wrongly");
  return 0;
}
