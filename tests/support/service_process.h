// The reference service, started for one test on a free port of 127.0.0.1.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tarvelo_test {

class ServiceProcess {
 public:
  // Whether the tests were built together with tarvelo-service.
  static bool Available();

  // Starts "tarvelo-service --listen 127.0.0.1:<a free port>" plus the extra arguments and
  // waits until it accepts connections. running() tells whether that worked, error() why not.
  explicit ServiceProcess(const std::vector<std::string>& extraArguments = {});
  // Ends the service with SIGTERM (SIGKILL if it lingers) and reaps it.
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  bool running() const { return port_ != 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }
  std::string HostPort() const;  // "127.0.0.1:<port>"
  std::string Url() const;       // "http://127.0.0.1:<port>/Service.asmx"

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string error_;
};

}  // namespace tarvelo_test
