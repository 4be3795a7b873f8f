// tarvelo-cli: the test dialog on the headless window, driven as an operator would drive it.
//
// The same application and dialog as the window program run on the headless backend: the
// options are typed into the fields, "Call WebService" is pressed, and the fields that the
// window shows afterwards are printed. Message boxes go to standard error. With --stats the
// window's updates are watched to time each exchange; a long run on a terminal shows its
// progress on standard error.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "afxwin.h"
#include "app/startup.h"
#include "cli/cli_options.h"
#include "cli/run_report.h"
#include "cli/run_watch.h"
#include "headless/afx_headless.h"
#include "res/resource.h"
#include "soap/service_location.h"

namespace {

int UsageError(const std::string& message) {
  std::fprintf(stderr, "tarvelo-cli: %s\n\n%s", message.c_str(), CliUsage());
  return 2;
}

// Replaces a field's text as an operator would; true when the field then holds exactly it.
bool ReplaceField(afx::headless::Dialog& dialog, int id, const std::string& text) {
  return dialog.EnterText(id, text) && dialog.Text(id) == text;
}

// Types the options into the fields, presses the default button and reads the window.
void DriveDialog(afx::headless::Dialog& dialog, const CliOptions& options, RunReport& report,
                 RunWatch& watch) {
  if (options.text && !ReplaceField(dialog, IDC_TEXT, *options.text)) {
    report.error = "the text field did not take --text";
    return;
  }
  if (options.times && !ReplaceField(dialog, IDC_TIMES, *options.times)) {
    report.error = "the count field did not take --times";
    return;
  }
  report.timesTyped = dialog.Text(IDC_TIMES);
  watch.RunStarting(RequestedExchanges(report.timesTyped));
  dialog.Click(IDOK);
  watch.RunEnded();
  report.request = dialog.Text(IDC_REQUEST);
  report.response = dialog.Text(IDC_RESPONSE);
  report.timesDone = dialog.Text(IDC_TIMES_DONE);
  report.begin = dialog.Text(IDC_BEGIN);
  report.end = dialog.Text(IDC_END);
  report.diff = dialog.Text(IDC_DIFF);
  report.average = dialog.Text(IDC_AVERAGE);
  report.ran = true;
  dialog.Click(IDCANCEL);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const CliParseResult parsed = ParseCliOptions(args);
  if (!parsed.error.empty()) return UsageError(parsed.error);
  const CliOptions& options = parsed.options;
  if (options.help) {
    std::fputs(CliUsage(), stdout);
    return 0;
  }
  if (options.version) {
    std::fputs(VersionLine().c_str(), stdout);
    return 0;
  }
  if (options.serviceHost) SetServiceHost(options.serviceHost->c_str());

  afx::headless::Backend backend;
  const afx::ScopedBackend useHeadless(backend);
  RunReport report;
  RunWatch watch(backend, options.stats,
                 !options.noProgress && isatty(STDERR_FILENO) ? STDERR_FILENO : -1);
  backend.SetMessageBoxAnswerer([&](const afx::headless::MessageBoxRecord& box) {
    watch.PrintError(box.caption + ": " + box.text + "\n");
    report.messageBoxes.push_back(box.caption + ": " + box.text);
    return IDOK;
  });
  backend.QueueScript(
      [&](afx::headless::Dialog& dialog) { DriveDialog(dialog, options, report, watch); });

  const char* const programArgv[] = {"tarvelo-cli"};
  RunApplication(1, programArgv);

  if (!report.error.empty()) {
    std::fprintf(stderr, "tarvelo-cli: %s\n", report.error.c_str());
    return 2;
  }
  if (options.stats) {
    // The figures are shown (Diff. written) only when the run got to its end.
    report.exchangeTimes =
        TimeExchanges(watch.Updates(), !report.diff.empty(), std::atoi(report.timesDone.c_str()));
  }
  const std::string output =
      options.json ? FormatJson(report) : FormatLines(report, TerminalColumns(STDOUT_FILENO));
  std::fputs(output.c_str(), stdout);
  return ExitStatus(report);
}
