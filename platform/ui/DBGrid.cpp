#include "ui/DBGrid.h"

#include "app/Application.h"
#include "core/Abort.h"
#include "data/ClientDataSet.h"
#include "data/EditMask.h"
#include "ui/Form.h"

#include <algorithm>

namespace plat {

TDBGrid::TDBGrid(TComponent* owner, std::string name) : TWinControl(owner, std::move(name)) {}

TColumn& TDBGrid::AddColumn(const std::string& fieldName) {
    columns_.push_back(TColumn{});
    columns_.back().FieldName = fieldName;
    Notify(Change::Columns);
    return columns_.back();
}

TField* TDBGrid::ColumnField(int index) const {
    TClientDataSet* ds = DataSet();
    if (!ds || index < 0 || index >= ColumnCount()) return nullptr;
    return ds->FindField(columns_[index].FieldName);
}

std::string TDBGrid::ColumnTitle(int index) const {
    const TColumn& column = columns_.at(index);
    if (!column.Title.empty()) return column.Title;
    if (TField* f = ColumnField(index)) return f->DisplayLabel();
    return column.FieldName;
}

void TDBGrid::SetColumnReadOnly(int index, bool readOnly) {
    TColumn& column = columns_.at(index);
    if (column.ReadOnly == readOnly) return;
    column.ReadOnly = readOnly;
    Notify(Change::Columns);
}

void TDBGrid::SetColumnButtonStyle(int index, TColumnButtonStyle style) {
    TColumn& column = columns_.at(index);
    if (column.ButtonStyle == style) return;
    column.ButtonStyle = style;
    Notify(Change::Columns);
}

void TDBGrid::SetColumnPickList(int index, std::vector<std::string> pickList) {
    TColumn& column = columns_.at(index);
    if (column.PickList == pickList) return;
    column.PickList = std::move(pickList);
    Notify(Change::Columns);
}

void TDBGrid::SetColumnTitle(int index, std::string title) {
    TColumn& column = columns_.at(index);
    if (column.Title == title) return;
    column.Title = std::move(title);
    Notify(Change::Columns);
}

bool TDBGrid::DropDownShown(int index) const {
    const TColumn& column = columns_.at(index);
    return column.ButtonStyle == TColumnButtonStyle::Auto && !column.PickList.empty();
}

// ---- selection ----

TField* TDBGrid::SelectedField() const {
    return ColumnField(selected_);
}

void TDBGrid::SetSelectedIndex(int index) {
    if (index < 0 || index >= ColumnCount()) return;
    ++codeSelections_;
    if (index == selected_) return;
    WriteEditor();
    selected_ = index;
    ResetEditor();
    Notify(Change::Column);
}

void TDBGrid::SetSelectedField(const TField& field) {
    for (int i = 0; i < ColumnCount(); ++i)
        if (ColumnField(i) == &field) {
            SetSelectedIndex(i);
            return;
        }
}

// ---- rows and cells ----

int TDBGrid::RowCount() const {
    TClientDataSet* ds = DataSet();
    return ds && ds->Active() ? ds->DisplayRowCount() : 0;
}

int TDBGrid::CurrentRow() const {
    TClientDataSet* ds = DataSet();
    return ds && ds->Active() ? ds->DisplayCurrent() : -1;
}

std::string TDBGrid::CellText(int row, int column) const {
    if (row == CurrentRow() && column == selected_ && editorModified_) return editorText_;
    TField* field = ColumnField(column);
    if (!field) return {};
    TClientDataSet::DisplayScope scope(*DataSet(), row);
    return field->DisplayText();
}

std::string TDBGrid::CurrentText(const std::string& fieldName) const {
    TField* selected = SelectedField();
    if (editorModified_ && selected && SameText(selected->FieldName(), fieldName))
        return editorText_;
    TClientDataSet* ds = DataSet();
    if (!ds) return {};
    TField* field = ds->FindField(fieldName);
    return field ? field->Text() : std::string{};
}

bool TDBGrid::CanEditCurrent() const {
    TClientDataSet* ds = DataSet();
    return ds && ds->Active() && !ReadOnly && selected_ < ColumnCount() &&
           !columns_[selected_].ReadOnly && SelectedField();
}

// ---- editor ----

void TDBGrid::ResetEditor() {
    const bool had = editorModified_;
    editorModified_ = false;
    selectAll_ = true;
    editorText_.clear();
    if (TField* f = SelectedField(); f && DataSet() && DataSet()->Active()) editorText_ = f->Text();
    if (had) Notify(Change::Editor);
}

void TDBGrid::WriteEditor() {
    if (!editorModified_) return;
    TClientDataSet* ds = DataSet();
    TField* field = SelectedField();
    if (!ds || !field || !IsEditing(ds->State())) {
        ResetEditor();
        return;
    }
    // On failure the typed text stays in the editor for the user to correct.
    field->SetText(editorText_);
    ResetEditor();
    Notify(Change::Data);
}

void TDBGrid::EnsureEditing() {
    TClientDataSet* ds = DataSet();
    if (!IsEditing(ds->State())) ds->Edit();
}

void TDBGrid::TypeChar(const std::string& ch) {
    if (!CanEditCurrent() || fieldWrittenByKey_) return;
    EnsureEditing();
    // Starting the edit may have moved the selection (a new row's hooks focus a field).
    if (!CanEditCurrent()) return;
    TField* field = SelectedField();
    const std::string base = selectAll_ ? std::string{} : editorText_;
    std::string typed = ch;
    if (!field->EditMask.empty()) {
        TEditMask mask(field->EditMask);
        auto accepted = mask.Accept(Utf8Length(base), ch);
        if (!accepted) return;
        typed = *accepted;
    }
    if (field->DataType() == TFieldType::String &&
        Utf8Length(base) + 1 > static_cast<std::size_t>(field->Size()))
        return;
    editorText_ = base + typed;
    editorModified_ = true;
    selectAll_ = false;
    Notify(Change::Editor);
}

void TDBGrid::BeginKey() {
    fieldWrittenByKey_ = false;
}

void TDBGrid::KeyPress(std::string& key) {
    if (key.empty()) return;
    const unsigned char c = static_cast<unsigned char>(key[0]);
    if (key == "\r") {
        WriteEditor();
        return;
    }
    if (key == "\b") {
        if (!CanEditCurrent() || fieldWrittenByKey_) return;
        EnsureEditing();
        if (!CanEditCurrent()) return;
        editorText_ = selectAll_ ? std::string{} : Utf8DropLast(editorText_);
        selectAll_ = false;
        editorModified_ = true;
        Notify(Change::Editor);
        return;
    }
    if (c < 32 || c == 127) return;
    TypeChar(key);
}

// ---- moves ----

void TDBGrid::UserMoveColumn(int index) {
    if (index < 0 || index >= ColumnCount() || index == selected_) return;
    WriteEditor();
    if (NotifyEvent handler = OnColExit) handler(*this); // a copy: it may detach itself
    selected_ = index;
    ResetEditor();
    Notify(Change::Column);
}

void TDBGrid::UserMoveRow(int distance) {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || distance == 0) return;
    WriteEditor();
    ds->MoveBy(distance);
}

void TDBGrid::ClickColumn(int index) {
    UserMoveColumn(index);
}

void TDBGrid::ClickRow(int row) {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || row == CurrentRow()) return;
    if (row < 0 || row >= RowCount()) return;
    WriteEditor();
    const bool inserting = ds->State() == TDataSetState::Insert;
    const int insertRow = ds->DisplayCurrent();
    const int rowsBefore = ds->DisplayRowCount();
    ds->CheckBrowseMode();
    // An unmodified new row is dropped by the implicit cancel: the rows below it move up.
    if (inserting && ds->DisplayRowCount() < rowsBefore && row > insertRow) --row;
    ds->MoveBy(row - ds->DisplayCurrent());
}

void TDBGrid::Tab(bool forward) {
    TClientDataSet* ds = DataSet();
    if (ColumnCount() == 0) return;
    const int next = selected_ + (forward ? 1 : -1);
    if (next >= 0 && next < ColumnCount()) {
        UserMoveColumn(next);
        return;
    }
    if (!ds || !ds->Active()) return;
    // Past the row's last (first) cell the move goes on to the next (previous) row. Where there
    // is none to go to, the cell is not left: no column exit runs.
    WriteEditor();
    const bool lastRow = ds->DisplayCurrent() >= ds->DisplayRowCount() - 1;
    if (forward && lastRow &&
        (ReadOnly || (ds->State() == TDataSetState::Insert && !ds->Modified())))
        return;
    if (!forward && ds->DisplayCurrent() <= 0) return;
    if (NotifyEvent handler = OnColExit) handler(*this);
    int column = forward ? 0 : ColumnCount() - 1;
    if (forward && lastRow) {
        // The implicit post first: its checks may select columns to point at a fault, which
        // must not count as the new row's choice below.
        ds->CheckBrowseMode();
        const int selections = codeSelections_;
        ds->Append();
        // The new row's hooks may ask for a column of their own (a field's focus request).
        if (codeSelections_ != selections) column = selected_;
    } else {
        ds->MoveBy(forward ? 1 : -1);
    }
    selected_ = column;
    ResetEditor();
    Notify(Change::Column);
}

void TDBGrid::DeleteRow() {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || ReadOnly || ds->IsEmpty()) return;
    if (ConfirmDelete &&
        Application().Dialogs().Ask("Excluir registro?", TMsgDlgType::Confirmation,
                                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, 0) != TModalResult::Yes)
        return;
    ResetEditor();
    ds->Delete();
}

void TDBGrid::KeyDown(std::uint16_t& key, TShiftState shift) {
    TClientDataSet* ds = DataSet();
    switch (key) {
    case VK_TAB:
        Tab(!shift.shift);
        break;
    case VK_LEFT:
        UserMoveColumn(selected_ - 1);
        break;
    case VK_RIGHT:
        UserMoveColumn(selected_ + 1);
        break;
    case VK_HOME:
        UserMoveColumn(0);
        break;
    case VK_END:
        UserMoveColumn(ColumnCount() - 1);
        break;
    case VK_UP:
        UserMoveRow(-1);
        break;
    case VK_PRIOR:
        UserMoveRow(-VisibleRowCount);
        break;
    case VK_NEXT:
        UserMoveRow(VisibleRowCount);
        break;
    case VK_DOWN:
        if (!ds || !ds->Active()) break;
        if (ds->DisplayCurrent() >= ds->DisplayRowCount() - 1) {
            if (ReadOnly) break;
            // Text typed into a new row counts: it is written before the row is judged empty.
            WriteEditor();
            if (ds->State() == TDataSetState::Insert && !ds->Modified()) break;
            ds->Append();
        } else {
            UserMoveRow(1);
        }
        break;
    case VK_ESCAPE:
        ResetEditor();
        if (ds && IsEditing(ds->State())) ds->Cancel();
        break;
    case VK_INSERT:
        if (ds && ds->Active() && !ReadOnly && !shift.ctrl) {
            WriteEditor();
            ds->Insert();
        }
        break;
    case VK_DELETE:
        if (shift.ctrl) {
            DeleteRow();
        } else if (CanEditCurrent()) {
            EnsureEditing();
            if (!CanEditCurrent()) break;
            editorText_.clear();
            editorModified_ = true;
            selectAll_ = false;
            Notify(Change::Editor);
        }
        break;
    case VK_F2:
        if (CanEditCurrent()) {
            selectAll_ = false;
            Notify(Change::Editor);
        }
        break;
    default:
        break;
    }
}

void TDBGrid::Pick(const std::string& entry) {
    if (!DropDownShown(selected_) || !CanEditCurrent())
        throw EDatabaseError("A célula atual não oferece lista para escolha.");
    const auto& list = columns_[selected_].PickList;
    if (std::find(list.begin(), list.end(), entry) == list.end())
        throw EDatabaseError("'" + entry + "' não está na lista da célula.");
    EnsureEditing();
    if (!CanEditCurrent()) return;
    editorText_ = entry;
    editorModified_ = true;
    selectAll_ = true;
    Notify(Change::Editor);
}

void TDBGrid::BeforeExit() {
    WriteEditor();
}

// ---- data link ----

void TDBGrid::DataSetChanged() {
    ResetEditor();
    Notify(Change::Data);
}

void TDBGrid::RecordChanged(TField* field) {
    if (field && field == SelectedField()) {
        fieldWrittenByKey_ = true;
        ResetEditor();
        Notify(Change::Editor);
    }
    Notify(Change::Data);
}

void TDBGrid::StateChanged() {
    TClientDataSet* ds = DataSet();
    if (!ds || !IsEditing(ds->State())) ResetEditor();
    Notify(Change::State);
}

void TDBGrid::UpdateData() {
    WriteEditor();
}

bool TDBGrid::FocusField(TField& field, bool mayFocus) {
    int index = -1;
    for (int i = 0; i < ColumnCount(); ++i)
        if (ColumnField(i) == &field) index = i;
    if (index < 0) return false;
    SetSelectedIndex(index);
    if (!mayFocus || !CanFocus()) return false;
    if (TForm* form = Form()) form->RequestFocus(*this);
    return true;
}

} // namespace plat
