// The judgement of a reply body on any text: both of the caller's buffers stay terminated within
// their 512 bytes, at most the five judged characters are kept, and the reply passes exactly when
// they are "Hello".
#include <cstring>
#include <string>

#include "fuzz_check.h"
#include "soap/soap_message.h"
#include "text/marked_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string reply(reinterpret_cast<const char*>(bytes), size);
  char result[kSoapReplyBufferSize];
  char error[kSoapReplyBufferSize];
  std::memset(result, 'r', sizeof result);
  std::memset(error, 'e', sizeof error);
  g_nSearchPos = static_cast<int>(size % 97);  // whatever an earlier search left behind
  const int passed = JudgeSoapReply(CString(reply.c_str()), result, error);

  const std::string got_result = terminated_text(result, sizeof result);
  const std::string got_error = terminated_text(error, sizeof error);
  fuzz_check(got_result.size() <= 5, "result \"" + got_result + "\"");
  fuzz_check(passed == (got_result == "Hello" ? 1 : 0), "judged " + std::to_string(passed));
  fuzz_check(passed == 0 || got_error.empty(), "error \"" + got_error + "\"");
  return 0;
}
