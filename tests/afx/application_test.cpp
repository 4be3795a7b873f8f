// The application's start: the framework's entry without a window system, and the socket layer.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "afxsock.h"
#include "afxwin.h"

namespace {

class CRecordingApp : public CWinApp {
 public:
  bool started = false;
  BOOL InitInstance() override {
    started = true;
    return FALSE;
  }
};

// No backend installed and none to make: the framework says so and the application never
// starts; it does not fall back to a window nobody sees.
TEST(FrameworkEntry, WithoutAWindowSystemSaysSoAndEndsWithOne) {
  CRecordingApp app;
  ::testing::internal::CaptureStderr();
  const int code = AfxWinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOWDEFAULT);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(code, 1);
  EXPECT_FALSE(app.started);
  EXPECT_EQ(said,
            "tarvelo_afx_tests: no window backend is linked into this program; it cannot "
            "show a window\n");
}

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
