// Where a conversion writes: a caller's buffer of a given capacity, or nowhere when the caller
// only asks how much room the result needs (capacity 0).
#pragma once

#include <cstddef>

namespace win32_detail {

template <typename Unit>
class BoundedOutput {
 public:
  BoundedOutput(Unit* destination, int capacity)
      : m_destination(destination), m_capacity(capacity) {}

  // Appends the units as one piece: they all fit, or none is written and the output is full.
  bool Put(const Unit* units, int count) {
    if (m_capacity > 0) {
      if (count > m_capacity - m_count) {
        m_overflowed = true;
        return false;
      }
      for (int i = 0; i < count; ++i) m_destination[m_count + i] = units[i];
    }
    m_count += count;
    return true;
  }
  bool Put(Unit unit) { return Put(&unit, 1); }

  // Appends units that each stand for themselves in Unit (ASCII, say), one after another: what
  // fits is written; false once the output is full.
  template <typename Source>
  bool PutEach(const Source* units, int count) {
    if (m_capacity > 0) {
      const int room = m_capacity - m_count;
      const int fitting = count < room ? count : room;
      Unit* const to = m_destination + m_count;
      for (int i = 0; i < fitting; ++i) to[i] = static_cast<Unit>(units[i]);
      m_count += fitting;
      if (fitting < count) {
        m_overflowed = true;
        return false;
      }
      return true;
    }
    m_count += count;
    return true;
  }

  int Count() const { return m_count; }
  bool Overflowed() const { return m_overflowed; }

 private:
  Unit* m_destination;
  int m_capacity;
  int m_count = 0;
  bool m_overflowed = false;
};

// How many units from the start are ASCII, the same in every code page the platform knows: a
// conversion copies them across in one piece.
template <typename Unit>
int AsciiRun(const Unit* units, int count) {
  int run = 0;
  while (run < count && units[run] < 0x80) ++run;
  return run;
}

}  // namespace win32_detail
