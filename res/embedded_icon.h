// res/tarvelo.ico, embedded into the program when it is built (see res/CMakeLists.txt).
#pragma once

#include <cstddef>

extern const unsigned char kTarveloIco[];
extern const std::size_t kTarveloIcoSize;
