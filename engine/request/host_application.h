#pragma once
// The program's view of the host's automation object. The rounding pass knows the host only
// through these two interfaces; the Windows build implements them over COM (host/), tests
// implement them with recording fakes.

#include <cstdint>
#include <memory>

#include "numbers/variant.h"

namespace tarvello {

// One attached host application object. Destroying it releases the host object, so the
// pass holds it in a unique_ptr and nothing of the host outlives the pass.
// Every operation may throw HostError (the call failed) or EngineError (the host answered
// with a value of a kind that is neither a number nor text).
class HostApplication {
public:
    virtual ~HostApplication() = default;

    // DocFunctions.GetActiveDocumentIndex: -1 when no document is open.
    virtual Variant GetActiveDocumentIndex() = 0;
    // ItemFunctions.LineItemGetSelectedRows: "*" for all rows, else the selected indexes.
    virtual Variant LineItemGetSelectedRows() = 0;
    // ItemFunctions.LineItemCount.
    virtual Variant LineItemCount() = 0;
    // ItemFunctions.LineItemGetValue. The row is handed by reference to the caller's own
    // counter (VT_I2 | VT_BYREF); the host reads it and leaves it unchanged.
    virtual Variant LineItemGetValue(std::int16_t& row, const Text& field) = 0;
    // ItemFunctions.LineItemGetActiveRow.
    virtual Variant LineItemGetActiveRow() = 0;
    // ItemFunctions.LineItemSetValue. A double value goes by reference (VT_R8 | VT_BYREF),
    // a text by value (VT_BSTR).
    virtual void LineItemSetValue(std::int16_t& row, const Text& field, Variant& value) = 0;
};

class HostLink {
public:
    virtual ~HostLink() = default;
    // Attaches, answers and releases; never throws.
    virtual bool IsHostRunning() = 0;
    // Attaches to the running "Tarvello.Application" without ever starting one.
    // Throws HostError when no instance can be reached.
    virtual std::unique_ptr<HostApplication> Attach() = 0;
};

}  // namespace tarvello
