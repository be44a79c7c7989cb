#pragma once
// Names the failure a call raises, so that tables of calls can list it.

#include <string>

#include "engine/numbers/errors.h"

namespace tarvello::testing {

template <typename Call>
std::string FailureOf(Call&& call) {
    try {
        call();
    } catch (const EngineError& e) {
        switch (e.kind()) {
            case ErrorKind::Overflow:
                return "overflow";
            case ErrorKind::DivisionByZero:
                return "division by zero";
            case ErrorKind::TypeMismatch:
                return "type mismatch";
            case ErrorKind::InvalidArgument:
                return "invalid argument";
        }
    }
    return "none";
}

}  // namespace tarvello::testing
