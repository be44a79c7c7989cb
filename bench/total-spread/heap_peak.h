#pragma once
// The most heap memory a stretch of the program held at once: every operator new and delete of
// the bench counts, beyond what was held when the stretch began.

#include <cstddef>

namespace bench {

void StartHeapPeak();
std::size_t HeapPeak();  // bytes since StartHeapPeak()

}  // namespace bench
