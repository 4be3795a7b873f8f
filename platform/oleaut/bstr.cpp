// BSTR: UTF-16 text behind a 4-byte byte length, followed by a NUL unit. The block starts at
// the length; the BSTR points at the text.
#include <cstdint>
#include <cstring>

#include "bstr_memory.h"
#include "oleauto.h"

namespace {

constexpr std::size_t kPrefixBytes = sizeof(std::uint32_t);
constexpr std::size_t kTerminatorBytes = sizeof(OLECHAR);
// The length must fit the 4-byte prefix with room for the prefix and terminator in the block.
constexpr std::size_t kMaxByteLength = 0xFFFFFFFFu - kPrefixBytes - kTerminatorBytes;

std::uint32_t* PrefixOf(BSTR bstr) {
  return reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(bstr) - kPrefixBytes);
}

// A new string of byteLength bytes, filled from `bytes` or zeroed, and terminated.
BSTR AllocateBytes(const void* bytes, std::size_t byteLength) {
  if (byteLength > kMaxByteLength) return nullptr;
  // Room for one more byte so that an odd byte length still ends in a whole NUL unit.
  char* block = static_cast<char*>(
      oleaut_detail::AllocateStringBlock(kPrefixBytes + byteLength + kTerminatorBytes + 1));
  if (block == nullptr) return nullptr;
  const auto length = static_cast<std::uint32_t>(byteLength);
  std::memcpy(block, &length, kPrefixBytes);
  char* text = block + kPrefixBytes;
  if (bytes != nullptr)
    std::memcpy(text, bytes, byteLength);
  else
    std::memset(text, 0, byteLength);
  std::memset(text + byteLength, 0, kTerminatorBytes + 1);
  return reinterpret_cast<BSTR>(text);
}

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
  if (psz == nullptr) return nullptr;
  std::size_t length = 0;
  while (psz[length] != 0) ++length;
  return AllocateBytes(psz, length * sizeof(OLECHAR));
}

BSTR SysAllocStringLen(const OLECHAR* pch, UINT cch) {
  return AllocateBytes(pch, std::size_t{cch} * sizeof(OLECHAR));
}

BSTR SysAllocStringByteLen(const char* psz, UINT len) {
  return AllocateBytes(psz, len);
}

void SysFreeString(BSTR bstrString) {
  if (bstrString == nullptr) return;
  oleaut_detail::FreeStringBlock(PrefixOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) {
  return pbstr == nullptr ? 0 : *PrefixOf(pbstr) / sizeof(OLECHAR);
}

UINT SysStringByteLen(BSTR bstr) {
  return bstr == nullptr ? 0 : *PrefixOf(bstr);
}
