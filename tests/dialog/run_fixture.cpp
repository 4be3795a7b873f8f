#include "run_fixture.h"

#include "app/program_module.h"
#include "soap/service_location.h"

std::unique_ptr<tarvelo_test::ServiceProcess> RunTest::s_service;

void RunTest::SetUpTestSuite() {
  InitProgramModule();
}

void RunTest::TearDownTestSuite() {
  s_service.reset();
}

RunTest::~RunTest() {
  SetServiceHost(nullptr);
}

tarvelo_test::ServiceProcess& RunTest::Service() {
  if (!s_service) s_service = std::make_unique<tarvelo_test::ServiceProcess>();
  EXPECT_TRUE(s_service->running()) << "tarvelo-service: " << s_service->error();
  return *s_service;
}

void RunTest::PointAt(int port) {
  SetServiceHost(("127.0.0.1:" + std::to_string(port)).c_str());
}

run_test::WindowFields RunTest::PressCall(CSoapTestDlg& dialog, std::optional<std::string> times,
                                          std::optional<std::string> text) {
  run_test::WindowFields fields;
  Run(dialog, [&](Dialog& window) {
    if (text) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TEXT, *text));
    }
    if (times) {
      EXPECT_TRUE(run_test::ReplaceField(window, IDC_TIMES, *times)) << "count " << *times;
    }
    EXPECT_TRUE(window.Click(IDOK));
    fields = run_test::ReadFields(window);
  });
  return fields;
}
