#include "Session.h"

#include "FormLookup.h"
#include "ScriptFault.h"
#include "ShellCommand.h"
#include "StateBlock.h"
#include "Transcript.h"
#include "app/Application.h"
#include "app/ModuleLoader.h"
#include "core/Value.h"
#include "net/NetConnection.h"
#include "shared/Consiste.h"
#include "shared/LocalCache.h"
#include "ui/Buttons.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"
#include "ui/Keys.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace gerscript {

namespace {

// A user can only click what is on show and enabled, its containers included.
bool Clickable(const plat::TControl& control) {
    if (!control.Showing()) return false;
    for (const plat::TControl* c = &control; c; c = c->Parent())
        if (!c->Enabled()) return false;
    return true;
}

} // namespace

Session::Session(std::string modulePath, Transcript& transcript)
    : modulePath_(std::move(modulePath)), transcript_(transcript) {
    plat::Application().Headless().OnRecord = [this](const plat::DialogRecord& record) {
        transcript_.Dialog(record);
    };
    plat::TNetConnection::SetCallObserver(
        [this](const std::string& method, const nlohmann::json& args) {
            transcript_.Call(method, args);
        });
    plat::LocalCache().OnNotice = [this](const std::string& table) {
        transcript_.CacheNotice(table);
    };
}

Session::~Session() {
    // The module goes first: its unload hook releases a screen still open, and that screen's
    // code must still be loaded when it is destroyed.
    try {
        if (module_) module_->Unload();
    } catch (...) {
        // Nothing is left to report to at the end of a session.
    }
    plat::Application().Headless().OnRecord = nullptr;
    plat::TNetConnection::SetCallObserver(nullptr);
    plat::LocalCache().OnNotice = nullptr;
}

void Session::Run(const ScriptCommand& command) {
    switch (command.verb) {
    case Verb::Open:
        Open();
        break;
    case Verb::Activate: {
        plat::TForm& form = Screen("activate");
        UserAction([&form] {
            // Another window takes the activation, then the user comes back to the screen.
            plat::Application().SetActiveForm(nullptr);
            plat::Application().SetActiveForm(&form);
            form.Activate();
        });
        break;
    }
    case Verb::Minimize:
    case Verb::Maximize: {
        plat::TForm& form = Screen(command.verb == Verb::Minimize ? "minimize" : "maximize");
        const auto state = command.verb == Verb::Minimize ? plat::TWindowState::Minimized
                                                          : plat::TWindowState::Maximized;
        UserAction([&form, state] { form.SetWindowState(state); });
        break;
    }
    case Verb::Close: {
        plat::TForm& form = Screen("close");
        UserAction([&form] { form.Close(); });
        break;
    }
    case Verb::Focus:
        Focus(command.text);
        break;
    case Verb::Col:
        Column(command.text);
        break;
    case Verb::Row:
        Row(command.row);
        break;
    case Verb::Type:
        Type(command.text);
        break;
    case Verb::Key: {
        plat::TForm& form = Screen("key");
        UserAction([&form, key = command.key] { form.PressKey(key.key, key.shift); });
        break;
    }
    case Verb::Pick:
        Pick(command.text);
        break;
    case Verb::Click:
        Click(command.text);
        break;
    case Verb::Answer:
        plat::Application().Headless().QueueAnswer(command.yes ? plat::TModalResult::Yes
                                                               : plat::TModalResult::No);
        break;
    case Verb::Show:
        StateBlock::PrintParts(transcript_.Out(), FormLookup::OpenForm(), command.text);
        break;
    case Verb::Grid:
        Grid(command.text);
        break;
    case Verb::Sh:
        Shell(command.text);
        break;
    }
    UnloadIfClosed();
    transcript_.Flush();
}

void Session::Open() {
    if (!module_) {
        try {
            module_ = plat::TModule::Load(modulePath_);
        } catch (const std::exception& error) {
            throw ScriptFault(std::string("cannot load the screen module: ") + error.what());
        }
    }
    plat::TModule::Proc entry = nullptr;
    try {
        entry = module_->Entry("IniProc");
    } catch (const std::exception& error) {
        throw ScriptFault(error.what());
    }
    UserAction(entry);
}

void Session::Focus(const std::string& name) {
    plat::TForm& form = Screen("focus");
    auto* control = form.Find<plat::TControl>(name);
    if (!control) throw ScriptFault("the screen has no control '" + name + "'");
    auto* target = dynamic_cast<plat::TWinControl*>(control);
    if (!target) throw ScriptFault(control->Name() + " never takes the focus");
    if (!target->CanFocus())
        throw ScriptFault(control->Name() + " cannot take the focus (hidden or disabled)");
    UserAction([&form, target] { form.MoveFocus(*target); });
}

void Session::Column(const std::string& field) {
    plat::TDBGrid& grid = FocusedGrid("col");
    const int index = plat::IndiceCol(grid, field);
    if (index < 0) throw ScriptFault(grid.Name() + " has no column '" + field + "'");
    UserAction([&grid, index] { grid.ClickColumn(index); });
}

void Session::Row(int row) {
    plat::TDBGrid& grid = FocusedGrid("row");
    if (row > grid.RowCount())
        throw ScriptFault(grid.Name() + " shows " + std::to_string(grid.RowCount()) +
                          " rows, not " + std::to_string(row));
    UserAction([&grid, row] { grid.ClickRow(row - 1); });
}

void Session::Type(const std::string& text) {
    plat::TForm& form = Screen("type");
    FocusedGrid("type");
    // Every character is a key stroke of its own: one the screen refuses does not stop the
    // user from typing the next one.
    for (const std::string& character : plat::Utf8Characters(text)) {
        UserAction([&form, &character] { form.TypeText(character); });
        if (FormLookup::OpenForm() != &form) break;
    }
}

void Session::Pick(const std::string& entry) {
    plat::TDBGrid& grid = FocusedGrid("pick");
    const int index = grid.SelectedIndex();
    if (index < 0 || index >= grid.ColumnCount() || !grid.DropDownShown(index))
        throw ScriptFault("the current cell of " + grid.Name() + " has no drop-down list");
    const auto& list = grid.Column(index).PickList;
    if (std::find(list.begin(), list.end(), entry) == list.end())
        throw ScriptFault("'" + entry + "' is not in the list of " + grid.Name() + "." +
                          grid.Column(index).FieldName);
    UserAction([&grid, &entry] { grid.Pick(entry); });
}

void Session::Click(const std::string& name) {
    plat::TForm& form = Screen("click");
    auto* control = form.Find<plat::TControl>(name);
    auto* button = dynamic_cast<plat::TSpeedButton*>(control);
    auto* item = dynamic_cast<plat::TMenuItem*>(control);
    if (!button && !item)
        throw ScriptFault("the screen has no button or menu entry '" + name + "'");
    if (!Clickable(*control)) throw ScriptFault(control->Name() + " is disabled");
    UserAction([button, item] { button ? button->Click() : item->Click(); });
}

void Session::Grid(const std::string& part) {
    plat::TForm& form = Screen("grid");
    const StateBlock::Part named = StateBlock::ParsePart(part);
    auto* grid = form.Find<plat::TDBGrid>(named.name);
    if (!grid) throw ScriptFault("the screen has no grid '" + named.name + "'");
    StateBlock::PrintGrid(transcript_.Out(), *grid, named.currentOnly);
}

void Session::Shell(const std::string& command) {
    // What the script printed so far must come before what the command prints.
    transcript_.Flush();
    std::fflush(stdout);
    transcript_.ShellExit(ShellCommand::Run(command));
}

plat::TForm& Session::Screen(const char* command) const {
    plat::TForm* form = FormLookup::OpenForm();
    if (!form) throw ScriptFault(std::string("'") + command + "' needs an open screen");
    return *form;
}

plat::TDBGrid& Session::FocusedGrid(const char* command) const {
    plat::TDBGrid* grid = FormLookup::FocusedGrid(Screen(command));
    if (!grid) throw ScriptFault(std::string("'") + command + "' needs the focus in a grid");
    return *grid;
}

void Session::UserAction(const std::function<void()>& action) {
    plat::Application().Dispatch(action);
}

void Session::UnloadIfClosed() {
    if (module_ && plat::Application().Forms().empty()) {
        module_->Unload();
        module_.reset();
    }
}

} // namespace gerscript
