// The framework's socket layer.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "afxsock.h"

namespace {

TEST(SocketInit, TheLayerIsReadyWhenASocketCanBeOpenedAndAPeerClosingCannotEndTheProcess) {
  std::signal(SIGPIPE, SIG_DFL);
  rlimit saved{};
  getrlimit(RLIMIT_NOFILE, &saved);
  rlimit none = saved;
  none.rlim_cur = 0;
  setrlimit(RLIMIT_NOFILE, &none);
  const BOOL withoutRoom = AfxSocketInit();
  setrlimit(RLIMIT_NOFILE, &saved);
  EXPECT_FALSE(withoutRoom);

  EXPECT_TRUE(AfxSocketInit());
  struct sigaction current {};
  sigaction(SIGPIPE, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_IGN);
}

}  // namespace
