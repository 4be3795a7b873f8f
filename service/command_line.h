// The options of tarvelo-service.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "service/server_options.h"

namespace tarvelo::service {

enum class CommandAction { serve, help, version };

struct CommandLine {
  CommandAction action = CommandAction::serve;
  ServerOptions options;
};

struct UsageError {
  std::string message;
};

// `arguments` are the words after the program's name. Options take their value as the next word
// or after '=' ("--threads 4", "--threads=4").
std::variant<CommandLine, UsageError> parse_command_line(
    const std::vector<std::string_view>& arguments);

std::string usage_text();
std::string version_text();

}  // namespace tarvelo::service
