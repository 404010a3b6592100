#include "data/Field.h"

#include "core/Abort.h"
#include "data/ClientDataSet.h"

namespace plat {

TField::TField(TComponent* owner, std::string name, TClientDataSet& dataSet, std::string fieldName,
               TFieldType type, int size)
    : TComponent(owner, std::move(name)), dataSet_(dataSet), fieldName_(std::move(fieldName)),
      type_(type), size_(size) {}

int TField::Index() const {
    const auto& fields = dataSet_.Fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i] == this) return static_cast<int>(i);
    return -1;
}

void TField::SetDisplayLabel(std::string label) {
    if (displayLabel_ == label) return;
    displayLabel_ = std::move(label);
    dataSet_.FieldPropertyChanged(*this, Property::DisplayLabel);
}

void TField::SetEditMask(std::string mask) {
    if (editMask_ == mask) return;
    editMask_ = std::move(mask);
    dataSet_.FieldPropertyChanged(*this, Property::EditMask);
}

Value TField::GetValue() const {
    return dataSet_.ReadValue(Index());
}

void TField::SetValue(const Value& value) {
    Value v = value;
    if (type_ == TFieldType::String) {
        if (auto d = std::get_if<double>(&v)) v = FloatToStr(*d);
        if (auto s = std::get_if<std::string>(&v)) {
            // An empty text is no value: the field is null, as the server stores it.
            if (s->empty())
                v = Value{};
            else if (Utf8Length(*s) > static_cast<std::size_t>(size_))
                *s = Utf8Left(*s, size_);
        }
    } else if (auto s = std::get_if<std::string>(&v)) {
        if (s->find_first_not_of(' ') == std::string::npos)
            v = Value{};
        else
            v = StrToFloat(*s);
    }
    dataSet_.WriteValue(*this, std::move(v));
}

Value TField::OldValue() const {
    const int row = dataSet_.cur_;
    if (dataSet_.state_ == TDataSetState::Insert || row < 0 ||
        row >= static_cast<int>(dataSet_.rows_.size()))
        return Value{};
    const auto& original = dataSet_.rows_[row].original;
    if (original.empty()) return Value{};
    return original[Index()];
}

bool TField::IsNull() const {
    return IsNullValue(GetValue());
}

std::string TField::AsString() const {
    Value v = GetValue();
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto d = std::get_if<double>(&v)) return FloatToStr(*d, Precision);
    return {};
}

void TField::SetAsString(const std::string& text) {
    if (type_ == TFieldType::Float && text.empty())
        SetValue(Value{});
    else
        SetValue(text);
}

double TField::AsFloat() const {
    Value v = GetValue();
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) return s->empty() ? 0.0 : StrToFloat(*s);
    return 0.0;
}

void TField::SetAsFloat(double value) {
    SetValue(value);
}

std::string TField::GetText(bool display) const {
    std::string text;
    // Handlers run as copies: they may detach or replace themselves while they run.
    if (GetTextEvent handler = OnGetText) {
        handler(const_cast<TField&>(*this), text, display);
        return text;
    }
    return AsString();
}

std::string TField::Text() const {
    return GetText(false);
}
std::string TField::DisplayText() const {
    return GetText(true);
}

void TField::SetText(const std::string& text) {
    if (SetTextEvent handler = OnSetText)
        handler(*this, text);
    else
        SetAsString(text);
}

void TField::FocusControl() {
    dataSet_.FocusField(*this);
}

} // namespace plat
