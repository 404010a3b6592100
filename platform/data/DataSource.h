#pragma once
#include "core/Component.h"
#include "core/Observable.h"
#include "data/DataSetState.h"

#include <functional>
#include <vector>

namespace plat {

class TClientDataSet;
class TDataSource;
class TField;

/// A control's link to a data source: the dataset tells its controls through it what happened.
class TDataLink {
public:
    TDataLink() = default;
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;
    virtual ~TDataLink();

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const { return source_; }
    /// The dataset behind the source, or null.
    TClientDataSet* DataSet() const;

    /// Rows, current row or content changed: repaint. Held back while controls are disabled.
    virtual void DataSetChanged() {}
    /// A field of the current record changed (null: the whole record). Held back likewise.
    virtual void RecordChanged(TField* /*field*/) {}
    /// The dataset's state changed.
    virtual void StateChanged() {}
    /// The dataset announced a notice to its observers (held back likewise); a control that
    /// is observed passes it on, so that its observers need not watch the dataset too.
    virtual void DataSetNotice(const TNotice& /*notice*/) {}
    /// Code or a control assigned field of the current record, even the value it held. Not
    /// held back: a control drops text typed into that field, so that the assignment stands.
    virtual void FieldAssigned(TField& /*field*/) {}
    /// Write text typed but not yet written into the fields; may raise to stop a post or move.
    virtual void UpdateData() {}
    /// A field asks for the focus: select its column; take the focus when mayFocus and able.
    /// Returns true when this control took the focus.
    virtual bool FocusField(TField& /*field*/, bool /*mayFocus*/) { return false; }

private:
    friend class TDataSource;
    TDataSource* source_ = nullptr;
};

/// Binds controls to a client dataset and reports its state changes.
class TDataSource : public TComponent {
public:
    TDataSource(TComponent* owner, std::string name);
    ~TDataSource() override;

    TClientDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TClientDataSet* dataSet);
    /// The dataset's state as last reported; inactive without a dataset.
    TDataSetState State() const { return state_; }

    /// Runs after the state of the dataset changed.
    std::function<void(TDataSource& sender)> OnStateChange;
    /// Runs after rows, the current row or a field (given, or null for all) changed.
    std::function<void(TDataSource& sender, TField* field)> OnDataChange;

    const std::vector<TDataLink*>& Links() const { return links_; }

private:
    friend class TDataLink;
    friend class TClientDataSet;
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    void DataSetGone() { dataSet_ = nullptr; }
    // Called by the dataset.
    void NotifyStateChanged();
    void NotifyDataSetChanged();
    void NotifyRecordChanged(TField* field);
    void NotifyNotice(const TNotice& notice);
    void NotifyFieldAssigned(TField& field);
    void NotifyUpdateData();
    bool NotifyFocusField(TField& field, bool mayFocus);

    TClientDataSet* dataSet_ = nullptr;
    TDataSetState state_ = TDataSetState::Inactive;
    std::vector<TDataLink*> links_;
};

} // namespace plat
