#include "data/DataSource.h"

#include "data/ClientDataSet.h"

#include <algorithm>

namespace plat {

TDataLink::~TDataLink() {
    SetDataSource(nullptr);
}

void TDataLink::SetDataSource(TDataSource* source) {
    if (source_ == source) return;
    if (source_) source_->RemoveLink(this);
    source_ = source;
    if (source_) source_->AddLink(this);
    DataSetChanged();
    DataSetNotice(TNotice{Change::Data, DataSet()});
}

TClientDataSet* TDataLink::DataSet() const {
    return source_ ? source_->DataSet() : nullptr;
}

TDataSource::TDataSource(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {}

TDataSource::~TDataSource() {
    if (dataSet_) dataSet_->RemoveSource(this);
    for (TDataLink* link : links_)
        link->source_ = nullptr;
}

void TDataSource::SetDataSet(TClientDataSet* dataSet) {
    if (dataSet_ == dataSet) return;
    if (dataSet_) dataSet_->RemoveSource(this);
    dataSet_ = dataSet;
    if (dataSet_) dataSet_->AddSource(this);
    NotifyStateChanged();
    NotifyDataSetChanged();
    NotifyNotice(TNotice{Change::Data, dataSet_});
}

void TDataSource::AddLink(TDataLink* link) {
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TDataSource::RemoveLink(TDataLink* link) {
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
}

void TDataSource::NotifyStateChanged() {
    const TDataSetState state = dataSet_ ? dataSet_->State() : TDataSetState::Inactive;
    if (state == state_) return;
    state_ = state;
    auto links = links_;
    for (TDataLink* link : links)
        link->StateChanged();
    // Handlers run as copies: they may detach or replace themselves while they run.
    if (auto handler = OnStateChange) handler(*this);
}

void TDataSource::NotifyDataSetChanged() {
    auto links = links_;
    for (TDataLink* link : links)
        link->DataSetChanged();
    if (auto handler = OnDataChange) handler(*this, nullptr);
}

void TDataSource::NotifyRecordChanged(TField* field) {
    auto links = links_;
    for (TDataLink* link : links)
        link->RecordChanged(field);
    if (auto handler = OnDataChange) handler(*this, field);
}

void TDataSource::NotifyNotice(const TNotice& notice) {
    auto links = links_;
    for (TDataLink* link : links)
        link->DataSetNotice(notice);
}

void TDataSource::NotifyFieldAssigned(TField& field) {
    auto links = links_;
    for (TDataLink* link : links)
        link->FieldAssigned(field);
}

void TDataSource::NotifyUpdateData() {
    auto links = links_;
    for (TDataLink* link : links)
        link->UpdateData();
}

bool TDataSource::NotifyFocusField(TField& field, bool mayFocus) {
    bool focused = false;
    auto links = links_;
    for (TDataLink* link : links)
        focused = link->FocusField(field, mayFocus && !focused) || focused;
    return focused;
}

} // namespace plat
