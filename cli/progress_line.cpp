#include "cli/progress_line.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace {

constexpr std::chrono::milliseconds kRedrawEvery{100};
constexpr char kEraseLine[] = "\r\033[K";  // to the line's start, then clear to its end

}  // namespace

int TerminalColumns(int fd) {
  if (!isatty(fd)) return 0;
  winsize size{};
  if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
  return size.ws_col;
}

std::string ProgressText(int done, int requested, double seconds) {
  char text[96];
  std::snprintf(text, sizeof text, "%d/%d exchanges, %.1f s, %.1f exchanges/s",
                std::min(done, requested), requested, seconds,
                seconds > 0 ? std::min(done, requested) / seconds : 0.0);
  return text;
}

ProgressLine::ProgressLine(int fd, int requested)
    : m_fd(fd), m_requested(requested), m_start(std::chrono::steady_clock::now()) {
  m_drawer = std::thread([this] {
    std::unique_lock lock(m_mutex);
    while (!m_stopRequested.wait_for(lock, kRedrawEvery, [this] { return m_stopping; })) Draw();
    Erase();
  });
}

ProgressLine::~ProgressLine() {
  {
    const std::lock_guard lock(m_mutex);
    m_stopping = true;
  }
  m_stopRequested.notify_one();
  m_drawer.join();
}

void ProgressLine::Print(std::string_view lines) {
  const std::lock_guard lock(m_mutex);
  Erase();
  Write(lines);
}

void ProgressLine::Draw() {
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_start;
  std::string text =
      ProgressText(m_done.load(std::memory_order_relaxed), m_requested, elapsed.count());
  // A line as wide as the terminal would wrap, and the erasure would then miss its first part.
  const int columns = TerminalColumns(m_fd);
  if (columns > 1 && text.size() >= static_cast<std::size_t>(columns)) text.resize(columns - 1);
  Write("\r" + text + "\033[K");
  m_drawn = true;
}

void ProgressLine::Erase() {
  if (m_drawn) Write(kEraseLine);
  m_drawn = false;
}

void ProgressLine::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(m_fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}
