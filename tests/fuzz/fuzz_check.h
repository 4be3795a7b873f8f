// What a fuzz target does when a property does not hold: says which, and aborts so that the
// fuzzer keeps the input that did it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition, what)                                                           \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "%s:%d: check failed: %s\n  %s\n", __FILE__, __LINE__, #condition, \
                   std::string(what).c_str());                                                \
      std::abort();                                                                           \
    }                                                                                         \
  } while (false)

// The text of a buffer that must hold a NUL within `size` bytes; aborts when it does not.
inline std::string terminated_text(const char* buffer, std::size_t size, const char* name) {
  for (std::size_t i = 0; i < size; ++i) {
    if (buffer[i] == '\0') return std::string(buffer, i);
  }
  FUZZ_CHECK(false, std::string(name) + " holds no NUL within its size");
  return {};
}
