// Runs a program to its end for a test: its standard output and error captured, bounded in time.
#pragma once

#include <string>
#include <vector>

namespace cli_test {

struct ChildResult {
  int exitCode = -1;  // -1 when it did not exit normally (killed, or could not be started)
  std::string out;
  std::string err;
  bool timedOut = false;
};

// Starts program with the arguments (the program's own path is argv[0]), standard input from
// /dev/null, and waits until it ends. Past timeoutMs the child is killed.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     int timeoutMs = 60000);

}  // namespace cli_test
