#pragma once
#include "data/DataSource.h"
#include "ui/Control.h"

#include <string>

namespace plat {

/// A label showing one field of the current record.
class TDBText : public TControl, public TDataLink {
public:
    using TControl::TControl;
    std::string DataField;
    /// The text shown: the field's display text, empty without a record.
    std::string Text() const;
    void DataSetChanged() override { Notify(Change::Data); }
    void RecordChanged(TField*) override { Notify(Change::Data); }
};

/// Buttons that move through a dataset: first, prior, next, last.
class TDBNavigator : public TWinControl, public TDataLink {
public:
    enum class Button { First, Prior, Next, Last };
    using TWinControl::TWinControl;
    /// The user clicks one of the buttons.
    void Click(Button button);
    void DataSetChanged() override { Notify(Change::Data); }
};

} // namespace plat
