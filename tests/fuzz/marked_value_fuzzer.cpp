// ExtractMarkedValue over sequences of calls: fresh searches, group searches and continuing
// searches on changing texts, with markers of any length and value buffers of any size.
//
// Outside a group the result is checked against a plain search written here with std::string;
// inside a group (which bounds the search in ways of its own) the value is checked to stand
// between the markers in the text. Every call must keep both buffers terminated within their
// sizes; AddressSanitizer watches the bytes just past them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "text/marked_value.h"

namespace {

const std::vector<std::string> kMessages = {
    "Error group params ?",
    "Error begin group value not found ?",
    "Error end group value not found ?",
    "Error search params ?",
    "Error begin search params not found ?",
    "Error search end params not found ?",
};

// A marker as the search uses it: its first 63 characters, without blanks and tabs at the ends,
// then without a final LF (and a CR in front of it).
std::string normalised(const std::string& marker) {
  std::string text = marker.substr(0, std::min(marker.find('\0'), std::size_t{63}));
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
  return text;
}

struct Expected {
  int result;
  std::string value;  // before it is cut to the buffer
  std::string message;
  int search_pos;
};

// A search without a group from `start`.
Expected plain_search(const std::string& source, const std::string& begin, const std::string& end,
                      int start) {
  if (begin.empty() || end.empty()) return {0, "", kMessages[3], start};
  const std::size_t at = source.find(begin, static_cast<std::size_t>(start));
  if (at == std::string::npos) return {0, "", kMessages[4], start};
  const std::size_t inside = at + begin.size();
  const std::size_t closing = source.find(end, inside);
  if (closing == std::string::npos) return {0, "", kMessages[5], static_cast<int>(inside)};
  return {1, source.substr(inside, closing - inside), "", static_cast<int>(closing + end.size())};
}

// Picks a marker: usually a piece of the source (so that it is found), sometimes made up.
std::string pick_marker(FuzzedDataProvider& data, const std::string& source) {
  if (!source.empty() && data.ConsumeBool()) {
    const std::size_t from = data.ConsumeIntegralInRange<std::size_t>(0, source.size() - 1);
    return source.substr(from, data.ConsumeIntegralInRange<std::size_t>(1, 80));
  }
  return data.ConsumeRandomLengthString(100);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  std::string source = data.ConsumeRandomLengthString(4096);
  std::erase(source, '\0');  // the program's texts come from NUL-terminated strings
  const int calls = data.ConsumeIntegralInRange(1, 6);
  for (int call = 0; call < calls && data.remaining_bytes() > 0; ++call) {
    if (call > 0 && data.ConsumeIntegralInRange(0, 3) == 0) {
      source = data.ConsumeRandomLengthString(1024);  // a continuing search on another text
      std::erase(source, '\0');
    }
    const std::string begin = pick_marker(data, source);
    const std::string end = pick_marker(data, source);
    const std::string group_begin = pick_marker(data, source);
    const std::string group_end = pick_marker(data, source);
    const int modes[] = {0, -1, 1, 7, -2};
    const int mode = data.PickValueInArray(modes);
    const int value_size = data.ConsumeIntegralInRange(1, 600);

    const auto value = std::make_unique<char[]>(static_cast<std::size_t>(value_size));
    const auto message = std::make_unique<char[]>(kMarkedValueMessageSize);
    std::memset(value.get(), 'v', static_cast<std::size_t>(value_size));
    std::memset(message.get(), 'm', kMarkedValueMessageSize);
    const int start = g_nSearchPos;

    const int result = ExtractMarkedValue(
        CString(source.data(), static_cast<int>(source.size())), begin.c_str(), value.get(),
        end.c_str(), group_begin.c_str(), group_end.c_str(), mode, message.get(), value_size);

    const std::string got_value =
        terminated_text(value.get(), static_cast<std::size_t>(value_size), "the value buffer");
    const std::string got_message =
        terminated_text(message.get(), kMarkedValueMessageSize, "the message buffer");
    FUZZ_CHECK(result == 0 || result == 1, "result " + std::to_string(result));
    FUZZ_CHECK((result == 1) == got_message.empty(), "message \"" + got_message + "\"");
    FUZZ_CHECK(result == 1 || got_value.empty(), "a failure left the value " + got_value);
    FUZZ_CHECK(result == 1 ||
                   std::find(kMessages.begin(), kMessages.end(), got_message) != kMessages.end(),
               "unknown message \"" + got_message + "\"");
    FUZZ_CHECK(
        g_nSearchPos >= 0 && g_nSearchPos <= std::max(static_cast<int>(source.size()), start),
        "search position " + std::to_string(g_nSearchPos));

    const std::string b = normalised(begin);
    const std::string e = normalised(end);
    if (mode != -1) {
      const Expected expected = plain_search(source, b, e, mode == 0 ? 0 : start);
      FUZZ_CHECK(result == expected.result, "result differs from the plain search");
      FUZZ_CHECK(got_message == expected.message, got_message + " / " + expected.message);
      FUZZ_CHECK(got_value == expected.value.substr(0, static_cast<std::size_t>(value_size - 1)),
                 "value \"" + got_value + "\" expected \"" + expected.value + "\"");
      FUZZ_CHECK(g_nSearchPos == expected.search_pos,
                 std::to_string(g_nSearchPos) + " / " + std::to_string(expected.search_pos));
    } else if (result == 1) {
      // The value ends where the search goes on, right behind an end marker, and follows a
      // begin marker that lies behind the group's opening marker.
      const std::size_t after = static_cast<std::size_t>(g_nSearchPos);
      FUZZ_CHECK(after >= e.size() && source.compare(after - e.size(), e.size(), e) == 0,
                 "no end marker in front of the search position");
      const std::string g = normalised(group_begin);
      const std::size_t group = source.find(g);
      FUZZ_CHECK(group != std::string::npos, "a value was found without its group");
      const std::size_t at = source.find(b, group + g.size());
      FUZZ_CHECK(at != std::string::npos, "no begin marker inside the group");
      const std::string full = source.substr(at + b.size(), after - e.size() - at - b.size());
      FUZZ_CHECK(got_value == full.substr(0, static_cast<std::size_t>(value_size - 1)),
                 "value \"" + got_value + "\" expected \"" + full + "\"");
    }
  }
  return 0;
}
