#pragma once
// The yardstick for the link's overhead: the calls a Round has to make and nothing else, with
// every name resolved before the first of them.

#include <cstdint>

namespace tarvello::bench {

// Runs one Round's worth of calls against the running host ("All" rows, unit price to the
// nearest multiple of 5, as the measured pass is asked to do) and returns the rows written.
// Throws std::runtime_error when a call fails.
std::int32_t ReferenceRound();

}  // namespace tarvello::bench
