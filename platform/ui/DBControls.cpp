#include "ui/DBControls.h"

#include "data/ClientDataSet.h"

namespace plat {

std::string TDBText::Text() const {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || DataField.empty()) return {};
    TField* field = ds->FindField(DataField);
    return field ? field->DisplayText() : std::string{};
}

void TDBNavigator::Click(Button button) {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || !Enabled()) return;
    switch (button) {
    case Button::First:
        ds->First();
        break;
    case Button::Prior:
        ds->Prior();
        break;
    case Button::Next:
        ds->Next();
        break;
    case Button::Last:
        ds->Last();
        break;
    }
}

} // namespace plat
