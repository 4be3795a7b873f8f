// The judgement of a reply body on any text: it passes exactly when the text of the first
// simpleMethodResult element begins with "Hello", and both of the caller's buffers stay
// terminated within their 512 bytes whatever the reply holds.
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "soap/soap_message.h"
#include "text/marked_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string reply(reinterpret_cast<const char*>(bytes), size);
  reply = reply.substr(0, reply.find('\0'));  // the reply reaches the judgement as a C string

  char result[kSoapReplyBufferSize];
  char error[kSoapReplyBufferSize];
  std::memset(result, 'r', sizeof result);
  std::memset(error, 'e', sizeof error);
  g_nSearchPos = static_cast<int>(size % 97);  // whatever an earlier search left behind
  const int passed = JudgeSoapReply(CString(reply.c_str()), result, error);

  const std::string got_result = terminated_text(result, sizeof result, "the result buffer");
  const std::string got_error = terminated_text(error, sizeof error, "the error buffer");

  // The same judgement by plain search.
  const std::string begin = "<simpleMethodResult>";
  const std::string end = "</simpleMethodResult>";
  const std::size_t at = reply.find(begin);
  const std::size_t closing =
      at == std::string::npos ? std::string::npos : reply.find(end, at + begin.size());
  const bool found = closing != std::string::npos;
  const std::string value =
      found ? reply.substr(at + begin.size(), closing - at - begin.size()) : std::string();

  FUZZ_CHECK(passed == 0 || passed == 1, "result " + std::to_string(passed));
  FUZZ_CHECK(passed == (found && value.starts_with("Hello") ? 1 : 0),
             "judged " + std::to_string(passed) + " for the value \"" + value + "\"");
  FUZZ_CHECK(got_result == value.substr(0, 5), "result \"" + got_result + "\"");
  FUZZ_CHECK(found == got_error.empty(), "error \"" + got_error + "\"");
  return 0;
}
