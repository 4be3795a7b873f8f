#include "support/counted_bstr_memory.h"

#include <atomic>
#include <cstdlib>

#include "bstr_memory.h"

namespace {

thread_local int t_failuresLeft = 0;
std::atomic<long> g_liveBlocks{0};

}  // namespace

void FailNextBstrAllocations(int count) {
  t_failuresLeft = count < 0 ? 0 : count;
}

long LiveBstrCount() {
  return g_liveBlocks.load();
}

void* oleaut_detail::AllocateStringBlock(std::size_t bytes) {
  if (t_failuresLeft > 0) {
    --t_failuresLeft;
    return nullptr;
  }
  void* const block = std::malloc(bytes);
  if (block != nullptr) ++g_liveBlocks;
  return block;
}

void oleaut_detail::FreeStringBlock(void* block) {
  --g_liveBlocks;
  std::free(block);
}
