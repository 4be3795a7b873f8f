// What tarvelo-cli shows on a terminal while a run goes on.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

// The width of the terminal behind fd, or 0 when fd is no terminal.
int TerminalColumns(int fd);

// "12/20 exchanges, 3.4 s, 3.5 exchanges/s"
std::string ProgressText(int done, int requested, double seconds);

// One line on a terminal that tells how far a run has got. The run holds the program's thread
// from its start to its end, each exchange's wait for its reply included, so the line is drawn
// by a thread of its own: every 100 ms, the first time 100 ms after the start, so that the
// seconds go on while an exchange waits. The destructor erases the line.
class ProgressLine {
 public:
  ProgressLine(int fd, int requested);
  ~ProgressLine();
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // The exchanges done so far: one relaxed store, for the run's thread.
  void SetDone(int done) { m_done.store(done, std::memory_order_relaxed); }
  // Writes whole lines to the terminal where the progress line stands; it comes back below.
  void Print(std::string_view lines);

 private:
  void Draw();   // with m_mutex held
  void Erase();  // with m_mutex held
  void Write(std::string_view bytes);

  const int m_fd;
  const int m_requested;
  const std::chrono::steady_clock::time_point m_start;
  std::atomic<int> m_done{0};
  std::mutex m_mutex;
  std::condition_variable m_stopRequested;
  bool m_stopping = false;
  bool m_drawn = false;
  std::thread m_drawer;
};
