#pragma once
#include "core/Component.h"
#include "core/Value.h"

#include <functional>
#include <string>

namespace plat {

class TClientDataSet;

enum class TFieldType { String, Float };

/// One column of a client dataset, read and written on the dataset's current record.
class TField : public TComponent {
public:
    using GetTextEvent = std::function<void(TField& sender, std::string& text, bool displayText)>;
    using SetTextEvent = std::function<void(TField& sender, const std::string& text)>;
    using NotifyEvent = std::function<void(TField& sender)>;

    TField(TComponent* owner, std::string name, TClientDataSet& dataSet, std::string fieldName,
           TFieldType type, int size);

    const std::string& FieldName() const { return fieldName_; }
    TFieldType DataType() const { return type_; }
    /// Width of a text field in characters; longer values are cut to it.
    int Size() const { return size_; }
    /// Position in the dataset's field list.
    int Index() const;
    TClientDataSet& DataSet() const { return dataSet_; }

    /// Caption of the field; the field name when none was given.
    std::string DisplayLabel() const { return displayLabel_.empty() ? fieldName_ : displayLabel_; }
    /// Sets the caption; the dataset announces a Field notice (DisplayLabel).
    void SetDisplayLabel(std::string label);
    /// Edit mask applied to characters typed into a cell showing the field.
    const std::string& EditMask() const { return editMask_; }
    /// Sets the edit mask; the dataset announces a Field notice (EditMask).
    void SetEditMask(std::string mask);
    /// Significant digits of a number's text.
    int Precision = 15;

    Value GetValue() const;
    /// Writes the value; an empty text makes the field null, a longer text is cut to Size.
    void SetValue(const Value& value);
    /// The value as last loaded or merged; null for a row being inserted.
    Value OldValue() const;
    bool IsNull() const;
    void Clear() { SetValue(Value{}); }

    std::string AsString() const;
    void SetAsString(const std::string& text);
    double AsFloat() const;
    void SetAsFloat(double value);

    /// Text for editing, through OnGetText when set.
    std::string Text() const;
    /// Writes a text typed or picked by the user, through OnSetText when set.
    void SetText(const std::string& text);
    /// Text for display, through OnGetText when set.
    std::string DisplayText() const;

    /// Asks the grids showing the field to select its column, the visible one taking the focus.
    void FocusControl();

    GetTextEvent OnGetText;
    SetTextEvent OnSetText;
    /// Runs after the value actually changed.
    NotifyEvent OnChange;

private:
    std::string GetText(bool display) const;
    TClientDataSet& dataSet_;
    std::string fieldName_;
    TFieldType type_;
    int size_;
    std::string displayLabel_;
    std::string editMask_;
};

} // namespace plat
