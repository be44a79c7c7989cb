// The stand-in Tarvello host: an out-of-process automation server with one window, serving
// "Tarvello.Application" from the running object table on its user-interface thread.

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "standin/automation_objects.h"
#include "standin/options.h"
#include "standin/quote_csv.h"
#include "standin/registration.h"
#include "standin/report.h"
#include "standin/running_object.h"
#include "standin/standin_window.h"
#include "standin/startup.h"
#include "standin/text_file.h"

namespace tarvello::standin {
namespace {

enum ExitCode : int { kOk = 0, kBadStart = 2, kForeignRegistration = 3, kComFailure = 4 };

// Joins the window and the document: what clients change is shown and, on request, dumped;
// a quote the user puts in place is shown and dumped the same way.
// A change made as if by the user of the quote; false where there is no such line item.
bool EditLineItem(Workspace& workspace, const EditAtCall& edit) {
    QuoteDocument* doc = workspace.Active();
    if (!doc || edit.row >= static_cast<int>(doc->items.size())) return false;
    LineItem& item = doc->items[static_cast<size_t>(edit.row)];
    if (edit.field == L"PriceModifier") {
        item.priceModifier = edit.value;
    } else {
        Cell& cell = edit.field == L"LineType"   ? item.lineType
                     : edit.field == L"QtyTotal" ? item.qtyTotal
                                                 : item.unitPrice;
        cell = Cell::FromText(edit.value);
    }
    return true;
}

class Session : public QuoteView, public QuoteChooser {
public:
    Session(StandinWindow* window, Workspace* workspace, std::wstring dumpFile)
        : window_(window), workspace_(workspace), dumpFile_(std::move(dumpFile)) {}

    std::vector<int> SelectedRows() override { return window_->SelectedRows(); }
    int FocusedRow() override { return window_->FocusedRow(); }
    void RowChanged(int row) override {
        window_->RefreshRow(row);
        Dump();
    }
    bool ShowQuote(int loadOrder) override {
        switch (workspace_->ShowQuote(loadOrder)) {
            case Workspace::Shown::Refused:
                return false;
            case Workspace::Shown::Already:
                return true;
            case Workspace::Shown::Exchanged:
                break;
        }
        // A quote opened by the user comes up as one opened at start without row options.
        const QuoteDocument* doc = workspace_->Active();
        window_->ShowDocument(doc, {}, doc->items.empty() ? -1 : 0);
        Dump();
        return true;
    }
    void Dump() {
        if (dumpFile_.empty()) return;
        const QuoteDocument* doc = workspace_->Active();
        ReplaceTextFile(dumpFile_, doc ? FormatQuote(doc->items) : FormatQuote({}));
    }

private:
    StandinWindow* window_;
    Workspace* workspace_;
    std::wstring dumpFile_;
};

class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

std::vector<std::wstring> Arguments() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    if (argv) LocalFree(argv);
    return args;
}

int Run() {
    StandinOptions options;
    std::wstring error;
    std::vector<std::wstring> args = Arguments();
    bool quiet = false;
    for (const auto& a : args) quiet = quiet || a == L"--quiet";
    if (!ParseOptions(args, &options, &error)) {
        Report(quiet, error + L"\n\n" + UsageText());
        return kBadStart;
    }
    StartState start;
    if (!PrepareStart(options, &start, &error)) {
        Report(quiet, error);
        return kBadStart;
    }

    ComApartment apartment;
    if (FAILED(apartment.result())) {
        Report(quiet, L"Cannot start COM: " + SystemMessage(apartment.result()));
        return kComFailure;
    }
    Registration registration;
    switch (registration.Register(&error)) {
        case Registration::Outcome::Foreign:
            Report(quiet, error);
            return kForeignRegistration;
        case Registration::Outcome::Failed:
            Report(quiet, error);
            return kComFailure;
        case Registration::Outcome::Registered:
            break;
    }

    StandinWindow window;
    Session session(&window, &start.workspace, options.dumpFile);
    std::vector<std::wstring> quoteNames;
    for (const QuoteDocument& doc : start.workspace.documents) quoteNames.push_back(doc.name);
    if (!window.Create(quoteNames, &session)) {
        Report(quiet, L"Cannot create the window: " + SystemMessage(GetLastError()));
        return kComFailure;
    }
    window.ShowDocument(start.workspace.Active(), start.selected, start.focus);
    ShowWindow(window.hwnd(), SW_SHOWNORMAL);
    UpdateWindow(window.hwnd());

    CallMonitor monitor;
    monitor.faults = CallFaults(options.failCalls, options.exitAtCall, options.holdAtCall);
    monitor.holdMs = options.holdMs;
    monitor.manners = options.manners;
    monitor.beforeCall = [&](long number) {
        for (const EditAtCall& edit : options.edits) {
            if (edit.call == number && EditLineItem(start.workspace, edit)) {
                session.RowChanged(edit.row);
            }
        }
    };
    if (!options.logFile.empty() && !monitor.log.Open(options.logFile)) {
        Report(quiet,
               L"Cannot open the log " + options.logFile + L": " + SystemMessage(GetLastError()));
        return kBadStart;
    }
    session.Dump();

    Microsoft::WRL::ComPtr<IDispatch> application =
        CreateApplicationObject(&start.workspace, &session, &monitor, options.freshMembers);
    int exitCode = kOk;
    {
        RunningObject running;
        HRESULT hr = running.Register(application.Get(), kStandinClsid);
        if (FAILED(hr)) {
            Report(quiet, L"Cannot put the application object in the running object table: " +
                              SystemMessage(static_cast<DWORD>(hr)));
            exitCode = kComFailure;
        } else {
            if (!options.readyFile.empty())
                ReplaceTextFile(options.readyFile,
                                std::to_wstring(GetCurrentProcessId()) + L"\r\n");
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        running.Revoke();
    }
    // Clients still holding an object now get a disconnect instead of a dead end.
    for (IUnknown* object : ApplicationObjects(application.Get())) CoDisconnectObject(object, 0);
    application.Reset();
    registration.Remove();
    return exitCode;
}

}  // namespace
}  // namespace tarvello::standin

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return tarvello::standin::Run();
}
