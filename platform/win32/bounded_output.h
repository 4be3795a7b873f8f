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

  int Count() const { return m_count; }
  bool Overflowed() const { return m_overflowed; }

 private:
  Unit* m_destination;
  int m_capacity;
  int m_count = 0;
  bool m_overflowed = false;
};

}  // namespace win32_detail
