#include "core/Value.h"
#include "data/Field.h"
#include "shared/Consiste.h"
#include "ui/DBGrid.h"

namespace plat {

std::string GridText(TDBGrid& grid, const std::string& fieldName, bool) {
    return grid.CurrentText(fieldName);
}

int IndiceCol(TDBGrid& grid, const std::string& fieldName) {
    for (int i = 0; i < grid.ColumnCount(); ++i)
        if (SameText(grid.Column(i).FieldName, fieldName)) return i;
    return -1;
}

} // namespace plat
