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
/// database with the demo terms. What a test leaves open is closed before the next one.
class ScreenTest : public ::testing::Test {
protected:
    static constexpr plat::TShiftState kAlt{false, false, true};
    static constexpr plat::TShiftState kShift{true, false, false};

    void SetUp() override;
    void TearDown() override;
    /// The host's entry call; this and Act run one user action, true when nothing was raised.
    bool IniProc() {
        return Act([this] { module_->Entry("IniProc")(); });
    }
    static bool Act(const std::function<void()>& action) {
        return plat::Application().Dispatch(action);
    }
    plat::TfrmPadraoGrid& Form() {
        const auto forms = plat::Application().Forms();
        if (forms.size() != 1)
            throw std::runtime_error(std::to_string(forms.size()) + " forms exist instead of one");
        return dynamic_cast<plat::TfrmPadraoGrid&>(*forms.front());
    }
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
    /// The screen's state as diagnostic tools see it, and a flag the module exports.
    std::string Inspect(const std::string& name) { return Form().InspectValue(name).value(); }
    bool Flag(const char* name) const {
        const auto* flag = static_cast<const bool*>(module_->Data(name));
        if (!flag) throw std::runtime_error(std::string("the module exports no ") + name);
        return *flag;
    }
    void Locate(const std::string& code) {
        ASSERT_TRUE(Act([&] { Terms().Locate("CDFORMPGTO", code, false); }));
    }
    /// The control focused, and the field of a grid's selected column; empty for none.
    std::string Active() {
        return Form().ActiveControl() ? Form().ActiveControl()->Name() : std::string();
    }
    static std::string Column(const plat::TDBGrid& grid) {
        return grid.SelectedField() ? grid.SelectedField()->FieldName() : std::string();
    }
    std::string Column(const std::string& grid) { return Column(Grid(grid)); }
    static void Select(plat::TDBGrid& grid, const std::string& field) {
        grid.SetSelectedIndex(plat::IndiceCol(grid, field));
    }
    void Select(const std::string& grid, const std::string& field) {
        ASSERT_TRUE(Act([&] { Select(Grid(grid), field); }));
    }
    bool Key(std::uint16_t key, plat::TShiftState shift = {}) {
        return Act([&] { Form().PressKey(key, shift); });
    }
    bool Type(const std::string& text) {
        return Act([&] { Form().TypeText(text); });
    }
    /// Types into the grid's current cell as its editor takes it, nothing written yet.
    static void Type(plat::TDBGrid& grid, const std::string& text) {
        for (std::string key : plat::Utf8Characters(text)) {
            grid.BeginKey();
            grid.KeyPress(key);
        }
    }

    /// Since ClearLog: the remote calls, as "GetDiaPgto(01)"; the error dialogs' texts, and the
    /// last one with " (+)" when there were several.
    const Texts& Calls() const { return calls_; }
    static Texts Errors();
    static std::string Shown() {
        const auto errors = Errors();
        return errors.empty() ? std::string() : errors.back() + (errors.size() > 1 ? " (+)" : "");
    }
    void ClearLog() {
        calls_.clear();
        plat::Application().Headless().ClearTranscript();
    }
    /// The catalogue's text for key; "KEY+WORD" fills its placeholder with the text of WORD.
    std::string Msg(const std::string& key);

    /// The server's database: rows of a query (texts, others null); a change another user
    /// makes; a term with day rows as {initial, final, payment} days; the stored days of a term.
    nlohmann::json Sql(const std::string& sql, const std::vector<ger::SqlValue>& params = {});
    void Write(const std::string& sql, const std::vector<ger::SqlValue>& params = {}) {
        server_.OpenStorage()->Execute(sql, params);
    }
    void WriteTerm(const std::string& code, const std::string& name, const std::string& periodType,
                   const std::vector<std::vector<std::string>>& days = {});
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
};
