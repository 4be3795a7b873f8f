#include "bstr_memory.h"

#include <cstdlib>

void* oleaut_detail::AllocateStringBlock(std::size_t bytes) {
  return std::malloc(bytes);
}

void oleaut_detail::FreeStringBlock(void* block) {
  std::free(block);
}
