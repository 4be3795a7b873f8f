#include "reply_charset.h"

#include "ascii_case.h"

namespace xmlhttp {
namespace {

std::string_view TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

struct LabelEntry {
  std::string_view label;
  UINT codePage;
};

constexpr LabelEntry kLabels[] = {
    {"windows-1250", 1250}, {"cp1250", 1250},   {"x-cp1250", 1250},   {"windows-1252", 1252},
    {"cp1252", 1252},       {"x-cp1252", 1252}, {"iso-8859-1", 1252}, {"iso8859-1", 1252},
    {"latin1", 1252},       {"us-ascii", 1252}, {"ascii", 1252},
};

UINT CodePageFromLabel(std::string_view label) {
  label = TrimSpaces(label);
  for (const auto& entry : kLabels)
    if (ascii::EqualsIgnoringCase(entry.label, label)) return entry.codePage;
  return CP_UTF8;
}

// The value of the charset parameter of a Content-Type value, quotes removed; empty when there
// is none.
std::string_view CharsetParameter(std::string_view contentType) {
  std::size_t start = contentType.find(';');
  while (start != std::string_view::npos) {
    const std::size_t end = contentType.find(';', start + 1);
    const std::string_view parameter = contentType.substr(start + 1, end - (start + 1));
    const std::size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        ascii::EqualsIgnoringCase(TrimSpaces(parameter.substr(0, equals)), "charset")) {
      std::string_view value = TrimSpaces(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      return value;
    }
    start = end;
  }
  return {};
}

}  // namespace

ReplyEncoding ChooseReplyEncoding(std::string_view body, std::string_view contentType) {
  if (body.starts_with("\xEF\xBB\xBF")) return {CP_UTF8, 3};
  return {CodePageFromLabel(CharsetParameter(contentType)), 0};
}

}  // namespace xmlhttp
