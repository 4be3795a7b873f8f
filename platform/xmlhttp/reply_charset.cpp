#include "reply_charset.h"

#include <algorithm>
#include <cstdint>

#include "ascii_text.h"
#include "utf_convert.h"
#include "windows.h"

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
  Charset charset;
};

constexpr LabelEntry kLabels[] = {
    {"utf-8", Charset::kUtf8},
    {"utf8", Charset::kUtf8},
    {"unicode-1-1-utf-8", Charset::kUtf8},
    {"utf-16", Charset::kUtf16Le},
    {"utf-16le", Charset::kUtf16Le},
    {"unicode", Charset::kUtf16Le},
    {"ucs-2", Charset::kUtf16Le},
    {"utf-16be", Charset::kUtf16Be},
    {"unicodefffe", Charset::kUtf16Be},
    {"iso-8859-1", Charset::kLatin1},
    {"iso8859-1", Charset::kLatin1},
    {"iso_8859-1", Charset::kLatin1},
    {"latin1", Charset::kLatin1},
    {"l1", Charset::kLatin1},
    {"cp819", Charset::kLatin1},
    {"windows-1250", Charset::kWindows1250},
    {"cp1250", Charset::kWindows1250},
    {"x-cp1250", Charset::kWindows1250},
    {"windows-1252", Charset::kWindows1252},
    {"cp1252", Charset::kWindows1252},
    {"x-cp1252", Charset::kWindows1252},
    {"us-ascii", Charset::kWindows1252},
    {"ascii", Charset::kWindows1252},
};

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}
bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::size_t DecodeUtf16(std::string_view bytes, bool bigEndian, char16_t* out) {
  const auto unitAt = [&](std::size_t index) {
    const auto first = static_cast<std::uint8_t>(bytes[2 * index]);
    const auto second = static_cast<std::uint8_t>(bytes[2 * index + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  const std::size_t whole = bytes.size() / 2;
  std::size_t units = 0;
  for (std::size_t i = 0; i < whole; ++i) {
    const char16_t unit = unitAt(i);
    if (IsHighSurrogate(unit) && i + 1 < whole && IsLowSurrogate(unitAt(i + 1))) {
      if (out) {
        out[units] = unit;
        out[units + 1] = unitAt(i + 1);
      }
      units += 2;
      ++i;
      continue;
    }
    if (out) out[units] = IsSurrogate(unit) ? kReplacementCharacter : unit;
    ++units;
  }
  if (bytes.size() % 2 != 0) {
    if (out) out[units] = kReplacementCharacter;
    ++units;
  }
  return units;
}

// Single-byte code pages give exactly one unit per byte.
std::size_t DecodeCodePage(std::string_view bytes, UINT codePage, char16_t* out) {
  if (!out) return bytes.size();
  constexpr std::size_t kChunk = 1 << 20;  // keeps every length within an int
  for (std::size_t done = 0; done < bytes.size(); done += kChunk) {
    const int length = static_cast<int>(std::min(kChunk, bytes.size() - done));
    const int written =
        MultiByteToWideChar(codePage, 0, bytes.data() + done, length, out + done, length);
    // Both code pages map every byte; should a unit still be missing, mark it as malformed.
    std::fill(out + done + std::max(written, 0), out + done + length, kReplacementCharacter);
  }
  return bytes.size();
}

}  // namespace

Charset CharsetFromLabel(std::string_view label) {
  label = TrimSpaces(label);
  for (const auto& entry : kLabels)
    if (EqualsIgnoringCase(entry.label, label)) return entry.charset;
  return Charset::kUtf8;
}

std::string_view CharsetParameter(std::string_view contentType) {
  std::size_t start = contentType.find(';');
  while (start != std::string_view::npos) {
    const std::size_t end = contentType.find(';', start + 1);
    const std::string_view parameter = contentType.substr(start + 1, end - (start + 1));
    const std::size_t equals = parameter.find('=');
    if (equals != std::string_view::npos &&
        EqualsIgnoringCase(TrimSpaces(parameter.substr(0, equals)), "charset")) {
      std::string_view value = TrimSpaces(parameter.substr(equals + 1));
      if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
      return value;
    }
    start = end;
  }
  return {};
}

ReplyEncoding ChooseReplyEncoding(std::string_view body, std::string_view contentType) {
  if (body.starts_with("\xEF\xBB\xBF")) return {Charset::kUtf8, 3};
  if (body.starts_with("\xFF\xFE")) return {Charset::kUtf16Le, 2};
  if (body.starts_with("\xFE\xFF")) return {Charset::kUtf16Be, 2};
  return {CharsetFromLabel(CharsetParameter(contentType)), 0};
}

std::size_t DecodeText(std::string_view bytes, Charset charset, char16_t* out) {
  switch (charset) {
    case Charset::kUtf16Le:
      return DecodeUtf16(bytes, false, out);
    case Charset::kUtf16Be:
      return DecodeUtf16(bytes, true, out);
    case Charset::kLatin1:
      if (out)
        std::transform(bytes.begin(), bytes.end(), out,
                       [](char c) { return static_cast<char16_t>(static_cast<std::uint8_t>(c)); });
      return bytes.size();
    case Charset::kWindows1250:
      return DecodeCodePage(bytes, 1250, out);
    case Charset::kWindows1252:
      return DecodeCodePage(bytes, 1252, out);
    case Charset::kUtf8:
      break;
  }
  return Utf8ToUtf16(bytes, out);
}

}  // namespace xmlhttp
