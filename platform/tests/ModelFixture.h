#pragma once
// The object-model tests' ground: a dataset of a text and a float field on a form whose grids
// show it, a log of handler runs, and dataset operations written as words.
#include "app/Application.h"
#include "core/Abort.h"
#include "data/ClientDataSet.h"
#include "data/DataSource.h"
#include "ui/DBGrid.h"
#include "ui/Form.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace plat::test {

using Texts = std::vector<std::string>;

class EventLog {
public:
    void Add(const std::string& entry) { entries_.push_back(entry); }
    int Count(const std::string& entry) const {
        return static_cast<int>(std::count(entries_.begin(), entries_.end(), entry));
    }
    std::string Joined() const {
        std::string joined;
        for (const std::string& entry : entries_)
            joined += (joined.empty() ? "" : " ") + entry;
        return joined;
    }
    void Clear() { entries_.clear(); }

    void Hook(TClientDataSet& ds) {
        const std::pair<TClientDataSet::Event*, const char*> events[] = {
            {&ds.BeforeOpen, "BeforeOpen"},     {&ds.AfterOpen, "AfterOpen"},
            {&ds.BeforeInsert, "BeforeInsert"}, {&ds.OnNewRecord, "OnNewRecord"},
            {&ds.AfterInsert, "AfterInsert"},   {&ds.BeforeEdit, "BeforeEdit"},
            {&ds.AfterEdit, "AfterEdit"},       {&ds.BeforePost, "BeforePost"},
            {&ds.AfterPost, "AfterPost"},       {&ds.BeforeCancel, "BeforeCancel"},
            {&ds.AfterCancel, "AfterCancel"},   {&ds.BeforeDelete, "BeforeDelete"},
            {&ds.AfterDelete, "AfterDelete"},   {&ds.BeforeScroll, "BeforeScroll"},
            {&ds.AfterScroll, "AfterScroll"}};
        for (auto [event, name] : events)
            *event = [this, entry = std::string(name)](TClientDataSet&) { Add(entry); };
    }
    void Hook(TWinControl& control, const std::string& prefix) {
        control.OnEnter = [this, prefix](TControl&) { Add(prefix + ".Enter"); };
        control.OnExit = [this, prefix](TControl&) { Add(prefix + ".Exit"); };
    }

private:
    Texts entries_;
};

/// A data packet with the fields CODE (text, 4) and QTY (float) and the given rows.
inline nlohmann::json ItemPacket(const std::vector<nlohmann::json>& rows) {
    return {{"fields",
             {{{"name", "CODE"}, {"type", "string"}, {"size", 4}},
              {{"name", "QTY"}, {"type", "float"}}}},
            {"rows", rows}};
}

/// CODE or QTY of every stored row as text ("null" for a null value).
inline Texts StoredValues(TClientDataSet& ds, const std::string& field) {
    Texts values;
    const nlohmann::json data = ds.Data();
    for (const auto& row : data["rows"]) {
        const nlohmann::json& value = row[field == "CODE" ? 0 : 1];
        values.push_back(value.is_null()     ? "null"
                         : value.is_string() ? value.get<std::string>()
                                             : FloatToStr(value.get<double>()));
    }
    return values;
}

/// Do() runs words: the dataset's operations by name, Disable and Enable (the controls), Load
/// (rows A, B, C), Locate=<CODE>, <FIELD>=<text> (through the field's Text), Forget (the log).
class DataSetFixture : public ::testing::Test {
public:
    TForm form{nullptr, "frmTeste"};
    TClientDataSet& cds = form.Create<TClientDataSet>("cdsItem");
    TField& code = cds.AddStringField("cdsItemCODE", "CODE", 4);
    TField& qty = cds.AddFloatField("cdsItemQTY", "QTY");
    EventLog log;

    /// Rows A, B, C with quantities 1, 2, 3; the load's events forgotten.
    void LoadAbc() { Do("Load Forget"); }
    void Do(const std::string& script) {
        using DS = TClientDataSet;
        using Operation = std::pair<std::string, void (DS::*)()>;
        // clang-format off
        const Operation operations[] = {
            {"Insert", &DS::Insert}, {"Append", &DS::Append}, {"Edit", &DS::Edit},
            {"Post", &DS::Post}, {"Cancel", &DS::Cancel}, {"Delete", &DS::Delete},
            {"First", &DS::First}, {"Last", &DS::Last}, {"Next", &DS::Next},
            {"Prior", &DS::Prior}, {"Disable", &DS::DisableControls},
            {"Enable", &DS::EnableControls}};
        // clang-format on
        std::istringstream words(script);
        for (std::string word; words >> word;) {
            const std::size_t equals = word.find('=');
            const auto* operation = std::ranges::find(operations, word, &Operation::first);
            if (operation != std::end(operations))
                (cds.*operation->second)();
            else if (word == "Forget")
                log.Clear();
            else if (word == "Load")
                cds.SetData(ItemPacket({{"A", 1.0}, {"B", 2.0}, {"C", 3.0}}));
            else if (word.starts_with("Locate="))
                cds.Locate("CODE", word.substr(equals + 1), false);
            else if (equals != std::string::npos)
                cds.FieldByName(word.substr(0, equals)).SetText(word.substr(equals + 1));
            else
                ADD_FAILURE() << "unknown step " << word;
        }
    }
    std::string Events() const { return log.Joined(); }
};

/// Three grids on the dataset: grid (CODE, QTY) on the form, pageGrid (QTY, CODE) on the first
/// page of a notebook, hiddenGrid (CODE) on its second page.
class GridFormFixture : public DataSetFixture {
public:
    TDataSource& dts = form.Create<TDataSource>("dtsItem");
    TDBGrid& grid = form.Create<TDBGrid>("dbgItem");
    TNotebook& book = form.Create<TNotebook>("nbkPaginas");
    TDBGrid& pageGrid = form.Create<TDBGrid>("dbgPagina");
    TDBGrid& hiddenGrid = form.Create<TDBGrid>("dbgOculta");

    void SetUp() override {
        for (TDBGrid* g : {&grid, &pageGrid, &hiddenGrid})
            g->SetDataSource(&dts);
        grid.SetParent(&form);
        book.SetParent(&form);
        pageGrid.SetParent(&book.AddPage("pagUm", "Um"));
        hiddenGrid.SetParent(&book.AddPage("pagDois", "Dois"));
        for (auto [g, field] : {std::pair{&grid, "CODE"},
                                {&grid, "QTY"},
                                {&pageGrid, "QTY"},
                                {&pageGrid, "CODE"},
                                {&hiddenGrid, "CODE"}})
            g->AddColumn(field);
        dts.SetDataSet(&cds);
        Restart();
    }
    /// Rows A, B, C on A, grid focused on CODE, no handlers, masks or dialogs, first page.
    void Restart() {
        ResetDialogs();
        book.SetPageIndex(0);
        grid.SetVisible(true);
        grid.SetEnabled(true);
        grid.SetReadOnly(false);
        grid.OnEnter = grid.OnExit = grid.OnColExit = nullptr;
        grid.OnKeyDown = nullptr;
        grid.OnKeyPress = nullptr;
        log.Hook(cds);
        for (TField* f : {&code, &qty}) {
            f->OnGetText = nullptr;
            f->OnSetText = nullptr;
            f->OnChange = nullptr;
            f->SetEditMask({});
        }
        LoadAbc();
        grid.SetSelectedIndex(0);
        form.SetActiveControl(&grid);
        log.Clear();
    }
    void TearDown() override {
        EXPECT_EQ(Dialogs().PendingAnswers(), 0u) << "a queued answer was never asked for";
        ResetDialogs();
    }

    /// The state, grid's column:record and unwritten typing with a "*", as in "Edit 0:1 XX*".
    std::string Cell() {
        static const char* const states[] = {"Inactive", "Browse", "Edit", "Insert"};
        return std::string(states[static_cast<int>(cds.State())]) + " " +
               std::to_string(grid.SelectedIndex()) + ":" + std::to_string(cds.RecNo()) +
               (grid.EditorModified() ? " " + grid.EditorText() + "*" : "");
    }
    static HeadlessDialogs& Dialogs() { return Application().Headless(); }
    static void ResetDialogs() {
        while (Dialogs().PendingAnswers() > 0)
            Dialogs().Ask("", TMsgDlgType::Confirmation, {}, 0);
        Dialogs().ClearTranscript();
    }
    static Texts DialogTexts() {
        Texts texts;
        for (const auto& record : Dialogs().Transcript())
            texts.push_back(record.text);
        return texts;
    }

    /// A user action as the front-end delivers it; true when it completed.
    bool User(const std::function<void()>& action) { return Application().Dispatch(action); }
    bool Key(std::uint16_t key, TShiftState shift = {}) {
        return User([&] { form.PressKey(key, shift); });
    }
    bool Type(const std::string& text) {
        return User([&] { form.TypeText(text); });
    }
};

} // namespace plat::test
