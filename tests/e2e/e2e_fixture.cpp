#include "tests/e2e/e2e_fixture.h"

namespace tarvello::e2e {

void Standin::Start(const std::optional<std::vector<QuoteRow>>& quote,
                    std::vector<std::wstring> arguments) {
    Start(quote ? std::vector<std::vector<QuoteRow>>{*quote} : std::vector<std::vector<QuoteRow>>{},
          std::move(arguments));
}

void Standin::Start(const std::vector<std::vector<QuoteRow>>& quotes,
                    std::vector<std::wstring> arguments) {
    std::wstring error;
    files_ = tarvello::testing::TempDir::Create(&error);
    ASSERT_TRUE(files_.has_value()) << std::string(error.begin(), error.end());
    for (std::size_t n = quotes.size(); n-- > 0;) {
        const std::wstring path =
            files_->WriteFile(L"quote" + std::to_wstring(n) + L".csv", QuoteCsv(quotes[n]));
        ASSERT_FALSE(path.empty());
        arguments.insert(arguments.begin(), {L"--quote", path});
    }
    process_ = tarvello::testing::StandinProcess::Start(arguments, &error);
    ASSERT_TRUE(process_.has_value())
        << "the stand-in did not start: " << std::string(error.begin(), error.end());
}

void Standin::Close() {
    if (process_) process_->Close();
    process_.reset();
    files_.reset();
}

PassOutcome RunRound(const Request& request, RecordingSink& sink) {
    host::ComHostLink link;
    return RoundLineItems(request.amount, request.field, request.method, request.scope, link, sink);
}

PassFailure RunRoundFailing(const Request& request, RecordingSink& sink) {
    const PassOutcome outcome = RunRound(request, sink);
    if (outcome.status == PassOutcome::Status::Failed && outcome.failure) return *outcome.failure;
    ADD_FAILURE() << "the Round did not fail";
    return PassFailure(FailureCause::InvalidArgument, "none");
}

}  // namespace tarvello::e2e
