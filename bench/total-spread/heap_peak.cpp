#include "heap_peak.h"

#include <cstdlib>
#include <new>

namespace {

// Each block carries its size in front of it, aligned for anything.
constexpr std::size_t kFront = alignof(std::max_align_t);
std::size_t held = 0;
std::size_t start = 0;
std::size_t peak = 0;

}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size + kFront);
    if (block == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    held += size;
    if (held > peak) peak = held;
    return static_cast<char*>(block) + kFront;
}

void operator delete(void* pointer) noexcept {
    if (pointer == nullptr) return;
    void* block = static_cast<char*>(pointer) - kFront;
    held -= *static_cast<std::size_t*>(block);
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

namespace bench {

void StartHeapPeak() {
    start = held;
    peak = held;
}

std::size_t HeapPeak() {
    return peak - start;
}

}  // namespace bench
