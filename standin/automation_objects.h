#pragma once
// The three automation objects clients reach: the application object with its properties
// DocFunctions and ItemFunctions, and the operations of those two.

#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <vector>

#include "standin/dispatch_object.h"
#include "standin/quote_document.h"

namespace tarvello::standin {

// What the operations need from the window: the list's selection and focus are the
// document's selected rows and active row, and a written row must be shown.
class QuoteView {
public:
    virtual std::vector<int> SelectedRows() = 0;
    virtual int FocusedRow() = 0;  // -1: none
    virtual void RowChanged(int row) = 0;

protected:
    ~QuoteView() = default;
};

// Builds the application object (and with it the two others, each the same object for the
// life of the process; with `freshMembers` every read of DocFunctions or ItemFunctions makes
// a new one instead). `workspace`, `view` and `monitor` must outlive every call.
Microsoft::WRL::ComPtr<IDispatch> CreateApplicationObject(Workspace* workspace, QuoteView* view,
                                                          CallMonitor* monitor,
                                                          bool freshMembers = false);

// Every object a client may hold, for cutting them all off at exit.
std::vector<IUnknown*> ApplicationObjects(IDispatch* application);

}  // namespace tarvello::standin
