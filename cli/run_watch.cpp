#include "cli/run_watch.h"

#include <algorithm>
#include <cstdio>

RunWatch::RunWatch(afx::headless::Backend& backend, bool keepUpdates, int progressFd)
    : m_backend(backend), m_keepUpdates(keepUpdates), m_progressFd(progressFd) {}

RunWatch::~RunWatch() {
  RunEnded();
}

void RunWatch::RunStarting(int requested) {
  m_updates.clear();
  m_updatesSeen = 0;
  // The request shown, each exchange, the figures: no growing while the run goes on.
  if (m_keepUpdates) m_updates.reserve(static_cast<std::size_t>(std::max(requested, 0)) + 2);
  if (m_progressFd >= 0 && requested > 1) {
    m_progress = std::make_unique<ProgressLine>(m_progressFd, requested);
  }
  if (!m_keepUpdates && !m_progress) return;
  m_backend.ObserveControlUpdates([this](SteadyTime when) {
    if (m_keepUpdates) m_updates.push_back(when);
    // The first update shows the request; every later one ends an exchange.
    if (m_progress) m_progress->SetDone(m_updatesSeen);
    ++m_updatesSeen;
  });
}

void RunWatch::RunEnded() {
  m_backend.ObserveControlUpdates(nullptr);
  m_progress.reset();
}

void RunWatch::PrintError(const std::string& lines) {
  if (m_progress) {
    m_progress->Print(lines);
  } else {
    std::fputs(lines.c_str(), stderr);
  }
}
