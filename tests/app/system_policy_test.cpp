// The organisation's policy keys as the registry holds them: each kind of value as the engine
// takes it, a key that is not there, the machine's key before the user's, and the rules file read
// from a path that does not lead to one.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/system_policy.h"
#include "engine/numbers/text_util.h"

namespace tarvello::app {
namespace {

class SystemPolicyTest : public ::testing::Test {
protected:
    ~SystemPolicyTest() override {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
            RegDeleteTreeW(root, path_.c_str());
    }
    void Put(HKEY root, const wchar_t* name, DWORD type, const void* data, std::size_t bytes) {
        EXPECT_EQ(RegSetKeyValueW(root, path_.c_str(), name, type, data, static_cast<DWORD>(bytes)),
                  ERROR_SUCCESS);
    }
    void Put(HKEY root, const wchar_t* name, DWORD type, const std::wstring& text) {
        Put(root, name, type, text.c_str(), text.size() * sizeof(wchar_t));
    }
    const std::wstring path_ = L"SOFTWARE\\Policies\\Tarvello Policy Test";
};

// A text need not end in a null as stored; a REG_EXPAND_SZ is expanded; a REG_MULTI_SZ's
// strings are lines.
TEST_F(SystemPolicyTest, EachKindOfValueReadsAsTheEngineTakesIt) {
    const RegistryPolicyKey machine(HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", path_);
    EXPECT_FALSE(machine.Read(u"PriceRulesFile")) << "no key";
    wchar_t root[MAX_PATH] = {};
    GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH);
    const DWORD one = 1;
    Put(HKEY_LOCAL_MACHINE, L"Text", REG_SZ, L"\\\\srv\\r.txt");
    Put(HKEY_LOCAL_MACHINE, L"Expanded", REG_EXPAND_SZ, L"%SystemRoot%\\r.txt");
    Put(HKEY_LOCAL_MACHINE, L"Lines", REG_MULTI_SZ, std::wstring(L"a b\0c\0\0", 8));
    Put(HKEY_LOCAL_MACHINE, L"Number", REG_DWORD, &one, sizeof one);
    Put(HKEY_LOCAL_MACHINE, L"Bytes", REG_BINARY, &one, sizeof one);
    const struct {
        const char16_t* name;
        PolicyValue::Kind kind;
        std::wstring text;
        std::uint32_t number;
    } values[] = {
        {u"Text", PolicyValue::Kind::Text, L"\\\\srv\\r.txt", 0},
        {u"Expanded", PolicyValue::Kind::Text, std::wstring(root) + L"\\r.txt", 0},
        {u"Lines", PolicyValue::Kind::Text, L"a b\nc\n", 0},
        {u"Number", PolicyValue::Kind::Number, L"", 1},
        {u"Bytes", PolicyValue::Kind::Other, L"", 0},
    };
    for (const auto& v : values) {
        SCOPED_TRACE(Utf8Of(v.name));
        const std::optional<PolicyValue> read = machine.Read(v.name);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->kind, v.kind);
        EXPECT_TRUE(read->text == Text(v.text.begin(), v.text.end()));
        EXPECT_EQ(read->number, v.number);
    }
}

TEST_F(SystemPolicyTest, TheMachinesKeyComesFirstAndAFileThatIsNotThereSaysWhy) {
    const Text name = NameOf(PolicySetting::PriceRulesFile);
    const std::wstring value(name.begin(), name.end());
    Put(HKEY_CURRENT_USER, value.c_str(), REG_SZ, L"C:\\no such folder\\user.txt");
    Put(HKEY_LOCAL_MACHINE, value.c_str(), REG_SZ, L"C:\\no such folder\\rules.txt");
    const OrganisationPolicy policy = ReadSystemPolicy(path_);
    EXPECT_EQ(Utf8Of(policy.rules.where), "C:\\no such folder\\rules.txt");
    const RulesRead read = ReadRulesAt(policy.rules);
    EXPECT_FALSE(read.text);
    EXPECT_FALSE(read.why.empty()) << "the system's words for a path that is not there";
}

}  // namespace
}  // namespace tarvello::app
