#pragma once
#include "data/DataSource.h"
#include "ui/Control.h"

#include <string>
#include <vector>

namespace plat {

class TField;

enum class TColumnButtonStyle { Auto, Ellipsis, None };
enum class TAlignment { Left, Right, Center };

/// A grid column bound to a field by name.
struct TColumn {
    std::string FieldName;
    int Width = 64;
    /// Title shown; the field's display label when empty.
    std::string Title;
    std::vector<std::string> PickList;
    TColumnButtonStyle ButtonStyle = TColumnButtonStyle::Auto;
    bool ReadOnly = false;
    TAlignment Alignment = TAlignment::Left;
};

/// A data grid: one row per record of its data source, one column per bound field, edited
/// in place through a cell editor.
///
/// Typing a character: the form's and the grid's OnKeyDown (key code; 0 discards), then their
/// OnKeyPress (may change or discard the character), then the character edits the cell text:
/// the grid puts the dataset into edit state, the first character replaces the cell's text
/// and later ones append, within the field's edit mask and size; read-only columns take none.
/// When a key-press handler wrote the field of the current cell, the cell shows the field's
/// new text and the character is taken as handled by that write.
/// The editor's text is written to the field through its Text before the column is left,
/// before the grid's OnExit, before the row is left and before anyone posts the dataset; if
/// writing raises, the move or post does not happen. A field written from code refreshes the
/// editor showing it. Leaving a column by a user action (Tab, Shift+Tab, Left, Right, a click
/// on another cell) writes the text, runs OnColExit (an abort keeps the column), then moves;
/// a column selected from code runs no OnColExit. Moving to another row posts as the dataset
/// does; Down on the last row and Tab on the last cell append a row (not from a new row that
/// holds nothing, typed text counting), Tab landing on the first column of the new row unless
/// the new row's hooks asked for a column; Tab past the row's end with no row to go to leaves
/// the cell alone; Insert inserts one; Escape drops the typed text and cancels the edit;
/// Ctrl+Delete deletes the current row after a confirmation question; Enter writes the typed text;
/// F2 opens the editor on the cell's text without selecting it.
class TDBGrid : public TWinControl, public TDataLink {
public:
    using NotifyEvent = std::function<void(TControl& sender)>;

    TDBGrid(TComponent* owner, std::string name);

    TColumn& AddColumn(const std::string& fieldName);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    const TColumn& Column(int index) const { return columns_.at(index); }
    /// The field of a column, or null when the dataset has none of that name.
    TField* ColumnField(int index) const;
    std::string ColumnTitle(int index) const;
    void SetColumnReadOnly(int index, bool readOnly);
    void SetColumnButtonStyle(int index, TColumnButtonStyle style);
    void SetColumnPickList(int index, std::vector<std::string> pickList);
    void SetColumnTitle(int index, std::string title);
    /// The column's drop-down button is shown (a pick list and the standard button style).
    bool DropDownShown(int index) const;

    int SelectedIndex() const { return selected_; }
    /// Selects a column from code: no OnColExit; pending text is written first.
    void SetSelectedIndex(int index);
    TField* SelectedField() const;
    void SetSelectedField(const TField& field);

    /// Number of rows shown and the current one (0-based; -1 when none).
    int RowCount() const;
    int CurrentRow() const;
    /// Text shown in a cell, the typed text included for the current cell.
    std::string CellText(int row, int column) const;
    /// Text of the named field's cell in the current row, typed text included.
    std::string CurrentText(const std::string& fieldName) const;
    /// The cell editor holds text typed but not yet written.
    bool EditorModified() const { return editorModified_; }
    const std::string& EditorText() const { return editorText_; }

    /// The user clicks the cell of column index in the current row.
    void ClickColumn(int index);
    /// The user clicks row (0-based) in the same column.
    void ClickRow(int row);
    /// The user picks an entry from the current cell's drop-down list.
    void Pick(const std::string& entry);
    /// The current cell can be typed into.
    bool CanEditCurrent() const;

    bool ReadOnly = false;
    bool ConfirmDelete = true;
    int VisibleRowCount = 10;
    NotifyEvent OnColExit;

    // Focus and keys.
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(std::string& key) override;
    void BeforeExit() override;
    void BeginKey() override;

    // Data link.
    void DataSetChanged() override;
    void RecordChanged(TField* field) override;
    void StateChanged() override;
    void UpdateData() override;
    bool FocusField(TField& field, bool mayFocus) override;

private:
    void WriteEditor();
    void ResetEditor();
    void UserMoveColumn(int index);
    void UserMoveRow(int distance);
    void Tab(bool forward);
    void EnsureEditing();
    void TypeChar(const std::string& ch);
    void DeleteRow();

    std::vector<TColumn> columns_;
    int selected_ = 0;
    std::string editorText_;
    bool editorModified_ = false;
    bool selectAll_ = true;
    bool fieldWrittenByKey_ = false;
    // Column selections made from code, so that a user's move can tell whether the hooks it
    // set off chose a column of their own.
    int codeSelections_ = 0;
};

} // namespace plat
