#include "win32/dialog_template.h"

#include <cstring>
#include <string>

namespace afx {
namespace {

// Writes the template's fields in order: 16-bit words, each item aligned to 32 bits.
class TemplateWriter {
 public:
  void Word(WORD value) { m_words.push_back(value); }
  void Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void Short(short value) { Word(static_cast<WORD>(value)); }
  // A NUL-terminated UTF-16 text made from ANSI text.
  void Text(const char* ansi) {
    if (ansi != nullptr && *ansi != '\0') {
      const int units = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
      std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 1), L'\0');
      if (units > 0) MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), units);
      for (const wchar_t unit : wide) {
        if (unit == L'\0') break;
        Word(static_cast<WORD>(unit));
      }
    }
    Word(0);
  }
  void AlignToDword() {
    if (m_words.size() % 2 != 0) Word(0);
  }
  std::vector<DWORD> Dwords() {
    AlignToDword();
    std::vector<DWORD> dwords(m_words.size() / 2);
    std::memcpy(dwords.data(), m_words.data(), m_words.size() * sizeof(WORD));
    return dwords;
  }

 private:
  std::vector<WORD> m_words;
};

}  // namespace

std::vector<DWORD> BuildDialogTemplate(const AFX_DIALOG_TEMPLATE& dialog) {
  TemplateWriter out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature: an extended template
  out.Dword(0);      // helpID
  out.Dword(dialog.dwExStyle);
  out.Dword(dialog.dwStyle);
  out.Word(static_cast<WORD>(dialog.items.size()));
  out.Short(dialog.x);
  out.Short(dialog.y);
  out.Short(dialog.cx);
  out.Short(dialog.cy);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog manager's own window class
  out.Text(dialog.pszCaption);
  if ((dialog.dwStyle & DS_SETFONT) != 0) {
    out.Word(dialog.wPointSize);
    out.Word(dialog.wWeight);
    out.Word(static_cast<WORD>(dialog.bItalic | (dialog.bCharSet << 8)));
    out.Text(dialog.pszTypeface);
  }
  for (const AFX_DIALOG_ITEM& item : dialog.items) {
    out.AlignToDword();
    out.Dword(item.dwHelpID);
    out.Dword(item.dwExStyle);
    out.Dword(item.dwStyle);
    out.Short(item.x);
    out.Short(item.y);
    out.Short(item.cx);
    out.Short(item.cy);
    out.Dword(static_cast<DWORD>(item.nID));
    out.Text(item.pszClass);
    out.Text(item.pszText);
    out.Word(0);  // no creation data
  }
  return out.Dwords();
}

}  // namespace afx
