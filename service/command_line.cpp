#include "service/command_line.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace tarvelo::service {
namespace {

std::optional<std::uint64_t> parse_number(std::string_view text, std::uint64_t largest) {
  std::uint64_t value = 0;
  const char* const end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || value > largest) return std::nullopt;
  return value;
}

// "HOST:PORT" or "[IPV6]:PORT".
bool parse_listen(std::string_view text, ServerOptions& options) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return false;
  std::string_view host = text.substr(0, colon);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string_view::npos) {
    return false;  // an IPv6 address needs its brackets
  }
  const auto port = parse_number(text.substr(colon + 1), 65535);
  if (host.empty() || !port) return false;
  options.host = std::string(host);
  options.port = static_cast<int>(*port);
  return true;
}

bool is_plain_text(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

UsageError error(std::string message) {
  return UsageError{std::move(message)};
}

// Applies one option that takes a value; a usage error when the value does not fit.
std::optional<UsageError> apply(std::string_view name, std::string_view value,
                                ServerOptions& options) {
  if (name == "--listen") {
    if (!parse_listen(value, options)) {
      return error(
          "--listen wants HOST:PORT (for example 127.0.0.1:8080, or port 0 for any "
          "free port), not \"" +
          std::string(value) + "\"");
    }
  } else if (name == "--user" || name == "--password") {
    if (!is_plain_text(value) || (name == "--user" && value.find(':') != std::string_view::npos)) {
      return error(std::string(name) + " may hold no control characters" +
                   (name == "--user" ? " and no ':'" : ""));
    }
    (name == "--user" ? options.settings.user : options.settings.password) = std::string(value);
  } else if (name == "--namespace") {
    if (value.empty() || !is_plain_text(value) || value.find(' ') != std::string_view::npos) {
      return error("--namespace wants a URI without blanks, such as http://tempuri.org/");
    }
    options.settings.service_namespace = std::string(value);
  } else if (name == "--threads") {
    const auto threads = parse_number(value, 1024);
    if (!threads || *threads == 0) return error("--threads wants a number from 1 to 1024");
    options.threads = static_cast<unsigned>(*threads);
  } else if (name == "--max-body") {
    const auto bytes = parse_number(value, std::uint64_t{1} << 30);
    if (!bytes || *bytes == 0) return error("--max-body wants a number of bytes from 1 to 2^30");
    options.settings.max_body = static_cast<std::size_t>(*bytes);
  } else if (name == "--delay-ms") {
    const auto delay = parse_number(value, 60'000);
    if (!delay) return error("--delay-ms wants milliseconds from 0 to 60000");
    options.delay = std::chrono::milliseconds(*delay);
  } else {
    return error("unknown option " + std::string(name));
  }
  return std::nullopt;
}

bool takes_value(std::string_view name) {
  return name == "--listen" || name == "--user" || name == "--password" || name == "--namespace" ||
         name == "--threads" || name == "--max-body" || name == "--delay-ms";
}

}  // namespace

std::variant<CommandLine, UsageError> parse_command_line(
    const std::vector<std::string_view>& arguments) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    std::string_view name = arguments[i];
    std::optional<std::string_view> value;
    if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != name.npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (name == "--help" || name == "-h" || name == "--version" || name == "--access-log") {
      if (value) return error(std::string(name) + " takes no value");
      if (name == "--access-log") {
        line.options.access_log = true;
      } else if (line.action == CommandAction::serve) {
        line.action = name == "--version" ? CommandAction::version : CommandAction::help;
      }
      continue;
    }
    if (!takes_value(name)) return error("unknown option " + std::string(name));
    if (!value) {
      if (i + 1 == arguments.size()) return error(std::string(name) + " needs a value");
      value = arguments[++i];
    }
    if (auto problem = apply(name, *value, line.options)) return std::move(*problem);
  }
  return line;
}

std::string usage_text() {
  return "Usage: tarvelo-service [OPTION]...\n"
         "A SOAP 1.2 (and 1.1) service that answers simpleMethod with \"Hello \" and the text\n"
         "it was given, at /Service.asmx, behind HTTP Basic authentication.\n"
         "\n"
         "  --listen HOST:PORT   where to listen (default 127.0.0.1:8080; port 0: any free port)\n"
         "  --user NAME          the user name callers must give (default tolvex)\n"
         "  --password TEXT      the password callers must give (default kqv=47)\n"
         "  --namespace URI      the XML namespace of simpleMethod (default " +
         Settings{}.service_namespace +
         ")\n"
         "  --threads N          worker threads (default twice the cores, at least 8)\n"
         "  --max-body BYTES     the largest request body accepted (default 1048576)\n"
         "  --delay-ms N         wait N milliseconds before answering each call (default 0)\n"
         "  --access-log         write one line per request to standard error\n"
         "  --help               show this text and exit\n"
         "  --version            show the version and exit\n"
         "\n"
         "Once it listens it prints \"tarvelo-service listening on URL\" on standard output.\n"
         "SIGINT or SIGTERM stop it after the requests under way have been answered.\n"
         "The description of the service is at URL?wsdl.\n";
}

std::string version_text() {
  return "tarvelo-service " TARVELO_SERVICE_VERSION "\n";
}

}  // namespace tarvelo::service
