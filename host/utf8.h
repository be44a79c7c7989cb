#pragma once
// Host texts for byte-oriented places: exception messages and console output.

#include <string>

#include "engine/variant.h"

namespace tarvello::host {

std::string ToUtf8(const Text& text);

}  // namespace tarvello::host
