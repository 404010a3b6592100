#include "ui/DBGrid.h"

#include "app/Application.h"
#include "core/Abort.h"
#include "data/ClientDataSet.h"
#include "data/EditMask.h"
#include "ui/Form.h"

#include <algorithm>
#include <utility>

namespace plat {

TDBGrid::TDBGrid(TComponent* owner, std::string name) : TWinControl(owner, std::move(name)) {}

int TDBGrid::AddColumn(const std::string& fieldName) {
    columns_.push_back(TColumn{});
    columns_.back().FieldName = fieldName;
    const int index = ColumnCount() - 1;
    AnnounceColumn(index, Property::Added);
    return index;
}

void TDBGrid::AnnounceColumn(int index, Property property) {
    TNotice notice{Change::Columns};
    notice.column = index;
    notice.property = property;
    Notify(notice);
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

namespace {

// Sets one property of a column and reports whether it changed.
template <class T> bool Assign(T& property, T value) {
    if (property == value) return false;
    property = std::move(value);
    return true;
}

} // namespace

void TDBGrid::SetColumnReadOnly(int index, bool readOnly) {
    if (Assign(columns_.at(index).ReadOnly, readOnly)) AnnounceColumn(index, Property::ReadOnly);
}

void TDBGrid::SetColumnButtonStyle(int index, TColumnButtonStyle style) {
    if (Assign(columns_.at(index).ButtonStyle, style)) AnnounceColumn(index, Property::ButtonStyle);
}

void TDBGrid::SetColumnPickList(int index, std::vector<std::string> pickList) {
    if (Assign(columns_.at(index).PickList, std::move(pickList)))
        AnnounceColumn(index, Property::PickList);
}

void TDBGrid::SetColumnTitle(int index, std::string title) {
    if (Assign(columns_.at(index).Title, std::move(title))) AnnounceColumn(index, Property::Title);
}

void TDBGrid::SetColumnWidth(int index, int width) {
    if (Assign(columns_.at(index).Width, width)) AnnounceColumn(index, Property::Width);
}

void TDBGrid::SetColumnAlignment(int index, TAlignment alignment) {
    if (Assign(columns_.at(index).Alignment, alignment)) AnnounceColumn(index, Property::Alignment);
}

bool TDBGrid::DropDownShown(int index) const {
    const TColumn& column = columns_.at(index);
    return column.ButtonStyle == TColumnButtonStyle::Auto && !column.PickList.empty();
}

void TDBGrid::SetReadOnly(bool readOnly) {
    if (Assign(readOnly_, readOnly)) AnnounceColumn(-1, Property::ReadOnly);
}

// ---- selection ----

TField* TDBGrid::SelectedField() const {
    return ColumnField(selected_);
}

void TDBGrid::SetSelectedIndex(int index) {
    if (index < 0 || index >= ColumnCount()) return;
    ++codeSelections_;
    if (holdSelections_ > 0) {
        heldSelection_ = index;
        return;
    }
    if (index == selected_) return;
    WriteEditor();
    SelectColumn(index);
}

void TDBGrid::SetSelectedField(const TField& field) {
    for (int i = 0; i < ColumnCount(); ++i)
        if (ColumnField(i) == &field) {
            SetSelectedIndex(i);
            return;
        }
}

void TDBGrid::SelectColumn(int index) {
    const bool moved = index != selected_;
    selected_ = index;
    ResetEditor();
    if (!moved) return;
    TNotice notice{Change::Column};
    notice.column = index;
    Notify(notice);
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
    if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
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
    if (field && field == writingField_) return writingText_;
    return field ? field->Text() : std::string{};
}

bool TDBGrid::CanEditCurrent() const {
    TClientDataSet* ds = DataSet();
    return ds && ds->Active() && !readOnly_ && selected_ < ColumnCount() &&
           !columns_[selected_].ReadOnly && SelectedField();
}

// ---- editor ----

void TDBGrid::EditText(std::string text, bool selectAll) {
    const bool changed = text != editorText_ || selectAll != selectAll_ || !editorModified_;
    editorText_ = std::move(text);
    editorModified_ = true;
    selectAll_ = selectAll;
    if (changed) Notify(Change::Editor);
}

void TDBGrid::ResetEditor() {
    ++editorGeneration_;
    std::string text;
    if (TField* f = SelectedField(); f && DataSet()->Active()) text = f->Text();
    const bool changed = editorModified_ || !selectAll_ || text != editorText_;
    editorModified_ = false;
    selectAll_ = true;
    editorText_ = std::move(text);
    if (changed) Notify(Change::Editor);
}

void TDBGrid::WriteEditor() {
    if (!editorModified_) return;
    TClientDataSet* ds = DataSet();
    TField* field = SelectedField();
    if (!ds || !field || !IsEditing(ds->State())) {
        ResetEditor();
        return;
    }
    // The text is taken before it is written: a handler of the field that selects a column
    // or asks for the focus finds nothing pending, so the write never re-enters itself.
    const std::string text = editorText_;
    const bool selectAll = selectAll_;
    editorModified_ = false;
    const unsigned generation = editorGeneration_;
    const TField* outerField = writingField_;
    std::string outerText = std::exchange(writingText_, text);
    writingField_ = field;
    const auto endWrite = [&] {
        writingField_ = outerField;
        writingText_ = std::move(outerText);
    };
    try {
        field->SetText(text);
    } catch (...) {
        endWrite();
        // The text stays for the user to correct, unless the editor moved on meanwhile (a
        // handler selected another column or assigned the field).
        if (generation == editorGeneration_ && field == SelectedField()) {
            editorText_ = text;
            editorModified_ = true;
            selectAll_ = selectAll;
        }
        throw;
    }
    endWrite();
    ResetEditor();
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
    if (!field->EditMask().empty()) {
        TEditMask mask(field->EditMask());
        auto accepted = mask.Accept(Utf8Length(base), ch);
        if (!accepted) return;
        typed = *accepted;
    }
    if (field->DataType() == TFieldType::String &&
        Utf8Length(base) + 1 > static_cast<std::size_t>(field->Size()))
        return;
    EditText(base + typed, false);
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
        EditText(selectAll_ ? std::string{} : Utf8DropLast(editorText_), false);
        return;
    }
    if (c < 32 || c == 127) return;
    TypeChar(key);
}

// ---- moves ----

int TDBGrid::LeaveColumn(bool runColExit) {
    ++holdSelections_;
    const int outerHeld = heldSelection_;
    heldSelection_ = -1;
    auto release = [&] {
        --holdSelections_;
        const int held = heldSelection_;
        heldSelection_ = outerHeld;
        return held;
    };
    try {
        WriteEditor();
        if (NotifyEvent handler = OnColExit; runColExit && handler) handler(*this); // a copy
    } catch (...) {
        // The usual check points at the offending field and aborts: the cursor goes there.
        if (const int held = release(); held >= 0) SelectColumn(held);
        throw;
    }
    return release();
}

void TDBGrid::UserMoveColumn(int index) {
    if (index < 0 || index >= ColumnCount() || index == selected_) return;
    const int held = LeaveColumn(true);
    SelectColumn(held >= 0 ? held : index);
}

void TDBGrid::UserMoveRow(int distance) {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || distance == 0) return;
    WriteEditor();
    ds->MoveBy(distance);
}

void TDBGrid::MoveToRow(int row) {
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

void TDBGrid::ClickCell(int row, int column) {
    if (!CanFocus() || row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount())
        return;
    if (!Focused()) SetFocus();
    if (!Focused()) return; // the focus went elsewhere: the click is over
    MoveToRow(row);
    UserMoveColumn(column);
}

void TDBGrid::ClickColumn(int index) {
    UserMoveColumn(index);
}

void TDBGrid::ClickRow(int row) {
    MoveToRow(row);
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
    if (const int held = LeaveColumn(false); held >= 0) {
        SelectColumn(held);
        return;
    }
    const bool lastRow = ds->DisplayCurrent() >= ds->DisplayRowCount() - 1;
    if (forward && lastRow &&
        (readOnly_ || (ds->State() == TDataSetState::Insert && !ds->Modified())))
        return;
    if (!forward && ds->DisplayCurrent() <= 0) return;
    if (const int held = LeaveColumn(true); held >= 0) {
        SelectColumn(held);
        return;
    }
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
    SelectColumn(column);
}

void TDBGrid::DeleteRow() {
    TClientDataSet* ds = DataSet();
    if (!ds || !ds->Active() || readOnly_ || ds->IsEmpty()) return;
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
            if (readOnly_) break;
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
        if (ds && ds->Active() && !readOnly_ && !shift.ctrl) {
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
            EditText({}, false);
        }
        break;
    case VK_F2:
        if (CanEditCurrent() && selectAll_) {
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
    EditText(entry, true);
}

void TDBGrid::BeforeExit() {
    WriteEditor();
}

// ---- data link ----

void TDBGrid::DataSetChanged() {
    // Text typed into the row being edited stays pending until it is written or the edit
    // ends (a state change resets it): a repaint, such as the one EnableControls makes,
    // must not drop it.
    TClientDataSet* ds = DataSet();
    if (editorModified_ && ds && IsEditing(ds->State())) return;
    ResetEditor();
}

void TDBGrid::StateChanged() {
    TClientDataSet* ds = DataSet();
    if (!ds || !IsEditing(ds->State())) ResetEditor();
}

void TDBGrid::UpdateData() {
    WriteEditor();
}

void TDBGrid::FieldAssigned(TField& field) {
    if (&field != SelectedField()) return;
    // A key handler that writes the current cell's field has handled the key's character.
    if (!writingField_) fieldWrittenByKey_ = true;
    ResetEditor();
}

void TDBGrid::DataSetNotice(const TNotice& notice) {
    Notify(notice);
    if (notice.what != Change::Field || notice.property != Property::DisplayLabel) return;
    for (int i = 0; i < ColumnCount(); ++i)
        if (ColumnField(i) == notice.field && columns_[i].Title.empty())
            AnnounceColumn(i, Property::Title);
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
