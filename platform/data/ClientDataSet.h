#pragma once
#include "core/Component.h"
#include "core/Observable.h"
#include "core/Value.h"
#include "data/DataSetState.h"
#include "data/Field.h"

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

class TDataSource;

/// In-memory dataset filled from data packets, with a change log sent back as delta packets.
///
/// Order of events, as every caller may rely on:
///  - Open:   BeforeOpen, (state Browse), AfterOpen, AfterScroll.
///  - Insert/Append: implicit post, BeforeInsert, BeforeScroll, (state Insert), OnNewRecord,
///            (record counts as unmodified), AfterInsert, AfterScroll.
///  - Edit:   BeforeEdit, (state Edit), AfterEdit. On an empty dataset Edit inserts instead.
///  - Post:   controls write their pending text, BeforePost, (row stored, change logged,
///            state Browse), AfterPost.
///  - Cancel: BeforeCancel, (state Browse), AfterCancel; cancelling a new row moves the
///            cursor back: BeforeCancel, BeforeScroll, (state Browse), AfterCancel, AfterScroll.
///  - Delete: BeforeDelete, BeforeScroll, (row removed, change logged, state Browse),
///            AfterDelete, AfterScroll. Deleting a row being inserted cancels it instead.
///  - First/Last/Next/Prior/Locate: implicit post, BeforeScroll, move, AfterScroll. First,
///            Last and a successful Locate always count as a move; Next and Prior only when
///            the current row changed. Next, Prior and MoveBy count from the row shown as
///            current, a row being inserted included: one row up from a new row is the row
///            shown above it, whether the implicit post stored the new row or the implicit
///            cancel dropped it.
/// The implicit post writes pending control text, then posts a modified record and cancels
/// an unmodified one. A handler that raises stops the operation; a Before handler raising
/// leaves the state unchanged. The data source's state-change event runs at the state change.
///
/// Notices to observers (TObservable) come after the change they announce, in the order of
/// the changes, so that a model keeping its own row count stays in step by applying them in
/// order: State at every state change; Current with the new row after every move; Data with
/// Inserted when a new row appears (before OnNewRecord runs), Removed when a row goes (a
/// deletion, a new row cancelled), Changed with the field for every value written and
/// without one for a row posted or cancelled, and All when the whole content was replaced
/// (open, close, load, cancelling the updates). While controls are disabled no notice goes
/// out; the outermost EnableControls then sends one Data notice with All, after which rows,
/// current row and state may all differ. An observer that raises does not stop an operation:
/// its failure is reported once the operation is over (see TObservable).
class TClientDataSet : public TComponent, public TObservable {
public:
    using Event = std::function<void(TClientDataSet& dataSet)>;

    TClientDataSet(TComponent* owner, std::string name);
    ~TClientDataSet() override;

    /// Defines a text field of size characters; component name e.g. "cdsXCODE".
    TField& AddStringField(std::string componentName, std::string fieldName, int size);
    /// Defines a floating-point field.
    TField& AddFloatField(std::string componentName, std::string fieldName);
    const std::vector<TField*>& Fields() const { return fields_; }
    TField* FindField(std::string_view fieldName) const;
    /// The field of that name; throws EDatabaseError when there is none.
    TField& FieldByName(std::string_view fieldName) const;

    TDataSetState State() const { return state_; }
    bool Active() const { return state_ != TDataSetState::Inactive; }
    void Open();
    void Close();

    void Insert();
    void Append();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    /// Posts a modified record, cancels an unmodified one; nothing in browse state.
    void CheckBrowseMode();
    /// Makes the controls write their pending text into the fields.
    void UpdateRecord();

    void First();
    void Last();
    void Next();
    void Prior();
    /// Moves by distance rows (negative: backwards); returns the rows actually moved.
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    /// Finds the first row whose field text equals value and makes it current.
    bool Locate(std::string_view fieldName, const std::string& value, bool caseInsensitive);

    /// Stored rows; a row being inserted is not counted.
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    /// True when there is no row at all (false while a first row is being inserted).
    bool IsEmpty() const { return rows_.empty() && state_ != TDataSetState::Insert; }
    /// 1-based position of the current row among the rows shown; 0 when there is none.
    int RecNo() const;
    /// A field was written since the edit or insert began.
    bool Modified() const { return modified_; }

    /// Holds back repaints of the bound controls and every notice to observers; nestable.
    /// Controls still drop text typed into a field that code assigns.
    void DisableControls();
    /// Resumes repaints; the last call repaints once and sends one Data notice with All.
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    /// Number of pending changes (posted rows and deletions) since the last load or merge.
    int ChangeCount() const;
    /// The change log as a delta packet.
    nlohmann::json Delta() const;
    /// Accepts the pending changes as the dataset's data.
    void MergeChangeLog();
    /// Drops every pending change: back to the data as last loaded or merged. The current row
    /// stays current where it still exists; otherwise the cursor moves (AfterScroll runs).
    void CancelUpdates();

    /// Replaces the whole content with a data packet and opens; a malformed packet is refused
    /// with EDatabaseError and leaves the dataset as it was.
    void SetData(const nlohmann::json& packet);
    /// The rows shown as a data packet.
    nlohmann::json Data() const;

    // Rows as the bound controls show them: stored rows plus the row being inserted.
    /// Number of rows shown.
    int DisplayRowCount() const;
    /// Index of the current row among the rows shown; -1 when there is none.
    int DisplayCurrent() const;
    /// Makes row index the record that fields read, for drawing it; no events run.
    class DisplayScope {
    public:
        DisplayScope(const TClientDataSet& dataSet, int row);
        ~DisplayScope();
        DisplayScope(const DisplayScope&) = delete;
        DisplayScope& operator=(const DisplayScope&) = delete;

    private:
        const TClientDataSet& dataSet_;
        int previous_;
    };

    Event BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    Event BeforeInsert, OnNewRecord, AfterInsert;
    Event BeforeEdit, AfterEdit, BeforePost, AfterPost, BeforeCancel, AfterCancel;
    Event BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;

private:
    friend class TField;
    friend class TDataSource;

    enum class RowStatus { Unchanged, Inserted, Modified };
    struct Row {
        std::uint64_t id = 0;
        std::vector<Value> values;
        std::vector<Value> original; // as last loaded or merged; empty for an inserted row
        RowStatus status = RowStatus::Unchanged;
        std::uint64_t seq = 0; // order of the first change, for the delta
    };
    struct DeletedRow {
        std::vector<Value> original;
        std::uint64_t seq = 0;
    };

    const std::vector<Value>* ReadBuffer() const;
    Value ReadValue(int index) const;
    void WriteValue(TField& field, Value value);
    void FocusField(TField& field);

    void SetState(TDataSetState state);
    void CheckActive() const;
    void BeginInsert(bool append);
    /// Drops the record being edited and goes back to browsing, telling the controls; a
    /// removedRow of 0 or more is the row shown that went away.
    void LeaveEditing(int removedRow);
    void ScrollTo(int index, bool always, bool atStart = false, bool atEnd = false);
    void Run(Event event);
    void DataSetChanged();
    void RecordChanged(TField* field);
    /// Tells observers and the controls' links, unless controls are disabled.
    void Announce(TNotice notice);
    void AnnounceCurrent();
    void AnnounceRows(RowChange rows, int row, const TField* field = nullptr);
    void FieldAssigned(TField& field);
    void FieldPropertyChanged(const TField& field, Property property);
    void AddSource(TDataSource* source);
    void RemoveSource(TDataSource* source);
    void LoadRows(std::vector<std::vector<Value>> rows);

    std::vector<TField*> fields_;
    std::vector<Row> rows_;
    std::vector<Row> base_; // rows as last loaded or merged
    std::vector<DeletedRow> deleted_;
    std::vector<TDataSource*> sources_;
    TDataSetState state_ = TDataSetState::Inactive;
    int cur_ = -1;
    int insertPos_ = -1;
    int beforeInsertCur_ = -1;
    std::vector<Value> buffer_; // record being edited or inserted
    bool modified_ = false;
    bool eof_ = true;
    bool bof_ = true;
    int disableCount_ = 0;
    bool repaintPending_ = false;
    mutable int displayRow_ = -1;
    std::uint64_t nextId_ = 1;
    std::uint64_t nextSeq_ = 1;
};

} // namespace plat
