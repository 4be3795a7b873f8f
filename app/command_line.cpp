#include "app/command_line.h"

namespace {

bool NeedsQuotes(const std::string& argument) {
  return argument.empty() || argument.find_first_of(" \t\n\v\"") != std::string::npos;
}

void AppendQuoted(std::string& line, const std::string& argument) {
  line += '"';
  std::size_t backslashes = 0;
  for (const char ch : argument) {
    if (ch == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are literal unless a quote follows them: then each is doubled and the quote
    // is escaped.
    line.append(ch == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    line += ch;
  }
  // Before the closing quote every backslash is doubled.
  line.append(backslashes * 2, '\\');
  line += '"';
}

bool IsBlankOrControl(char ch) {
  const auto code = static_cast<unsigned char>(ch);
  return code >= 1 && code <= 32;
}

}  // namespace

std::string BuildCommandLine(int argc, const char* const* argv) {
  std::string line;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) line += ' ';
    const std::string argument = argv[i] != nullptr ? argv[i] : "";
    if (NeedsQuotes(argument)) {
      AppendQuoted(line, argument);
    } else {
      line += argument;
    }
  }
  return line;
}

LPSTR CommandLineTail(LPSTR pszCommandLine) {
  char* at = pszCommandLine;
  if (*at == '"') {
    ++at;
    while (*at != '\0' && *at != '"') ++at;
    if (*at == '"') ++at;
  } else {
    while (static_cast<unsigned char>(*at) > 32) ++at;
  }
  while (IsBlankOrControl(*at)) ++at;
  return at;
}

int StartupShowState(const STARTUPINFOA& startupInfo) {
  return (startupInfo.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startupInfo.wShowWindow
                                                           : SW_SHOWDEFAULT;
}
