#pragma once
// The tagged value in which every host value, and several results of the rounding
// functions, travel: empty, 16- or 32-bit whole number, double, text or Boolean.

#include <cstdint>
#include <string>
#include <variant>

namespace tarvello {

// Text is a sequence of 16-bit code units, as the host and Windows hand it over.
using Text = std::u16string;

class Variant {
public:
    enum class Kind { Empty, Int16, Int32, Double, Text, Boolean };

    Variant() = default;
    static Variant Int16(std::int16_t v) { return Variant(Value(std::in_place_index<1>, v)); }
    static Variant Int32(std::int32_t v) { return Variant(Value(std::in_place_index<2>, v)); }
    static Variant Double(double v) { return Variant(Value(std::in_place_index<3>, v)); }
    static Variant FromText(Text v) { return Variant(Value(std::in_place_index<4>, std::move(v))); }
    static Variant Boolean(bool v) { return Variant(Value(std::in_place_index<5>, v)); }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool IsEmpty() const { return kind() == Kind::Empty; }
    bool IsNumber() const {
        return kind() == Kind::Int16 || kind() == Kind::Int32 || kind() == Kind::Double;
    }

    // Accessors for the kind the variant holds; asking for another kind is a programming
    // error (std::bad_variant_access).
    std::int16_t AsInt16() const { return std::get<1>(value_); }
    std::int32_t AsInt32() const { return std::get<2>(value_); }
    double AsDouble() const { return std::get<3>(value_); }
    const Text& AsText() const { return std::get<4>(value_); }
    // The Boolean's numeric value: true is -1, false is 0.
    bool AsBool() const { return std::get<5>(value_); }
    std::int16_t BooleanValue() const { return AsBool() ? -1 : 0; }

    // The value of any number kind as a double.
    double NumberValue() const {
        switch (kind()) {
            case Kind::Int16:
                return AsInt16();
            case Kind::Int32:
                return AsInt32();
            default:
                return AsDouble();
        }
    }

    bool operator==(const Variant& other) const { return value_ == other.value_; }
    bool operator!=(const Variant& other) const { return !(*this == other); }

private:
    using Value = std::variant<std::monostate, std::int16_t, std::int32_t, double, Text, bool>;
    explicit Variant(Value v) : value_(std::move(v)) {}
    Value value_;
};

}  // namespace tarvello
