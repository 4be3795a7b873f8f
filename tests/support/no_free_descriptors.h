// A process that can open no more files or sockets, for one scope: how a test takes the
// socket layer away from the code under test without touching that code.
#pragma once

#include <sys/resource.h>

namespace tarvelo_test {

class NoFreeDescriptors {
 public:
  NoFreeDescriptors() {
    getrlimit(RLIMIT_NOFILE, &m_saved);
    rlimit none = m_saved;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_NOFILE, &none);
  }
  ~NoFreeDescriptors() { setrlimit(RLIMIT_NOFILE, &m_saved); }
  NoFreeDescriptors(const NoFreeDescriptors&) = delete;
  NoFreeDescriptors& operator=(const NoFreeDescriptors&) = delete;

 private:
  rlimit m_saved{};
};

}  // namespace tarvelo_test
