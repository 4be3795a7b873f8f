// What a fuzz target does when a property does not hold: says which, and aborts so that the
// fuzzer keeps the input that did it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline void fuzz_check(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "check failed: %s\n", what.c_str());
  std::abort();
}

// The text of a buffer of `size` bytes, which must hold a NUL.
inline std::string terminated_text(const char* buffer, std::size_t size) {
  const std::string bytes(buffer, size);
  fuzz_check(bytes.find('\0') != std::string::npos, "a buffer holds no NUL within its size");
  return bytes.substr(0, bytes.find('\0'));
}
