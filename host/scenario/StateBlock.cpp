#include "StateBlock.h"

#include "FormLookup.h"
#include "ScriptFault.h"
#include "TextFormat.h"
#include "app/Application.h"
#include "base/PadraoGrid.h"
#include "data/ClientDataSet.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>

namespace gerscript {

namespace {

const char* WindowStateText(plat::TWindowState state) {
    switch (state) {
    case plat::TWindowState::Normal:
        return "normal";
    case plat::TWindowState::Minimized:
        return "minimized";
    case plat::TWindowState::Maximized:
        return "maximized";
    }
    return "-";
}

const char* DataSetStateText(plat::TDataSetState state) {
    switch (state) {
    case plat::TDataSetState::Inactive:
        return "inactive";
    case plat::TDataSetState::Browse:
        return "browse";
    case plat::TDataSetState::Edit:
        return "edit";
    case plat::TDataSetState::Insert:
        return "insert";
    }
    return "-";
}

std::string SelectedColumn(const plat::TDBGrid& grid) {
    const int index = grid.SelectedIndex();
    if (index < 0 || index >= grid.ColumnCount()) return "-";
    return grid.Column(index).FieldName;
}

std::string Inspected(const plat::TForm& form, const char* name, bool asJson) {
    const std::optional<std::string> value = form.InspectValue(name);
    if (!value) return "-";
    return asJson ? JsonText(*value) : *value;
}

void PrintFormLine(std::ostream& out, const plat::TForm* form) {
    out << "form: " << (form ? "open" : "closed")
        << " created=" << plat::Application().FormsCreated();
    if (!form) {
        out << " state=- active=- column=- page=- boTestaGrid=- stMaxDiaFin=-\n";
        return;
    }
    const plat::TWinControl* active = form->ActiveControl();
    const plat::TDBGrid* grid = FormLookup::FocusedGrid(*form);
    const plat::TNotebook* notebook = FormLookup::Notebook(*form);
    out << " state=" << WindowStateText(form->WindowState())
        << " active=" << (active ? active->Name() : "-")
        << " column=" << (grid ? SelectedColumn(*grid) : "-")
        << " page=" << (notebook ? std::to_string(notebook->PageIndex()) : "-")
        << " boTestaGrid=" << Inspected(*form, "boTestaGrid", false)
        << " stMaxDiaFin=" << Inspected(*form, "stMaxDiaFin", true) << '\n';
}

// The five record commands of the command bar in their order, then confirm and cancel.
void PrintCommands(std::ostream& out, const plat::TfrmPadraoGrid& form) {
    const plat::TSpeedButton* buttons[] = {
        &form.sbtIncluir,   &form.RecordCommand2(), &form.sbtExcluir,  &form.RecordCommand4(),
        &form.sbtVerificar, &form.sbtConfirmar,     &form.sbtCancelar,
    };
    out << "commands:";
    for (const plat::TSpeedButton* button : buttons)
        out << ' ' << button->Name() << '=' << (button->Enabled() ? "on" : "off");
    out << '\n';
}

// The menu entries that mirror those commands, in the same order.
void PrintMenu(std::ostream& out, const plat::TfrmPadraoGrid& form) {
    const plat::TMenuItem* entries[] = {
        &form.mnuIncluir,   &form.mnuAlterar,   &form.mnuExcluir,  &form.mnuCopiar,
        &form.mnuVerificar, &form.mnuConfirmar, &form.mnuCancelar,
    };
    out << "menu:";
    for (const plat::TMenuItem* entry : entries)
        out << ' ' << entry->Name() << '=' << (entry->Enabled() ? "on" : "off");
    out << '\n';
}

void PrintDataSet(std::ostream& out, const plat::TClientDataSet& dataSet, bool currentOnly) {
    out << dataSet.Name() << ": " << DataSetStateText(dataSet.State())
        << " rows=" << dataSet.RecordCount() << " current=" << dataSet.RecNo()
        << " changes=" << dataSet.ChangeCount() << '\n';
    if (!dataSet.Active()) return;
    const int current = dataSet.DisplayCurrent();
    for (int row = 0; row < dataSet.DisplayRowCount(); ++row) {
        if (currentOnly && row != current) continue;
        const plat::TClientDataSet::DisplayScope scope(dataSet, row);
        out << (row == current ? "*" : " ");
        for (const plat::TField* field : dataSet.Fields())
            out << ' ' << field->FieldName() << '=' << ValueText(field->GetValue());
        out << '\n';
    }
}

} // namespace

void StateBlock::PrintForm(std::ostream& out, const plat::TForm* form) {
    PrintFormLine(out, form);
    if (!form) return;
    if (const auto* standard = dynamic_cast<const plat::TfrmPadraoGrid*>(form)) {
        PrintCommands(out, *standard);
        PrintMenu(out, *standard);
    }
    for (const plat::TClientDataSet* dataSet : FormLookup::GridDataSets(*form))
        PrintDataSet(out, *dataSet, false);
}

StateBlock::Part StateBlock::ParsePart(std::string_view text) {
    constexpr std::string_view kCurrent = ".current";
    if (!text.ends_with(kCurrent)) return {std::string(text)};
    return {std::string(text.substr(0, text.size() - kCurrent.size())), true};
}

void StateBlock::PrintParts(std::ostream& out, const plat::TForm* form, std::string_view parts) {
    std::istringstream words{std::string(parts)};
    std::string part;
    if (!(words >> part)) return PrintForm(out, form);
    do {
        if (part == "form") {
            PrintFormLine(out, form);
            continue;
        }
        if (!form) throw ScriptFault("'show " + part + "' needs an open screen");
        if (part == "commands") {
            const auto* standard = dynamic_cast<const plat::TfrmPadraoGrid*>(form);
            if (!standard) throw ScriptFault("the screen has no command bar");
            PrintCommands(out, *standard);
            PrintMenu(out, *standard);
        } else {
            const Part named = ParsePart(part);
            const auto dataSets = FormLookup::GridDataSets(*form);
            const auto found =
                std::find_if(dataSets.begin(), dataSets.end(),
                             [&](const auto* dataSet) { return dataSet->Name() == named.name; });
            if (found == dataSets.end())
                throw ScriptFault("'show' has no part '" + part +
                                  "' (form, commands, a dataset's NAME or NAME.current)");
            PrintDataSet(out, **found, named.currentOnly);
        }
    } while (words >> part);
}

void StateBlock::PrintGrid(std::ostream& out, const plat::TDBGrid& grid, bool currentOnly) {
    out << "grid " << grid.Name() << ": column=" << SelectedColumn(grid);
    if (grid.EditorModified()) out << " editing=" << JsonText(grid.EditorText());
    out << '\n';
    for (int column = 0; column < grid.ColumnCount(); ++column) {
        out << (column ? " | " : "") << grid.Column(column).FieldName;
        if (grid.Column(column).ReadOnly) out << " [ro]";
        if (grid.DropDownShown(column)) out << " [list]";
    }
    out << '\n';
    const int current = grid.CurrentRow();
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (currentOnly && row != current) continue;
        out << (row == current ? "* " : "  ");
        for (int column = 0; column < grid.ColumnCount(); ++column)
            out << (column ? " | " : "") << JsonText(grid.CellText(row, column));
        out << '\n';
    }
}

} // namespace gerscript
