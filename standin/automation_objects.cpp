#include "standin/automation_objects.h"

#include <cmath>

#include "standin/row_selection.h"
#include "standin/variant_value.h"

namespace tarvello::standin {
namespace {

using Microsoft::WRL::ComPtr;
using Kind = DispatchObject::Kind;

enum : DISPID {
    kDocFunctions = 1,
    kItemFunctions,
    kGetActiveDocumentIndex = 1,
    kLineItemGetSelectedRows = 1,
    kLineItemCount,
    kLineItemGetValue,
    kLineItemGetActiveRow,
    kLineItemSetValue,
};

class DocFunctionsObject : public DispatchObject {
public:
    DocFunctionsObject(Workspace* workspace, CallMonitor* monitor)
        : DispatchObject(L"DocFunctions",
                         {{kGetActiveDocumentIndex, L"GetActiveDocumentIndex", Kind::Operation, 0}},
                         monitor),
          workspace_(workspace) {}

protected:
    HRESULT Call(const Member&, const std::vector<const VARIANT*>&, VARIANT* result,
                 CallError*) override {
        SetI2(result, static_cast<short>(workspace_->Active() ? workspace_->active : -1));
        return S_OK;
    }

private:
    Workspace* workspace_;
};

class ItemFunctionsObject : public DispatchObject {
public:
    ItemFunctionsObject(Workspace* workspace, QuoteView* view, CallMonitor* monitor)
        : DispatchObject(
              L"ItemFunctions",
              {{kLineItemGetSelectedRows, L"LineItemGetSelectedRows", Kind::Operation, 0},
               {kLineItemCount, L"LineItemCount", Kind::Operation, 0},
               {kLineItemGetValue, L"LineItemGetValue", Kind::Operation, 2},
               {kLineItemGetActiveRow, L"LineItemGetActiveRow", Kind::Operation, 0},
               {kLineItemSetValue, L"LineItemSetValue", Kind::Operation, 3}},
              monitor),
          workspace_(workspace),
          view_(view) {}

protected:
    HRESULT Call(const Member& member, const std::vector<const VARIANT*>& args, VARIANT* result,
                 CallError* error) override {
        QuoteDocument* doc = workspace_->Active();
        if (!doc) return Raise(error, E_FAIL, L"No document is open.");
        int count = static_cast<int>(doc->items.size());
        switch (member.id) {
            case kLineItemGetSelectedRows:
                SetText(result, FormatSelectedRows(view_->SelectedRows(), count));
                return S_OK;
            case kLineItemCount:
                SetI4(result, count);
                return S_OK;
            case kLineItemGetActiveRow:
                SetI2(result, static_cast<short>(view_->FocusedRow()));
                return S_OK;
            case kLineItemGetValue:
            case kLineItemSetValue:
                break;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
        auto row = ReadRow(*args[0]);
        if (!row) return Raise(error, DISP_E_TYPEMISMATCH, L"The row is not a whole number.");
        if (*row < 0 || *row >= count)
            return Raise(error, DISP_E_BADINDEX,
                         L"Row " + std::to_wstring(*row) + L" is not in the document (" +
                             std::to_wstring(count) + L" line items).");
        auto name = ReadText(*args[1]);
        auto field = name ? FieldFromName(*name) : std::nullopt;
        if (!field)
            return Raise(
                error, DISP_E_MEMBERNOTFOUND,
                name ? L"Unknown field \"" + *name + L"\"." : L"The field name is not text.");
        LineItem& item = doc->items[*row];
        if (member.id == kLineItemGetValue) return GetValue(item, *field, result, manners());
        HRESULT hr = SetValue(&item, *field, *args[2], error, manners());
        if (SUCCEEDED(hr)) view_->RowChanged(*row);
        return hr;
    }

private:
    static HRESULT GetValue(const LineItem& item, Field field, VARIANT* result,
                            const HostManners& manners) {
        auto cell = [&](const Cell& c) {
            if (c.IsNumber())
                SetR8(result, *c.number);
            else
                SetText(result, c.text);
        };
        switch (field) {
            case Field::LineType:
                if (item.lineType.IsNumber())
                    SetI2(result, static_cast<short>(*item.lineType.number));
                else
                    SetText(result, item.lineType.text);
                break;
            case Field::Description:
                SetText(result, item.description);
                break;
            case Field::PriceModifier:
                if (item.priceModifier.empty() &&
                    manners.noModifier != HostManners::NoModifier::EmptyText) {
                    VariantInit(result);
                    result->vt =
                        manners.noModifier == HostManners::NoModifier::Null ? VT_NULL : VT_EMPTY;
                } else {
                    SetText(result, item.priceModifier);
                }
                break;
            case Field::QtyTotal:
                cell(item.qtyTotal);
                break;
            case Field::UnitPrice:
                cell(item.unitPrice);
                break;
            case Field::ExtendedPrice:
                cell(item.ExtendedPrice());
                break;
        }
        return S_OK;
    }

    static HRESULT SetValue(LineItem* item, Field field, const VARIANT& value, CallError* error,
                            const HostManners& manners) {
        if (field == Field::UnitPrice || field == Field::QtyTotal) {
            auto number = ReadNumber(value);
            if (!number)
                return Raise(error, DISP_E_TYPEMISMATCH,
                             std::wstring(FieldName(field)) + L" takes a number.");
            if (field == Field::UnitPrice && manners.keepDecimals) {
                const double scale = std::pow(10.0, *manners.keepDecimals);
                number = std::round(*number * scale) / scale;
                // A host that says what it kept, in the caller's own value.
                if (!manners.keepsSilently && value.vt == (VT_R8 | VT_BYREF) && value.pdblVal) {
                    *value.pdblVal = *number;
                }
            }
            (field == Field::UnitPrice ? item->unitPrice : item->qtyTotal) = Cell::Number(*number);
            return S_OK;
        }
        if (field == Field::PriceModifier || field == Field::Description) {
            auto text = ReadText(value);
            if (!text)
                return Raise(error, DISP_E_TYPEMISMATCH,
                             std::wstring(FieldName(field)) + L" takes a text.");
            (field == Field::PriceModifier ? item->priceModifier : item->description) = *text;
            return S_OK;
        }
        return Raise(error, E_ACCESSDENIED,
                     std::wstring(FieldName(field)) + L" cannot be written.");
    }

    Workspace* workspace_;
    QuoteView* view_;
};

class ApplicationObject : public DispatchObject {
public:
    ApplicationObject(Workspace* workspace, QuoteView* view, CallMonitor* monitor,
                      bool freshMembers)
        : DispatchObject(L"Application",
                         {{kDocFunctions, L"DocFunctions", Kind::Property, 0},
                          {kItemFunctions, L"ItemFunctions", Kind::Property, 0}},
                         monitor),
          workspace_(workspace),
          view_(view),
          monitor_(monitor),
          freshMembers_(freshMembers) {
        docFunctions_.Attach(new DocFunctionsObject(workspace, monitor));
        itemFunctions_.Attach(new ItemFunctionsObject(workspace, view, monitor));
    }

    // Every object handed out: the two members, and with fresh members each one made since.
    std::vector<IUnknown*> Objects() {
        std::vector<IUnknown*> objects{this, docFunctions_.Get(), itemFunctions_.Get()};
        for (const auto& object : handedOut_) objects.push_back(object.Get());
        return objects;
    }

protected:
    HRESULT Call(const Member& member, const std::vector<const VARIANT*>&, VARIANT* result,
                 CallError*) override {
        ComPtr<IDispatch> object = member.id == kDocFunctions ? docFunctions_ : itemFunctions_;
        if (freshMembers_) {
            if (member.id == kDocFunctions)
                object.Attach(new DocFunctionsObject(workspace_, monitor_));
            else
                object.Attach(new ItemFunctionsObject(workspace_, view_, monitor_));
            // Kept until exit, so that clients still holding one can be cut off then.
            handedOut_.push_back(object);
        }
        result->vt = VT_DISPATCH;
        result->pdispVal = object.Detach();
        return S_OK;
    }

private:
    Workspace* workspace_;
    QuoteView* view_;
    CallMonitor* monitor_;
    bool freshMembers_;
    ComPtr<IDispatch> docFunctions_;
    ComPtr<IDispatch> itemFunctions_;
    std::vector<ComPtr<IDispatch>> handedOut_;
};

}  // namespace

ComPtr<IDispatch> CreateApplicationObject(Workspace* workspace, QuoteView* view,
                                          CallMonitor* monitor, bool freshMembers) {
    ComPtr<IDispatch> app;
    app.Attach(new ApplicationObject(workspace, view, monitor, freshMembers));
    return app;
}

std::vector<IUnknown*> ApplicationObjects(IDispatch* application) {
    return static_cast<ApplicationObject*>(application)->Objects();
}

}  // namespace tarvello::standin
