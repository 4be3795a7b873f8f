#include "cli/cli_options.h"

#include <cstddef>

namespace {

// Characters as the window counts them: UTF-16 units of the UTF-8 text.
int Utf16Length(const std::string& utf8) {
  int units = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char byte = static_cast<unsigned char>(utf8[i]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;        // four-byte sequences are surrogate pairs
  }
  return units;
}

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int follow = 0;
    unsigned int codePoint = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      follow = 1;
      codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      follow = 2;
      codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      follow = 3;
      codePoint = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(follow) >= text.size()) return false;
    for (int k = 1; k <= follow; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static constexpr unsigned int kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[follow] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(follow) + 1;
  }
  return true;
}

bool HasLineBreakOrControl(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

const char* CliUsage() {
  return "Usage: tarvelo-cli [--text TEXT] [--times N] [--service-host HOST[:PORT]] [--json]\n"
         "                   [--stats] [--no-progress]\n"
         "\n"
         "Runs the Tarvelo test dialog without a display: types TEXT and N into its fields as\n"
         "an operator would (defaults: the window's own), presses \"Call WebService\" and prints\n"
         "the window's fields.\n"
         "\n"
         "  --text TEXT                 the text to send, at most 128 characters\n"
         "  --times N                   the repeat count as typed, at most 4 characters\n"
         "  --service-host HOST[:PORT]  call this host instead of the built-in one\n"
         "  --json                      print one JSON object instead of labelled lines\n"
         "  --stats                     also each exchange's time: min, median, p90, p99, max,\n"
         "                              mean, standard deviation (ms) and a histogram\n"
         "  --no-progress               no progress line on a terminal's standard error\n"
         "  --help                      this text\n"
         "  --version                   the program's version\n"
         "\n"
         "Exit status: 0 when every requested exchange passed, 1 when the run stopped early or\n"
         "made none, 2 for a usage error.\n";
}

CliParseResult ParseCliOptions(const std::vector<std::string>& args) {
  CliParseResult result;
  CliOptions& options = result.options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](const char* name) -> std::optional<std::string> {
      if (i + 1 >= args.size()) {
        result.error = std::string(name) + " needs a value";
        return std::nullopt;
      }
      return args[++i];
    };
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--json") {
      options.json = true;
    } else if (arg == "--stats") {
      options.stats = true;
    } else if (arg == "--no-progress") {
      options.noProgress = true;
    } else if (arg == "--text") {
      options.text = value("--text");
    } else if (arg == "--times") {
      options.times = value("--times");
    } else if (arg == "--service-host") {
      options.serviceHost = value("--service-host");
    } else {
      result.error = "unknown option: " + arg;
    }
    if (!result.error.empty()) return result;
  }

  if (options.text) {
    if (!IsValidUtf8(*options.text)) {
      result.error = "--text is not valid UTF-8";
    } else if (HasLineBreakOrControl(*options.text)) {
      result.error = "--text cannot hold line breaks or control characters";
    } else if (Utf16Length(*options.text) > kTextLimit) {
      result.error = "--text has " + std::to_string(Utf16Length(*options.text)) +
                     " characters; the text field takes at most 128";
    }
  }
  if (result.error.empty() && options.times) {
    if (!IsValidUtf8(*options.times) || HasLineBreakOrControl(*options.times)) {
      result.error = "--times cannot hold line breaks, control characters or invalid UTF-8";
    } else if (Utf16Length(*options.times) > kTimesLimit) {
      result.error = "--times has " + std::to_string(Utf16Length(*options.times)) +
                     " characters; the count field takes at most 4";
    }
  }
  if (result.error.empty() && options.serviceHost) {
    const std::string& host = *options.serviceHost;
    if (host.empty() || host.find_first_of("/?#@ \t\r\n") != std::string::npos)
      result.error = "--service-host takes HOST or HOST:PORT, without a scheme or a path";
  }
  return result;
}
