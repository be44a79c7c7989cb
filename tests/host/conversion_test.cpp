// The host's answers as the engine sees them: every number and text kind, by value over real
// marshaling and by reference, and the kinds that are neither.

#include <gtest/gtest.h>

#include <functional>

#include "engine/numbers/errors.h"
#include "host/variant_convert.h"
#include "tests/host/host_fixture.h"

namespace tarvello::host::testing {
namespace {

struct Answer {
    const char* name;
    std::function<void(VARIANT*)> make;
    Variant expected;
};

CY Currency(LONGLONG scaled) {
    CY value;
    value.int64 = scaled;
    return value;
}

DECIMAL Decimal(double value) {
    DECIMAL result;
    VarDecFromR8(value, &result);
    return result;
}

const Answer kAnswers[] = {
    {"Empty", [](VARIANT* v) { V_VT(v) = VT_EMPTY; }, Variant()},
    {"I2", [](VARIANT* v) { V_VT(v) = VT_I2, V_I2(v) = -7; }, Variant::Int16(-7)},
    {"I4", [](VARIANT* v) { V_VT(v) = VT_I4, V_I4(v) = 70000; }, Variant::Int32(70000)},
    {"R8", [](VARIANT* v) { V_VT(v) = VT_R8, V_R8(v) = 12.51; }, Variant::Double(12.51)},
    {"R4", [](VARIANT* v) { V_VT(v) = VT_R4, V_R4(v) = 2.5f; }, Variant::Double(2.5)},
    {"Bstr", [](VARIANT* v) { V_VT(v) = VT_BSTR, V_BSTR(v) = SysAllocString(L"n/a"); },
     Variant::FromText(u"n/a")},
    {"BoolTrue", [](VARIANT* v) { V_VT(v) = VT_BOOL, V_BOOL(v) = VARIANT_TRUE; },
     Variant::Boolean(true)},
    {"BoolFalse", [](VARIANT* v) { V_VT(v) = VT_BOOL, V_BOOL(v) = VARIANT_FALSE; },
     Variant::Boolean(false)},
    {"Currency", [](VARIANT* v) { V_VT(v) = VT_CY, V_CY(v) = Currency(125050); },
     Variant::Double(12.505)},
    {"Decimal", [](VARIANT* v) { V_DECIMAL(v) = Decimal(43.25), V_VT(v) = VT_DECIMAL; },
     Variant::Double(43.25)},
    {"Date", [](VARIANT* v) { V_VT(v) = VT_DATE, V_DATE(v) = 36526.5; }, Variant::Double(36526.5)},
    {"UI1", [](VARIANT* v) { V_VT(v) = VT_UI1, V_UI1(v) = 200; }, Variant::Int16(200)},
    {"I1", [](VARIANT* v) { V_VT(v) = VT_I1, V_I1(v) = -3; }, Variant::Int16(-3)},
    {"UI2", [](VARIANT* v) { V_VT(v) = VT_UI2, V_UI2(v) = 65535; }, Variant::Int32(65535)},
    {"UI4", [](VARIANT* v) { V_VT(v) = VT_UI4, V_UI4(v) = 40000; }, Variant::Int32(40000)},
    {"UI4Wide", [](VARIANT* v) { V_VT(v) = VT_UI4, V_UI4(v) = 4000000000u; },
     Variant::Double(4000000000.0)},
    {"I8", [](VARIANT* v) { V_VT(v) = VT_I8, V_I8(v) = -123456; }, Variant::Int32(-123456)},
    {"I8Wide", [](VARIANT* v) { V_VT(v) = VT_I8, V_I8(v) = 10000000000LL; }, Variant::Double(1e10)},
    {"UI8", [](VARIANT* v) { V_VT(v) = VT_UI8, V_UI8(v) = 12; }, Variant::Int32(12)},
    {"Int", [](VARIANT* v) { V_VT(v) = VT_INT, V_INT(v) = -40000; }, Variant::Int32(-40000)},
    {"UInt", [](VARIANT* v) { V_VT(v) = VT_UINT, V_UINT(v) = 17; }, Variant::Int32(17)},
};

std::string Describe(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "Empty";
        case Variant::Kind::Int16:
            return "Int16 " + std::to_string(value.AsInt16());
        case Variant::Kind::Int32:
            return "Int32 " + std::to_string(value.AsInt32());
        case Variant::Kind::Double:
            return "Double " + std::to_string(value.AsDouble());
        case Variant::Kind::Text:
            return "Text (" + std::to_string(value.AsText().size()) + ")";
        case Variant::Kind::Boolean:
            return value.AsBool() ? "True" : "False";
    }
    return "?";
}

using HostAnswers = HostFixture;

TEST_F(HostAnswers, EveryNumberAndTextKindArrivesWithItsValue) {
    const Answer* current = nullptr;
    fake().SetHandler([&current](const FakeInvocation&, VARIANT* result, EXCEPINFO*) {
        current->make(result);
        return S_OK;
    });
    auto host = Attach();
    for (const Answer& answer : kAnswers) {
        current = &answer;
        std::int16_t row = 0;
        const Variant got = host->LineItemGetValue(row, u"UnitPrice");
        EXPECT_EQ(answer.expected, got) << answer.name << ": expected " << Describe(answer.expected)
                                        << ", got " << Describe(got);
    }
}

TEST(HostAnswerConversion, AValueHandedByReferenceIsRead) {
    for (const Answer& answer : kAnswers) {
        if (std::string(answer.name) == "Empty") continue;
        VariantOwner target;
        answer.make(target.get());
        VARIANT reference;
        VariantInit(&reference);
        const VARTYPE type = V_VT(target.get());
        V_VT(&reference) = type | VT_BYREF;
        // Every by-reference member of VARIANT points at the same place in the target.
        V_BYREF(&reference) = type == VT_DECIMAL ? static_cast<void*>(&target.get()->decVal)
                                                 : static_cast<void*>(&V_I1(target.get()));
        const Variant got = FromAutomationValue(reference);
        EXPECT_EQ(answer.expected, got) << answer.name << ": got " << Describe(got);

        VARIANT wrapped;
        VariantInit(&wrapped);
        V_VT(&wrapped) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&wrapped) = target.get();
        EXPECT_EQ(answer.expected, FromAutomationValue(wrapped)) << answer.name << " in a variant";
    }
}

struct Refused {
    const char* name;
    std::function<void(VARIANT*)> make;
    const char* kind;
};

TEST_F(HostAnswers, AKindThatIsNeitherNumberNorTextIsATypeMismatchNamingIt) {
    const Refused refused[] = {
        {"Dispatch",
         [this](VARIANT* v) {
             V_VT(v) = VT_DISPATCH;
             V_DISPATCH(v) = &fake().docFunctions();
             fake().docFunctions().AddRef();
         },
         "VT_DISPATCH"},
        {"Null", [](VARIANT* v) { V_VT(v) = VT_NULL; }, "VT_NULL"},
        {"Error", [](VARIANT* v) { V_VT(v) = VT_ERROR, V_ERROR(v) = DISP_E_PARAMNOTFOUND; },
         "VT_ERROR"},
        {"Array",
         [](VARIANT* v) {
             V_VT(v) = VT_ARRAY | VT_I4;
             V_ARRAY(v) = SafeArrayCreateVector(VT_I4, 0, 2);
         },
         "VT_ARRAY|VT_I4"},
    };
    const Refused* current = nullptr;
    fake().SetHandler([&current](const FakeInvocation&, VARIANT* result, EXCEPINFO*) {
        current->make(result);
        return S_OK;
    });
    {
        auto host = Attach();
        for (const Refused& answer : refused) {
            current = &answer;
            std::int16_t row = 2;
            try {
                host->LineItemGetValue(row, u"QtyTotal");
                ADD_FAILURE() << answer.name << ": no failure";
            } catch (const EngineError& error) {
                EXPECT_EQ(ErrorKind::TypeMismatch, error.kind()) << answer.name;
                EXPECT_NE(std::string::npos, std::string(error.what()).find(answer.kind))
                    << answer.name << ": " << error.what();
            }
        }
    }
    EXPECT_EQ(0, fake().OutstandingReferences());
}

TEST(HostAnswerConversion, KindNamesReadAsInTheHeaders) {
    EXPECT_EQ("VT_I2|VT_BYREF", VarTypeName(VT_I2 | VT_BYREF));
    EXPECT_EQ("VT_ARRAY|VT_VARIANT", VarTypeName(VT_ARRAY | VT_VARIANT));
    EXPECT_EQ("VT_UNKNOWN", VarTypeName(VT_UNKNOWN));
    EXPECT_EQ("VT_999", VarTypeName(999));
}

}  // namespace
}  // namespace tarvello::host::testing
