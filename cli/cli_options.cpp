#include "cli/cli_options.h"

#include <climits>
#include <cstddef>

#include "windows.h"

namespace {

// Characters as the window counts them: the UTF-16 units of the UTF-8 text; -1 when the text is
// not valid UTF-8.
int Utf16Length(const std::string& utf8) {
  if (utf8.empty()) return 0;
  if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return -1;
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
  return units > 0 ? units : -1;
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
    const int length = Utf16Length(*options.text);
    if (length < 0) {
      result.error = "--text is not valid UTF-8";
    } else if (HasLineBreakOrControl(*options.text)) {
      result.error = "--text cannot hold line breaks or control characters";
    } else if (length > kTextLimit) {
      result.error =
          "--text has " + std::to_string(length) + " characters; the text field takes at most 128";
    }
  }
  if (result.error.empty() && options.times) {
    const int length = Utf16Length(*options.times);
    if (length < 0 || HasLineBreakOrControl(*options.times)) {
      result.error = "--times cannot hold line breaks, control characters or invalid UTF-8";
    } else if (length > kTimesLimit) {
      result.error =
          "--times has " + std::to_string(length) + " characters; the count field takes at most 4";
    }
  }
  if (result.error.empty() && options.serviceHost) {
    const std::string& host = *options.serviceHost;
    if (host.empty() || host.find_first_of("/?#@ \t\r\n") != std::string::npos)
      result.error = "--service-host takes HOST or HOST:PORT, without a scheme or a path";
  }
  return result;
}
