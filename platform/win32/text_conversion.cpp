// MultiByteToWideChar and WideCharToMultiByte for the single-byte ANSI code pages and UTF-8.
#include <cstring>

#include "bounded_output.h"
#include "code_page.h"
#include "single_byte_code_page.h"
#include "utf8.h"

using win32_detail::AsciiRun;
using win32_detail::BoundedOutput;
using win32_detail::SingleByteCodePage;
using win32_detail::Utf8Result;

namespace {

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

// The count of a conversion that has run: the units written (or needed), or 0 with the reason.
template <typename Unit>
int Finish(const BoundedOutput<Unit>& out) {
  return out.Overflowed() ? Fail(ERROR_INSUFFICIENT_BUFFER) : out.Count();
}

int Finish(Utf8Result result, int count) {
  switch (result) {
    case Utf8Result::kDone:
      return count;
    case Utf8Result::kMalformed:
      return Fail(ERROR_NO_UNICODE_TRANSLATION);
    case Utf8Result::kOverflow:
      break;
  }
  return Fail(ERROR_INSUFFICIENT_BUFFER);
}

int WideLength(const char16_t* text) {
  int length = 0;
  while (text[length] != 0) ++length;
  return length;
}

int BytesToWide(const SingleByteCodePage& codePage, const unsigned char* bytes, int count,
                BoundedOutput<char16_t>& out) {
  int i = 0;
  while (i < count) {
    const int run = AsciiRun(bytes + i, count - i);
    if (!out.PutEach(bytes + i, run)) break;
    i += run;
    if (i < count && !out.Put(codePage.ToWide(bytes[i++]))) break;
  }
  return Finish(out);
}

int WideToBytes(const SingleByteCodePage& codePage, const char16_t* units, int count,
                char defaultChar, LPBOOL lpUsedDefaultChar, BoundedOutput<char>& out) {
  bool usedDefault = false;
  int i = 0;
  while (i < count) {
    const int run = AsciiRun(units + i, count - i);
    if (!out.PutEach(units + i, run)) break;
    i += run;
    if (i == count) break;
    char byte;
    if (!codePage.ToByte(units[i], &byte)) {
      byte = defaultChar;
      usedDefault = true;  // for each unit: a surrogate pair becomes two default characters
    }
    ++i;
    if (!out.Put(byte)) break;
  }
  if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault ? TRUE : FALSE;
  return Finish(out);
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
  if (lpMultiByteStr == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && lpWideCharStr == nullptr) ||
      static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr))
    return Fail(ERROR_INVALID_PARAMETER);

  const auto* bytes = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
  const int count =
      cbMultiByte == -1 ? static_cast<int>(std::strlen(lpMultiByteStr)) + 1 : cbMultiByte;
  BoundedOutput<char16_t> out(lpWideCharStr, cchWideChar);

  const UINT codePage = win32_detail::ResolveCodePage(CodePage);
  if (codePage == CP_UTF8) {
    if ((dwFlags & ~DWORD{MB_ERR_INVALID_CHARS}) != 0) return Fail(ERROR_INVALID_FLAGS);
    const Utf8Result result =
        win32_detail::DecodeUtf8(bytes, count, (dwFlags & MB_ERR_INVALID_CHARS) != 0, out);
    return Finish(result, out.Count());
  }
  const SingleByteCodePage* singleByte = SingleByteCodePage::Find(codePage);
  if (singleByte == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((dwFlags & ~DWORD{MB_PRECOMPOSED | MB_ERR_INVALID_CHARS}) != 0)
    return Fail(ERROR_INVALID_FLAGS);
  return BytesToWide(*singleByte, bytes, count, out);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                        LPBOOL lpUsedDefaultChar) {
  if (lpWideCharStr == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && lpMultiByteStr == nullptr) ||
      static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr))
    return Fail(ERROR_INVALID_PARAMETER);

  const int count = cchWideChar == -1 ? WideLength(lpWideCharStr) + 1 : cchWideChar;
  BoundedOutput<char> out(lpMultiByteStr, cbMultiByte);

  const UINT codePage = win32_detail::ResolveCodePage(CodePage);
  if (codePage == CP_UTF8) {
    if (lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr)
      return Fail(ERROR_INVALID_PARAMETER);
    if ((dwFlags & ~DWORD{WC_ERR_INVALID_CHARS}) != 0) return Fail(ERROR_INVALID_FLAGS);
    const Utf8Result result =
        win32_detail::EncodeUtf8(lpWideCharStr, count, (dwFlags & WC_ERR_INVALID_CHARS) != 0, out);
    return Finish(result, out.Count());
  }
  const SingleByteCodePage* singleByte = SingleByteCodePage::Find(codePage);
  if (singleByte == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if ((dwFlags & ~DWORD{WC_NO_BEST_FIT_CHARS}) != 0) return Fail(ERROR_INVALID_FLAGS);
  const char defaultChar = lpDefaultChar != nullptr ? lpDefaultChar[0] : '?';
  return WideToBytes(*singleByte, lpWideCharStr, count, defaultChar, lpUsedDefaultChar, out);
}
