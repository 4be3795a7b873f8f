// What tarvelo-cli watches of a run on the headless window, as a person watching the window
// would: the moments the dialog updates its controls (for --stats) and, on a terminal, how
// many exchanges are done (the progress line). The run itself is not touched.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/exchange_stats.h"
#include "cli/progress_line.h"
#include "headless/afx_headless.h"

class RunWatch {
 public:
  // keepUpdates: record the moments; progressFd: the terminal for the progress line, or -1.
  RunWatch(afx::headless::Backend& backend, bool keepUpdates, int progressFd);
  ~RunWatch();
  RunWatch(const RunWatch&) = delete;
  RunWatch& operator=(const RunWatch&) = delete;

  // Right before the button is pressed, with the count as the run reads it; a progress line
  // is shown when more than one exchange is asked for.
  void RunStarting(int requested);
  // When the button press has returned: watching ends and the progress line goes.
  void RunEnded();
  // Lines for standard error while the run goes on (message boxes), clear of the progress line.
  void PrintError(const std::string& lines);

  const std::vector<SteadyTime>& Updates() const { return m_updates; }

 private:
  afx::headless::Backend& m_backend;
  const bool m_keepUpdates;
  const int m_progressFd;
  std::vector<SteadyTime> m_updates;
  int m_updatesSeen = 0;
  std::unique_ptr<ProgressLine> m_progress;
};
