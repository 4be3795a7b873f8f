// Text between the ANSI code page and Automation strings. The input, read as UTF-16 units, goes
// to ANSI (whatever it holds: the code page's default character stands in for what it lacks), and
// that ANSI text must come back unchanged from a trip through a BSTR of one unit per byte.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "interop/ansi_bstr.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = char16_t(bytes[i] | bytes[i + 1] << 8);
    if (unit != 0) units.push_back(unit);
  }
  try {
    const std::unique_ptr<char[]> ansi(BstrToAnsi(units.c_str()));
    const std::unique_ptr<OLECHAR, decltype(&SysFreeString)> wide(AnsiToBstr(ansi.get()),
                                                                  &SysFreeString);
    fuzz_check(wide && SysStringLen(wide.get()) == std::strlen(ansi.get()), "not a unit per byte");
    const std::unique_ptr<char[]> back(BstrToAnsi(wide.get()));
    fuzz_check(std::strcmp(back.get(), ansi.get()) == 0, "the text changed on its way back");
  } catch (...) {
    fuzz_check(false, "a conversion raised");
  }
  return 0;
}
