// The reference service, started for one test on a free port of 127.0.0.1.
#pragma once

#include <sys/types.h>

#include <string>
#include <thread>
#include <vector>

namespace tarvelo_test {

class ServiceProcess {
 public:
  // Whether the tests were built together with tarvelo-service; skip service tests otherwise.
  static bool Available();

  // Starts "tarvelo-service --listen 127.0.0.1:0" plus the extra arguments and reads the port
  // from its first line. running() tells whether that worked, error() why not.
  explicit ServiceProcess(const std::vector<std::string>& extraArguments = {});
  // Ends the service with SIGTERM (SIGKILL if it lingers) and reaps it.
  ~ServiceProcess();
  ServiceProcess(const ServiceProcess&) = delete;
  ServiceProcess& operator=(const ServiceProcess&) = delete;

  bool running() const { return port_ != 0; }
  const std::string& error() const { return error_; }
  int port() const { return port_; }
  // "127.0.0.1:<port>"
  std::string HostPort() const;
  // "http://127.0.0.1:<port>/Service.asmx"
  std::string Url() const;

 private:
  void Stop();

  pid_t pid_ = -1;
  int output_ = -1;  // the read end of the service's standard output
  int port_ = 0;
  std::string error_;
  std::thread drain_;  // keeps reading the output so that the service never blocks on it
};

}  // namespace tarvelo_test
