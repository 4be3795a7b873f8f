// Text between the ANSI code page and Automation strings. Bytes the code page defines come back
// unchanged from a trip through a BSTR, one UTF-16 unit per byte; and any UTF-16 text, once
// converted to ANSI, converts back to the same ANSI text.
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "interop/ansi_bstr.h"
#include "tarvelo_config.h"

namespace {

// The bytes that the configured code page leaves undefined.
bool undefined_in_code_page(unsigned char byte) {
  if (TARVELO_ANSI_CODE_PAGE == 1252) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
  }
  return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

struct BstrFree {
  void operator()(OLECHAR* text) const { SysFreeString(text); }
};
using OwnedBstr = std::unique_ptr<OLECHAR, BstrFree>;
using OwnedAnsi = std::unique_ptr<char[]>;

std::string round_trip(const std::string& ansi) {
  const OwnedBstr wide(AnsiToBstr(ansi.c_str()));
  FUZZ_CHECK(wide != nullptr, "AnsiToBstr gave nothing");
  FUZZ_CHECK(SysStringLen(wide.get()) == ansi.size(),
             "one unit per byte: " + std::to_string(SysStringLen(wide.get())) + " for " +
                 std::to_string(ansi.size()));
  const OwnedAnsi back(BstrToAnsi(wide.get()));
  FUZZ_CHECK(back != nullptr, "BstrToAnsi gave nothing");
  return back.get();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  try {
    // Bytes to a BSTR and back.
    std::string ansi;
    for (std::size_t i = 0; i < size; ++i) {
      if (bytes[i] != 0 && !undefined_in_code_page(bytes[i])) ansi.push_back(char(bytes[i]));
    }
    const std::string back = round_trip(ansi);
    FUZZ_CHECK(back == ansi, "the bytes changed on their way through a BSTR");

    // Any UTF-16 text (the same input read as units) to ANSI: a fixed point from then on.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      const char16_t unit = char16_t(bytes[i] | (bytes[i + 1] << 8));
      if (unit != 0) units.push_back(unit);
    }
    const OwnedAnsi converted(BstrToAnsi(units.c_str()));
    FUZZ_CHECK(converted != nullptr, "BstrToAnsi gave nothing");
    const std::string first(converted.get());
    FUZZ_CHECK(first.size() <= 2 * units.size(), "more than two bytes per unit");
    FUZZ_CHECK(round_trip(first) == first, "an ANSI text changed on its second trip");
  } catch (...) {
    FUZZ_CHECK(false, "a conversion raised");
  }
  return 0;
}
