#include "run_fixture.h"

#include "app/program_module.h"
#include "interop/interop_testing.h"
#include "msxml.h"
#include "oleaut_testing.h"
#include "soap/service_location.h"
#include "xmlhttp_testing.h"

std::unique_ptr<tarvelo_test::ServiceProcess> RunTest::s_service;

void RunTest::SetUpTestSuite() {
  InitProgramModule();
  ASSERT_TRUE(XmlHttpStartup());
}

void RunTest::TearDownTestSuite() {
  s_service.reset();
}

RunTest::RunTest() {
  // A refused or broken exchange must fail quickly, never hang a test.
  XmlHttpSetTimeoutsForTesting(5000, 10000);
}

RunTest::~RunTest() {
  SetServiceHost(nullptr);
  QueueLocalTimesForTesting(nullptr, 0);
  FailNextBstrAllocations(0);
  FailNextInteropAllocations(InteropAllocation::kStringBody, 0);
  FailNextInteropAllocations(InteropAllocation::kTextBuffer, 0);
  XmlHttpSetTimeoutsForTesting(0, 0);
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
