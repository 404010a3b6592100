#pragma once
#include "data/DataSource.h"
#include "ui/Control.h"

#include <string>
#include <vector>

namespace plat {

class TField;

enum class TColumnButtonStyle { Auto, Ellipsis, None };
enum class TAlignment { Left, Right, Center };

/// A grid column bound to a field by name. Read through TDBGrid::Column; changed through the
/// grid's setters, which announce the change.
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
/// When a key handler wrote the field of the current cell, the cell shows the field's new
/// text and the character is taken as handled by that write.
/// The editor's text is written to the field through its Text before the column is left,
/// before the grid's OnExit, before the row is left and before anyone posts the dataset; if
/// writing raises, the move or post does not happen and the text stays for the user to
/// correct. The text is taken from the editor before it is written, so whatever the field's
/// handlers do never writes it twice. A field assigned from code (even with the value it
/// holds, even while controls are disabled) drops text typed into it: the assignment stands.
/// Leaving a column by a user action (Tab, Shift+Tab, Left, Right, a click on another cell)
/// writes the text, runs OnColExit for the column being left (an abort keeps the column),
/// then moves; a column that code selects meanwhile (SetSelectedIndex, a field's focus
/// request) is where the cursor goes instead, also when the write or OnColExit then aborts.
/// A column selected from code at any other time runs no OnColExit. Moving to another row
/// posts as the dataset does; Down on the last row and Tab on the last cell append a row (not
/// from a new row that holds nothing, typed text counting), Tab landing on the first column
/// of the new row unless the new row's hooks asked for a column; Tab past the row's end with
/// no row to go to leaves the cell alone; Insert inserts one; Escape drops the typed text and
/// cancels the edit; Ctrl+Delete deletes the current row after a confirmation question;
/// Enter writes the typed text; F2 opens the editor on the cell's text without selecting it.
///
/// Notices (TObservable): Data, Current, State and Field notices of the dataset shown are
/// passed on as they come (see TClientDataSet); Column when the selected column changes;
/// Editor when the editor's text or its selected state changes; Columns when a column is
/// added or a column's property changes (with the column and the property; the grid's own
/// ReadOnly with column -1), and with Title when a field's display label changes the title.
class TDBGrid : public TWinControl, public TDataLink {
public:
    using NotifyEvent = std::function<void(TControl& sender)>;

    TDBGrid(TComponent* owner, std::string name);

    /// Adds a column showing the named field; returns its index.
    int AddColumn(const std::string& fieldName);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    /// The properties of a column; throws std::out_of_range for a column that is not there.
    const TColumn& Column(int index) const { return columns_.at(index); }
    /// The field of a column, or null when the dataset has none of that name.
    TField* ColumnField(int index) const;
    /// The title shown: the column's, else the field's display label, else the field name.
    std::string ColumnTitle(int index) const;
    void SetColumnReadOnly(int index, bool readOnly);
    void SetColumnButtonStyle(int index, TColumnButtonStyle style);
    void SetColumnPickList(int index, std::vector<std::string> pickList);
    void SetColumnTitle(int index, std::string title);
    void SetColumnWidth(int index, int width);
    void SetColumnAlignment(int index, TAlignment alignment);
    /// The column's drop-down button is shown (a pick list and the standard button style).
    bool DropDownShown(int index) const;

    /// No cell of the grid takes typed text, and rows are neither added nor deleted from it.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    int SelectedIndex() const { return selected_; }
    /// Selects a column from code: no OnColExit; pending text is written first.
    void SetSelectedIndex(int index);
    TField* SelectedField() const;
    void SetSelectedField(const TField& field);

    /// Number of rows shown and the current one (0-based; -1 when none).
    int RowCount() const;
    int CurrentRow() const;
    /// Text shown in a cell, the typed text included for the current cell; empty for a row
    /// or column that is not there (a front-end may ask with a count it has not updated yet).
    std::string CellText(int row, int column) const;
    /// Text of the named field's cell in the current row, typed text included.
    std::string CurrentText(const std::string& fieldName) const;
    /// The cell editor holds text typed but not yet written.
    bool EditorModified() const { return editorModified_; }
    /// The text of the cell editor: the typed text, else the current cell's text for editing.
    const std::string& EditorText() const { return editorText_; }
    /// The editor's text is selected, so that the next character replaces it (false after
    /// F2 or once typing began).
    bool EditorSelected() const { return selectAll_; }

    /// The user clicks a cell: the grid takes the focus if it has not got it (exit and enter
    /// events as for any focus move), then the row is made current as a move does (the typed
    /// text written, the row left posted), then the column is selected as a user's column
    /// move (OnColExit for the column left). Each step that raises ends the click there.
    /// Nothing happens on a grid that cannot take the focus or for a cell that is not there.
    void ClickCell(int row, int column);
    /// The column step of a click, in the current row, for hosts that move the focus apart.
    void ClickColumn(int index);
    /// The row step of a click, in the same column, for hosts that move the focus apart.
    void ClickRow(int row);
    /// The user picks an entry from the current cell's drop-down list.
    void Pick(const std::string& entry);
    /// The current cell can be typed into.
    bool CanEditCurrent() const;

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
    void StateChanged() override;
    void UpdateData() override;
    bool FocusField(TField& field, bool mayFocus) override;
    void DataSetNotice(const TNotice& notice) override;
    void FieldAssigned(TField& field) override;

private:
    void WriteEditor();
    void ResetEditor();
    void EditText(std::string text, bool selectAll);
    void SelectColumn(int index);
    int LeaveColumn(bool runColExit);
    void AnnounceColumn(int index, Property property);
    void UserMoveColumn(int index);
    void UserMoveRow(int distance);
    void MoveToRow(int row);
    void Tab(bool forward);
    void EnsureEditing();
    void TypeChar(const std::string& ch);
    void DeleteRow();

    std::vector<TColumn> columns_;
    bool readOnly_ = false;
    int selected_ = 0;
    std::string editorText_;
    bool editorModified_ = false;
    bool selectAll_ = true;
    bool fieldWrittenByKey_ = false;
    // The field whose typed text is being written and that text: the cell keeps showing it
    // to the field's handlers until the write is done.
    const TField* writingField_ = nullptr;
    std::string writingText_;
    // Bumped whenever the editor is reset, so that a failed write can tell whether the text
    // it took still belongs in the editor.
    unsigned editorGeneration_ = 0;
    // While a user leaves a column, selections from code are held here instead of applied.
    int holdSelections_ = 0;
    int heldSelection_ = -1;
    // Column selections made from code, so that a user's move can tell whether the hooks it
    // set off chose a column of their own.
    int codeSelections_ = 0;
};

} // namespace plat
