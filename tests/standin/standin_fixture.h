#pragma once
// Shared set-up for the tests that run the real stand-in: a small quote file, the process
// started with it, and the application object with its two function objects attached.

#include <gtest/gtest.h>
#include <windows.h>
#include <wrl/client.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/standin/automation_client.h"
#include "tests/support/standin_process.h"

namespace tarvello::testing {

// Rows: 0 heading, 1 and 2 items, 3 subtotal, 4 an item whose quantity is not a number.
inline constexpr char kTestQuote[] =
    "LineType,Description,QtyTotal,UnitPrice,PriceModifier\r\n"
    "2,Heading,,,\r\n"
    "1,\"Cable, 5 m\",3,12.37,List\r\n"
    "1,Mount,2.5,149.95,\r\n"
    "3,Subtotal,,,\r\n"
    "1,Odd data,n/a,8.325,\r\n";

class StandinTest : public ::testing::Test {
protected:
    // Writes the test quote and starts the stand-in with it plus `args`; fails the test
    // when it does not get ready.
    void StartWithQuote(std::vector<std::wstring> args = {}) {
        std::wstring error;
        files_ = TempDir::Create(&error);
        ASSERT_TRUE(files_) << error;
        std::wstring quote = files_->WriteFile(L"test-quote.csv", kTestQuote);
        ASSERT_FALSE(quote.empty());
        args.insert(args.begin(), {L"--quote", quote});
        Start(std::move(args));
    }

    void Start(std::vector<std::wstring> args) {
        std::wstring error;
        standin_ = StandinProcess::Start(std::move(args), &error);
        ASSERT_TRUE(standin_) << std::string(error.begin(), error.end());
        HRESULT hr = S_OK;
        app_ = AttachToHost(&hr);
        ASSERT_TRUE(app_) << "attach failed: " << std::string(HexHr(hr).begin(), HexHr(hr).end());
    }

    Microsoft::WRL::ComPtr<IDispatch> Items() {
        HRESULT hr = S_OK;
        auto items = GetObjectProperty(app_.Get(), L"ItemFunctions", &hr);
        EXPECT_TRUE(items) << "ItemFunctions: " << std::hex << hr;
        return items;
    }

    Microsoft::WRL::ComPtr<IDispatch> Docs() {
        HRESULT hr = S_OK;
        auto docs = GetObjectProperty(app_.Get(), L"DocFunctions", &hr);
        EXPECT_TRUE(docs) << "DocFunctions: " << std::hex << hr;
        return docs;
    }

    void TearDown() override {
        app_.Reset();
        if (standin_ && standin_->Running()) {
            EXPECT_TRUE(standin_->Close());
        }
    }

    std::optional<TempDir> files_;
    std::optional<StandinProcess> standin_;
    Microsoft::WRL::ComPtr<IDispatch> app_;
};

}  // namespace tarvello::testing
