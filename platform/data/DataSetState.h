#pragma once

namespace plat {

/// States of a client dataset.
enum class TDataSetState { Inactive, Browse, Edit, Insert };

/// True while a record is being edited or inserted.
inline bool IsEditing(TDataSetState s) {
    return s == TDataSetState::Edit || s == TDataSetState::Insert;
}

} // namespace plat
