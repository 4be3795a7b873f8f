#include "interop/ansi_bstr.h"

#include <climits>
#include <memory>
#include <new>
#include <string>

#include "interop/com_error.h"

namespace {

// Texts up to this many units (with the NUL) are converted on the stack; longer ones on the
// heap, so that no text can overflow the stack.
constexpr int kStackBufferUnits = 512;

[[noreturn]] void RaiseLastError() {
  RaiseComError(HRESULT_FROM_WIN32(GetLastError()));
}

}  // namespace

BSTR AnsiToBstr(const char* pszText) {
  if (pszText == nullptr) return nullptr;
  const int lengthWithNul = lstrlenA(pszText) + 1;

  OLECHAR stackBuffer[kStackBufferUnits];
  std::unique_ptr<OLECHAR[]> heapBuffer;
  OLECHAR* buffer = stackBuffer;
  if (lengthWithNul > kStackBufferUnits) {
    heapBuffer.reset(new (std::nothrow) OLECHAR[static_cast<std::size_t>(lengthWithNul)]);
    if (heapBuffer == nullptr) return nullptr;
    buffer = heapBuffer.get();
  }
  buffer[0] = 0;

  // One UTF-16 unit per byte is enough in every ANSI code page.
  if (MultiByteToWideChar(CP_ACP, 0, pszText, -1, buffer, lengthWithNul) == 0) RaiseLastError();
  return SysAllocString(buffer);
}

char* BstrToAnsi(const OLECHAR* pwszText) {
  if (pwszText == nullptr) return nullptr;
  const std::size_t length = std::char_traits<OLECHAR>::length(pwszText);
  // Two bytes per unit and the NUL; a text too long for that is more than memory can hold.
  if (length > (INT_MAX - 2) / 2) RaiseComError(E_OUTOFMEMORY);
  const int size = static_cast<int>(2 * length + 2);

  std::unique_ptr<char[]> ansi(new (std::nothrow) char[static_cast<std::size_t>(size)]);
  if (ansi == nullptr) RaiseComError(E_OUTOFMEMORY);
  ansi[0] = '\0';
  if (WideCharToMultiByte(CP_ACP, 0, pwszText, -1, ansi.get(), size, nullptr, nullptr) == 0)
    RaiseLastError();  // the array goes with the exception
  return ansi.release();
}
