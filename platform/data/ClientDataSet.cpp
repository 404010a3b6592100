#include "data/ClientDataSet.h"

#include "core/Abort.h"
#include "data/DataSource.h"
#include "data/Packet.h"

#include <algorithm>

namespace plat {

namespace {

bool SameValue(const Value& a, const Value& b) {
    return a == b;
}

} // namespace

TClientDataSet::TClientDataSet(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {}

TClientDataSet::~TClientDataSet() {
    for (TDataSource* source : sources_)
        source->DataSetGone();
}

TField& TClientDataSet::AddStringField(std::string componentName, std::string fieldName, int size) {
    if (Active()) throw EDatabaseError("Não é possível definir campos com o conjunto aberto.");
    TField& f = Create<TField>(std::move(componentName), *this, std::move(fieldName),
                               TFieldType::String, size);
    fields_.push_back(&f);
    return f;
}

TField& TClientDataSet::AddFloatField(std::string componentName, std::string fieldName) {
    if (Active()) throw EDatabaseError("Não é possível definir campos com o conjunto aberto.");
    TField& f =
        Create<TField>(std::move(componentName), *this, std::move(fieldName), TFieldType::Float, 0);
    fields_.push_back(&f);
    return f;
}

TField* TClientDataSet::FindField(std::string_view fieldName) const {
    for (TField* f : fields_)
        if (SameText(f->FieldName(), fieldName)) return f;
    return nullptr;
}

TField& TClientDataSet::FieldByName(std::string_view fieldName) const {
    if (TField* f = FindField(fieldName)) return *f;
    throw EDatabaseError(Name() + ": campo '" + std::string(fieldName) + "' não encontrado.");
}

// ---- reading and writing the current record ----

const std::vector<Value>* TClientDataSet::ReadBuffer() const {
    if (displayRow_ >= 0) {
        if (state_ == TDataSetState::Insert) {
            if (displayRow_ == insertPos_) return &buffer_;
            int stored = displayRow_ > insertPos_ ? displayRow_ - 1 : displayRow_;
            return &rows_[stored].values;
        }
        if (state_ == TDataSetState::Edit && displayRow_ == cur_) return &buffer_;
        return &rows_[displayRow_].values;
    }
    if (IsEditing(state_)) return &buffer_;
    if (cur_ >= 0 && cur_ < static_cast<int>(rows_.size())) return &rows_[cur_].values;
    return nullptr;
}

Value TClientDataSet::ReadValue(int index) const {
    const auto* buffer = ReadBuffer();
    if (!buffer || index < 0 || index >= static_cast<int>(buffer->size())) return Value{};
    return (*buffer)[index];
}

void TClientDataSet::WriteValue(TField& field, Value value) {
    if (displayRow_ >= 0) throw EDatabaseError("Campo alterado durante o desenho da grade.");
    if (!IsEditing(state_))
        throw EDatabaseError(Name() + ": o registro não está em edição; o campo " +
                             field.FieldName() + " não pode ser alterado.");
    TNoticeScope scope;
    const int index = field.Index();
    if (SameValue(buffer_[index], value)) {
        // Nothing changes, yet the assignment stands over text typed into the field.
        FieldAssigned(field);
        return;
    }
    buffer_[index] = std::move(value);
    modified_ = true;
    FieldAssigned(field);
    AnnounceRows(RowChange::Changed, DisplayCurrent(), &field);
    if (TField::NotifyEvent handler = field.OnChange) handler(field); // a copy, as in Run
    RecordChanged(&field);
}

// ---- notifications ----

void TClientDataSet::AddSource(TDataSource* source) {
    if (std::find(sources_.begin(), sources_.end(), source) == sources_.end())
        sources_.push_back(source);
}

void TClientDataSet::RemoveSource(TDataSource* source) {
    sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}

void TClientDataSet::Announce(TNotice notice) {
    if (disableCount_ > 0) {
        repaintPending_ = true;
        return;
    }
    notice.dataSet = this;
    Notify(notice);
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyNotice(notice);
}

void TClientDataSet::AnnounceCurrent() {
    TNotice notice{Change::Current};
    notice.row = DisplayCurrent();
    Announce(notice);
}

void TClientDataSet::AnnounceRows(RowChange rows, int row, const TField* field) {
    TNotice notice{Change::Data};
    notice.rows = rows;
    notice.row = row;
    notice.field = field;
    Announce(notice);
}

void TClientDataSet::FieldAssigned(TField& field) {
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyFieldAssigned(field);
}

void TClientDataSet::FieldPropertyChanged(const TField& field, Property property) {
    TNotice notice{Change::Field};
    notice.field = &field;
    notice.property = property;
    Announce(notice);
}

void TClientDataSet::SetState(TDataSetState state) {
    if (state_ == state) return;
    state_ = state;
    Announce(TNotice{Change::State});
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyStateChanged();
}

void TClientDataSet::DataSetChanged() {
    if (disableCount_ > 0) {
        repaintPending_ = true;
        return;
    }
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyDataSetChanged();
}

void TClientDataSet::RecordChanged(TField* field) {
    if (disableCount_ > 0) {
        repaintPending_ = true;
        return;
    }
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyRecordChanged(field);
}

void TClientDataSet::UpdateRecord() {
    if (!IsEditing(state_)) return;
    auto sources = sources_;
    for (TDataSource* s : sources)
        s->NotifyUpdateData();
}

void TClientDataSet::FocusField(TField& field) {
    bool focused = false;
    auto sources = sources_;
    for (TDataSource* s : sources)
        focused = s->NotifyFocusField(field, !focused) || focused;
}

void TClientDataSet::DisableControls() {
    ++disableCount_;
}

void TClientDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0 && repaintPending_) {
        TNoticeScope scope;
        repaintPending_ = false;
        Announce(TNotice{Change::Data});
        DataSetChanged();
    }
}

void TClientDataSet::Run(Event event) {
    // A copy runs: the handler may detach or replace itself while it runs.
    if (event) event(*this);
}

void TClientDataSet::CheckActive() const {
    if (!Active()) throw EDatabaseError(Name() + ": o conjunto de dados está fechado.");
}

// ---- open and close ----

void TClientDataSet::Open() {
    if (Active()) return;
    TNoticeScope scope;
    Run(BeforeOpen);
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    SetState(TDataSetState::Browse);
    Announce(TNotice{Change::Data});
    AnnounceCurrent();
    DataSetChanged();
    Run(AfterOpen);
    Run(AfterScroll);
}

void TClientDataSet::Close() {
    if (!Active()) return;
    TNoticeScope scope;
    Run(BeforeClose);
    buffer_.clear();
    modified_ = false;
    rows_.clear();
    base_.clear();
    deleted_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    SetState(TDataSetState::Inactive);
    Announce(TNotice{Change::Data});
    DataSetChanged();
    Run(AfterClose);
}

void TClientDataSet::LoadRows(std::vector<std::vector<Value>> rows) {
    rows_.clear();
    deleted_.clear();
    for (auto& values : rows) {
        Row row;
        row.id = nextId_++;
        row.original = values;
        row.values = std::move(values);
        rows_.push_back(std::move(row));
    }
    base_ = rows_;
}

void TClientDataSet::SetData(const nlohmann::json& packet) {
    TNoticeScope scope;
    DataPacket decoded = ParseDataPacket(packet);
    // Map the packet's columns onto the defined fields before anything changes.
    if (fields_.empty()) {
        for (const auto& pf : decoded.fields) {
            if (pf.type == TFieldType::String)
                AddStringField(Name() + pf.name, pf.name, pf.size);
            else
                AddFloatField(Name() + pf.name, pf.name);
        }
    }
    std::vector<int> column(fields_.size(), -1);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        for (std::size_t c = 0; c < decoded.fields.size(); ++c)
            if (SameText(decoded.fields[c].name, fields_[i]->FieldName()))
                column[i] = static_cast<int>(c);
        if (column[i] < 0)
            throw EDatabaseError("Pacote de dados inválido: falta o campo " +
                                 fields_[i]->FieldName() + ".");
        if (decoded.fields[column[i]].type != fields_[i]->DataType())
            throw EDatabaseError("Pacote de dados inválido: o campo " + fields_[i]->FieldName() +
                                 " tem outro tipo.");
    }
    std::vector<std::vector<Value>> rows;
    rows.reserve(decoded.rows.size());
    for (auto& packetRow : decoded.rows) {
        std::vector<Value> values(fields_.size());
        // Values are kept exactly as delivered, even a text longer than its field (data taken
        // over from older systems): cutting it would make the row's old values in a delta
        // differ from the stored ones.
        for (std::size_t i = 0; i < fields_.size(); ++i)
            values[i] = std::move(packetRow[column[i]]);
        rows.push_back(std::move(values));
    }
    if (Active()) {
        // The content is replaced: an edit in progress goes with it, without cancel events.
        buffer_.clear();
        modified_ = false;
        if (IsEditing(state_)) SetState(TDataSetState::Browse);
        Close();
    }
    LoadRows(std::move(rows));
    Open();
}

nlohmann::json TClientDataSet::Data() const {
    nlohmann::json fields = nlohmann::json::array();
    for (const TField* f : fields_)
        fields.push_back(FieldToJson(*f));
    nlohmann::json rows = nlohmann::json::array();
    for (const Row& row : rows_) {
        nlohmann::json values = nlohmann::json::array();
        for (const Value& v : row.values)
            values.push_back(ValueToJson(v));
        rows.push_back(std::move(values));
    }
    return {{"fields", std::move(fields)}, {"rows", std::move(rows)}};
}

// ---- editing ----

void TClientDataSet::CheckBrowseMode() {
    CheckActive();
    TNoticeScope scope;
    if (!IsEditing(state_)) return;
    UpdateRecord();
    if (!IsEditing(state_)) return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TClientDataSet::BeginInsert(bool append) {
    TNoticeScope scope;
    CheckBrowseMode();
    Run(BeforeInsert);
    Run(BeforeScroll);
    beforeInsertCur_ = cur_;
    insertPos_ = append || cur_ < 0 ? static_cast<int>(rows_.size()) : cur_;
    buffer_.assign(fields_.size(), Value{});
    modified_ = false;
    const bool eof = eof_, bof = bof_;
    eof_ = bof_ = false;
    SetState(TDataSetState::Insert);
    AnnounceRows(RowChange::Inserted, insertPos_);
    AnnounceCurrent();
    try {
        Run(OnNewRecord);
    } catch (...) {
        buffer_.clear();
        cur_ = beforeInsertCur_;
        eof_ = eof;
        bof_ = bof;
        SetState(TDataSetState::Browse);
        AnnounceRows(RowChange::Removed, insertPos_);
        AnnounceCurrent();
        DataSetChanged();
        throw;
    }
    modified_ = false;
    DataSetChanged();
    Run(AfterInsert);
    Run(AfterScroll);
}

void TClientDataSet::Insert() {
    BeginInsert(false);
}
void TClientDataSet::Append() {
    BeginInsert(true);
}

void TClientDataSet::Edit() {
    CheckActive();
    if (IsEditing(state_)) return;
    if (rows_.empty()) {
        Insert();
        return;
    }
    TNoticeScope scope;
    Run(BeforeEdit);
    buffer_ = rows_[cur_].values;
    modified_ = false;
    SetState(TDataSetState::Edit);
    RecordChanged(nullptr);
    Run(AfterEdit);
}

void TClientDataSet::Post() {
    CheckActive();
    if (!IsEditing(state_))
        throw EDatabaseError(Name() + ": não há registro em edição para gravar.");
    TNoticeScope scope;
    UpdateRecord();
    if (!IsEditing(state_)) return;
    Run(BeforePost);
    if (!IsEditing(state_)) return;
    if (state_ == TDataSetState::Insert) {
        Row row;
        row.id = nextId_++;
        row.values = buffer_;
        row.status = RowStatus::Inserted;
        row.seq = nextSeq_++;
        rows_.insert(rows_.begin() + insertPos_, std::move(row));
        cur_ = insertPos_;
    } else {
        Row& row = rows_[cur_];
        if (row.values != buffer_) {
            row.values = buffer_;
            if (row.status != RowStatus::Inserted) {
                const bool backToOriginal = row.values == row.original;
                if (backToOriginal)
                    row.status = RowStatus::Unchanged;
                else if (row.status == RowStatus::Unchanged) {
                    row.status = RowStatus::Modified;
                    row.seq = nextSeq_++;
                }
            }
        }
    }
    buffer_.clear();
    modified_ = false;
    eof_ = bof_ = false;
    SetState(TDataSetState::Browse);
    AnnounceRows(RowChange::Changed, cur_);
    DataSetChanged();
    Run(AfterPost);
}

void TClientDataSet::LeaveEditing(int removedRow) {
    buffer_.clear();
    modified_ = false;
    eof_ = rows_.empty();
    bof_ = rows_.empty();
    SetState(TDataSetState::Browse);
    if (removedRow >= 0)
        AnnounceRows(RowChange::Removed, removedRow);
    else
        AnnounceRows(RowChange::Changed, cur_);
    AnnounceCurrent();
    DataSetChanged();
}

void TClientDataSet::Cancel() {
    if (!IsEditing(state_)) return;
    TNoticeScope scope;
    Run(BeforeCancel);
    if (!IsEditing(state_)) return;
    // Dropping a new row takes the cursor back to the row it came from: a move.
    const bool dropsNewRow = state_ == TDataSetState::Insert;
    if (dropsNewRow) Run(BeforeScroll);
    if (dropsNewRow) cur_ = beforeInsertCur_;
    LeaveEditing(dropsNewRow ? insertPos_ : -1);
    Run(AfterCancel);
    if (dropsNewRow) Run(AfterScroll);
}

void TClientDataSet::Delete() {
    CheckActive();
    if (state_ == TDataSetState::Insert) {
        Cancel();
        return;
    }
    if (rows_.empty()) throw EDatabaseError(Name() + ": não há registro para excluir.");
    TNoticeScope scope;
    Run(BeforeDelete);
    Run(BeforeScroll);
    const int removed = cur_;
    Row& row = rows_[cur_];
    if (row.status != RowStatus::Inserted) {
        // A modified row goes to the log with the values it had when loaded or merged.
        deleted_.push_back(
            DeletedRow{row.original, row.status == RowStatus::Modified ? row.seq : nextSeq_++});
    }
    rows_.erase(rows_.begin() + cur_);
    if (cur_ >= static_cast<int>(rows_.size())) cur_ = static_cast<int>(rows_.size()) - 1;
    LeaveEditing(removed);
    Run(AfterDelete);
    Run(AfterScroll);
}

// ---- moving ----

void TClientDataSet::ScrollTo(int index, bool always, bool atStart, bool atEnd) {
    TNoticeScope scope;
    CheckBrowseMode();
    Run(BeforeScroll);
    const int count = static_cast<int>(rows_.size());
    const int target = count == 0 ? -1 : std::clamp(index, 0, count - 1);
    const bool moved = target != cur_;
    // Hitting an end sets Eof or Bof; a move inside the rows clears both.
    eof_ = count == 0 || index >= count || atEnd;
    bof_ = count == 0 || index < 0 || atStart;
    cur_ = target;
    if (moved || always) {
        AnnounceCurrent();
        DataSetChanged();
        Run(AfterScroll);
    }
}

void TClientDataSet::First() {
    CheckActive();
    ScrollTo(0, true, true, false);
}

void TClientDataSet::Last() {
    CheckActive();
    ScrollTo(static_cast<int>(rows_.size()) - 1, true, false, true);
}

int TClientDataSet::MoveBy(int distance) {
    CheckActive();
    if (distance == 0) return 0;
    TNoticeScope scope;
    // The move counts from the row shown as current once the implicit post is done (its
    // AfterPost may have moved the cursor). A new row is that row: the implicit post stores
    // it there, and when the implicit cancel drops it, the row shown below it takes its
    // place, which is one step of a move downwards already.
    const bool inserting = state_ == TDataSetState::Insert;
    int from = DisplayCurrent();
    const std::size_t storedBefore = rows_.size();
    CheckBrowseMode();
    const bool dropped = inserting && rows_.size() == storedBefore;
    if (!dropped) from = DisplayCurrent();
    const int target = dropped && distance > 0 ? from + distance - 1 : from + distance;
    ScrollTo(target, false);
    // Rows moved as they were shown: below a dropped row everything was one row lower.
    return (dropped && cur_ >= from ? cur_ + 1 : cur_) - from;
}

void TClientDataSet::Next() {
    MoveBy(1);
}
void TClientDataSet::Prior() {
    MoveBy(-1);
}

bool TClientDataSet::Locate(std::string_view fieldName, const std::string& value,
                            bool caseInsensitive) {
    CheckActive();
    TField& field = FieldByName(fieldName);
    TNoticeScope scope;
    CheckBrowseMode();
    const std::string wanted = caseInsensitive ? LowerCase(value) : value;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        const Value& v = rows_[i].values[field.Index()];
        std::string text;
        if (auto s = std::get_if<std::string>(&v))
            text = *s;
        else if (auto d = std::get_if<double>(&v))
            text = FloatToStr(*d, field.Precision);
        if ((caseInsensitive ? LowerCase(text) : text) == wanted) {
            ScrollTo(i, true);
            return true;
        }
    }
    return false;
}

int TClientDataSet::RecNo() const {
    if (state_ == TDataSetState::Insert) return insertPos_ + 1;
    return cur_ + 1;
}

// ---- change log ----

int TClientDataSet::ChangeCount() const {
    int count = static_cast<int>(deleted_.size());
    for (const Row& row : rows_)
        if (row.status != RowStatus::Unchanged) ++count;
    return count;
}

nlohmann::json TClientDataSet::Delta() const {
    auto toJson = [](const std::vector<Value>& values) {
        nlohmann::json out = nlohmann::json::array();
        for (const Value& v : values)
            out.push_back(ValueToJson(v));
        return out;
    };
    std::vector<std::pair<std::uint64_t, nlohmann::json>> changes;
    for (const Row& row : rows_) {
        if (row.status == RowStatus::Inserted)
            changes.emplace_back(row.seq,
                                 nlohmann::json{{"op", "insert"}, {"new", toJson(row.values)}});
        else if (row.status == RowStatus::Modified)
            changes.emplace_back(row.seq, nlohmann::json{{"op", "update"},
                                                         {"old", toJson(row.original)},
                                                         {"new", toJson(row.values)}});
    }
    for (const DeletedRow& row : deleted_)
        changes.emplace_back(row.seq,
                             nlohmann::json{{"op", "delete"}, {"old", toJson(row.original)}});
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    nlohmann::json fields = nlohmann::json::array();
    for (const TField* f : fields_)
        fields.push_back(FieldToJson(*f));
    nlohmann::json list = nlohmann::json::array();
    for (auto& change : changes)
        list.push_back(std::move(change.second));
    return {{"fields", std::move(fields)}, {"changes", std::move(list)}};
}

void TClientDataSet::MergeChangeLog() {
    for (Row& row : rows_) {
        row.original = row.values;
        row.status = RowStatus::Unchanged;
        row.seq = 0;
    }
    deleted_.clear();
    base_ = rows_;
}

void TClientDataSet::CancelUpdates() {
    CheckActive();
    TNoticeScope scope;
    if (IsEditing(state_)) {
        // Pending edits go too; the cancel events run as for any cancel.
        Cancel();
    }
    const std::uint64_t currentId =
        cur_ >= 0 && cur_ < static_cast<int>(rows_.size()) ? rows_[cur_].id : 0;
    const int oldIndex = cur_;
    rows_ = base_;
    deleted_.clear();
    cur_ = -1;
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i)
        if (rows_[i].id == currentId) cur_ = i;
    if (cur_ < 0 && !rows_.empty())
        cur_ = std::clamp(oldIndex, 0, static_cast<int>(rows_.size()) - 1);
    eof_ = rows_.empty();
    bof_ = rows_.empty();
    Announce(TNotice{Change::Data});
    AnnounceCurrent();
    DataSetChanged();
    // When the current row went away (a new row dropped), the cursor now stands on another
    // row: that is a move, and whoever follows the current row must hear of it.
    const bool sameRow = cur_ >= 0 && rows_[cur_].id == currentId;
    if (!sameRow && (currentId != 0 || cur_ >= 0)) Run(AfterScroll);
}

// ---- rows as shown ----

int TClientDataSet::DisplayRowCount() const {
    return static_cast<int>(rows_.size()) + (state_ == TDataSetState::Insert ? 1 : 0);
}

int TClientDataSet::DisplayCurrent() const {
    if (state_ == TDataSetState::Insert) return insertPos_;
    return cur_;
}

TClientDataSet::DisplayScope::DisplayScope(const TClientDataSet& dataSet, int row)
    : dataSet_(dataSet), previous_(dataSet.displayRow_) {
    dataSet_.displayRow_ = row;
}

TClientDataSet::DisplayScope::~DisplayScope() {
    dataSet_.displayRow_ = previous_;
}

} // namespace plat
