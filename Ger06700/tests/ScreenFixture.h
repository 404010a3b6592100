#pragma once
#include "RunningServer.h"
#include "app/Application.h"
#include "app/ModuleLoader.h"
#include "base/PadraoGrid.h"
#include "data/ClientDataSet.h"
#include "shared/Consiste.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

/// The screen as the host runs it: the real module, the real server on loopback over a fresh
/// database with the demo terms. Tests open the screen (IniProc) after preparing their data;
/// what a test leaves open is closed and the module unloaded before the next one.
class ScreenTest : public ::testing::Test {
protected:
    static constexpr plat::TShiftState kAlt{false, false, true};
    static constexpr plat::TShiftState kShift{true, false, false};

    void SetUp() override;
    void TearDown() override;

    /// The host's entry call, as one user action; true when nothing was raised.
    bool IniProc() {
        return Act([this] { module_->Entry("IniProc")(); });
    }
    /// Runs action as one user action; true when nothing was raised.
    static bool Act(const std::function<void()>& action) {
        return plat::Application().Dispatch(action);
    }

    /// The one form that exists, and its component called name, of type T.
    plat::TfrmPadraoGrid& Form();
    template <class T> T& Part(const std::string& name) {
        T* part = Form().Find<T>(name);
        if (!part) throw std::runtime_error("the form has no " + name);
        return *part;
    }
    plat::TClientDataSet& Terms() { return Part<plat::TClientDataSet>("cdsFormPgto"); }
    plat::TClientDataSet& Days() { return Part<plat::TClientDataSet>("cdsDiaPgto"); }
    plat::TDBGrid& Grid(const std::string& name) { return Part<plat::TDBGrid>(name); }
    int Page() { return Part<plat::TNotebook>("nbkDiasPgto").PageIndex(); }
    /// The grid of the detail page on show.
    plat::TDBGrid& ViewGrid() {
        return Grid(Page() == 0 ? "dbgDiaPgto" : Page() == 1 ? "dbgDiaSemana" : "dbgSemanaMes");
    }
    /// A value of the screen's state as the form shows it to diagnostic tools.
    std::string Inspect(const std::string& name);
    /// A Boolean flag the module exports, read through the export.
    bool Flag(const char* name) const;
    /// Makes the term with code current, as one user action.
    void Locate(const std::string& code) {
        ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", code, false); }));
    }

    /// Name of the control holding the focus; empty for none.
    std::string Active() {
        return Form().ActiveControl() ? Form().ActiveControl()->Name() : std::string();
    }
    /// Field of the grid's selected column; empty for none.
    static std::string Column(const plat::TDBGrid& grid) {
        return grid.SelectedField() ? grid.SelectedField()->FieldName() : std::string();
    }
    std::string Column(const std::string& grid) { return Column(Grid(grid)); }
    static void Select(plat::TDBGrid& grid, const std::string& field) {
        grid.SetSelectedIndex(plat::IndiceCol(grid, field));
    }
    /// Selects the column of field as one user action.
    void Select(const std::string& grid, const std::string& field) {
        ASSERT_TRUE(Act([&] { Select(Grid(grid), field); }));
    }
    /// A key or text through the form's key entry; true when nothing was raised.
    bool Key(std::uint16_t key, plat::TShiftState shift = {}) {
        return Act([&] { Form().PressKey(key, shift); });
    }
    bool Type(const std::string& text) {
        return Act([&] { Form().TypeText(text); });
    }
    /// Types text into the grid's current cell as its editor takes it, nothing written yet.
    static void Type(plat::TDBGrid& grid, const std::string& text);

    /// Remote calls since the last ClearLog, as "GetFormPgto()" or "GetDiaPgto(01)".
    const Texts& Calls() const { return calls_; }
    /// Texts of the error dialogs shown since the last ClearLog.
    static Texts Errors();
    /// The last error shown since the last ClearLog, " (+)" added when there were several.
    static std::string Shown();
    /// The catalogue's text for key; "KEY+WORD" fills its placeholder with the text of WORD.
    std::string Msg(const std::string& key);
    /// Every change of the screen cursor, and every start (true) and stop (false) of the wait
    /// indicator, since the last ClearLog.
    const std::vector<plat::TCursor>& Cursors() const { return cursors_; }
    const std::vector<bool>& Waits() const { return waits_; }
    /// Forgets the calls, dialogs, cursor changes and waits seen so far.
    void ClearLog();

    /// Rows of a query run straight on the server's database, values as JSON.
    nlohmann::json Sql(const std::string& sql, const std::vector<ger::SqlValue>& params = {});
    /// A change another user makes straight in the server's database.
    void Write(const std::string& sql, const std::vector<ger::SqlValue>& params = {}) {
        server_.OpenStorage()->Execute(sql, params);
    }
    /// Stores a term straight in the database, day rows as {initial, final, payment} days.
    void WriteTerm(const std::string& code, const std::string& name, ger::SqlValue periodType,
                   const std::vector<std::vector<std::string>>& days = {});
    /// The stored day rows of a term as {initial, final, payment} days, by initial day.
    nlohmann::json StoredDays(const std::string& code) {
        return Sql("SELECT NRDIAINIPGTO, NRDIAFINPGTO, NRDIAPGTOVAR FROM DIAPGTO WHERE "
                   "CDFORMPGTO = ? ORDER BY NRDIAINIPGTO",
                   {code});
    }

    virtual void LoadModule() { module_ = plat::TModule::Load(GER06700_MODULE); }
    virtual void UnloadModule() {
        if (module_) module_->Unload();
        module_.reset();
    }

    RunningServer server_;
    std::unique_ptr<plat::TModule> module_;

private:
    Texts calls_;
    std::vector<plat::TCursor> cursors_;
    std::vector<bool> waits_;
    int cursorTicket_ = 0;
    int waitTicket_ = 0;
};
