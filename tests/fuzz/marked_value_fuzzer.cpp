// ExtractMarkedValue on any text, markers, mode, search position and value buffer. Both buffers
// must come back terminated within their sizes (they are exact heap blocks, so AddressSanitizer
// sees any write beyond), a failure must leave the value empty and say why, and a value found
// must stand in the text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "text/marked_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int mode = data.PickValueInArray({0, -1, 1});
  const int value_size = data.ConsumeIntegralInRange(1, 256);
  g_nSearchPos = data.ConsumeIntegralInRange(0, 300);  // where an earlier search stopped
  std::string markers[4];                              // begin, end, group begin, group end
  for (std::string& marker : markers) marker = data.ConsumeRandomLengthString(80);
  const std::string source = data.ConsumeRemainingBytesAsString();

  const auto value = std::make_unique<char[]>(static_cast<std::size_t>(value_size));
  const auto message = std::make_unique<char[]>(kMarkedValueMessageSize);
  std::memset(value.get(), 'v', static_cast<std::size_t>(value_size));
  std::memset(message.get(), 'm', kMarkedValueMessageSize);
  const int result =
      ExtractMarkedValue(source.c_str(), markers[0].c_str(), value.get(), markers[1].c_str(),
                         markers[2].c_str(), markers[3].c_str(), mode, message.get(), value_size);

  const std::string got_value = terminated_text(value.get(), static_cast<std::size_t>(value_size));
  const std::string got_message = terminated_text(message.get(), kMarkedValueMessageSize);
  fuzz_check((result == 1 && got_message.empty()) || (result == 0 && !got_message.empty()),
             "result " + std::to_string(result) + ", message \"" + got_message + "\"");
  fuzz_check(result == 1 ? source.find(got_value) != std::string::npos : got_value.empty(),
             "value \"" + got_value + "\"");
  return 0;
}
