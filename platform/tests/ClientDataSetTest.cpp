#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;
using test::StoredValues;
using Texts = std::vector<std::string>;

class ClientDataSetTest : public test::DataSetFixture {};
class FieldTextTest : public test::DataSetFixture {};

TEST_F(ClientDataSetTest, EventOrderOfEachOperation) {
    using enum TDataSetState;
    struct Case {
        const char* script; // run on row B
        const char* events;
        TDataSetState state;
        const char* current; // CODE of the current record afterwards
    };
    const Case cases[] = {
        {"Insert", "BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll", Insert, ""},
        {"Edit", "BeforeEdit AfterEdit", Edit, "B"},
        {"Edit CODE=X Post", "BeforeEdit AfterEdit BeforePost AfterPost", Browse, "X"},
        {"Edit CODE=X Cancel", "BeforeEdit AfterEdit BeforeCancel AfterCancel", Browse, "B"},
        {"Insert CODE=N Forget Cancel", "BeforeCancel BeforeScroll AfterCancel AfterScroll", Browse,
         "B"},
        {"Delete", "BeforeDelete BeforeScroll AfterDelete AfterScroll", Browse, "C"},
        {"Next", "BeforeScroll AfterScroll", Browse, "C"},
        {"Last Forget Next", "BeforeScroll", Browse, "C"}, // no move at the end
        {"First Forget First", "BeforeScroll AfterScroll", Browse, "A"},
        {"Locate=B", "BeforeScroll AfterScroll", Browse, "B"}, // the current row again
        {"Locate=Z", "", Browse, "B"},
        // Moving while editing posts a modified record and cancels an unmodified one.
        {"Edit QTY=9 Next", "BeforeEdit AfterEdit BeforePost AfterPost BeforeScroll AfterScroll",
         Browse, "C"},
        {"Edit Prior", "BeforeEdit AfterEdit BeforeCancel AfterCancel BeforeScroll AfterScroll",
         Browse, "A"},
        {"Insert CODE=N Forget Insert",
         "BeforePost AfterPost BeforeInsert BeforeScroll OnNewRecord AfterInsert AfterScroll",
         Insert, ""},
        {"Edit CODE=X Forget Delete", "BeforeDelete BeforeScroll AfterDelete AfterScroll", Browse,
         "C"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        log.Hook(cds);
        LoadAbc();
        Do("Next Forget");
        Do(c.script);
        EXPECT_EQ(Events(), c.events);
        EXPECT_EQ(cds.State(), c.state);
        EXPECT_EQ(code.AsString(), c.current);
    }
}

TEST_F(ClientDataSetTest, RaisingBeforeHandlerStopsTheOperationAndKeepsTheState) {
    using enum TDataSetState;
    using DS = TClientDataSet;
    struct Case {
        TClientDataSet::Event TClientDataSet::*handler;
        const char* prepare; // run on row B before the handler raises
        const char* action;
        TDataSetState state;
        const char* current;
    };
    const Case cases[] = {
        {&DS::BeforeInsert, "", "Insert", Browse, "B"},
        {&DS::BeforeScroll, "", "Append", Browse, "B"},
        {&DS::OnNewRecord, "", "Insert", Browse, "B"},
        {&DS::BeforeEdit, "", "Edit", Browse, "B"},
        {&DS::BeforePost, "Edit CODE=X", "Post", Edit, "X"},
        {&DS::BeforePost, "Edit CODE=X", "Next", Edit, "X"}, // the implicit post
        {&DS::BeforeCancel, "Edit CODE=X", "Cancel", Edit, "X"},
        {&DS::BeforeDelete, "", "Delete", Browse, "B"},
        {&DS::BeforeScroll, "", "Delete", Browse, "B"},
        {&DS::BeforeScroll, "", "Last", Browse, "B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prepare) + " then " + c.action);
        log.Hook(cds); // drops the raising handler of the case before
        LoadAbc();
        cds.Next();
        Do(c.prepare);
        cds.*c.handler = [this](TClientDataSet&) {
            log.Add("raised");
            Abort();
        };
        log.Clear();
        EXPECT_THROW(Do(c.action), EAbort);
        EXPECT_EQ(log.Entries().back(), "raised") << "something ran after the raising handler";
        EXPECT_EQ(cds.State(), c.state);
        EXPECT_EQ(code.AsString(), c.current);
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"}));
        EXPECT_EQ(cds.ChangeCount(), 0);
    }
}

TEST_F(ClientDataSetTest, EofBofTheUsualLoopAndWhereADeleteLeavesTheCursor) {
    LoadAbc();
    EXPECT_TRUE(cds.Bof());
    EXPECT_FALSE(cds.Eof());
    Texts seen;
    for (cds.First(); !cds.Eof(); cds.Next())
        seen.push_back(code.AsString());
    EXPECT_EQ(seen, (Texts{"A", "B", "C"}));
    EXPECT_EQ(code.AsString(), "C");
    EXPECT_EQ(cds.RecNo(), 3);
    cds.Prior();
    EXPECT_FALSE(cds.Eof() || cds.Bof());
    Do("Prior Prior");
    EXPECT_TRUE(cds.Bof());
    EXPECT_EQ(code.AsString(), "A");
    cds.Last();
    EXPECT_TRUE(cds.Eof());

    Do("First Next Delete Delete"); // B, then C that followed it
    EXPECT_EQ(code.AsString(), "A") << "the new last row";
    EXPECT_EQ(cds.RecordCount(), 1);
    cds.Delete();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_EQ(cds.RecNo(), 0);
    EXPECT_TRUE(code.IsNull());
    EXPECT_THROW(cds.Delete(), EDatabaseError);
}

TEST_F(ClientDataSetTest, AnEmptyDataSetStandsAtBothEndsUntilARowIsBeingInserted) {
    log.Hook(cds);
    cds.SetData(ItemPacket({}));
    EXPECT_EQ(Events(), "BeforeOpen AfterOpen AfterScroll") << "an open scrolls, also when empty";
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Eof() && cds.Bof());
    EXPECT_EQ(cds.RecNo(), 0);
    // A new record that fails leaves it as it was.
    cds.OnNewRecord = [](TClientDataSet&) { throw EDatabaseError("recusado"); };
    EXPECT_THROW(cds.Insert(), EDatabaseError);
    EXPECT_TRUE(cds.Eof() && cds.Bof() && cds.IsEmpty());
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    cds.OnNewRecord = nullptr;

    cds.Insert();
    EXPECT_EQ(cds.RecordCount(), 0) << "a row being inserted is not counted";
    EXPECT_FALSE(cds.IsEmpty());
    cds.Cancel();
    EXPECT_TRUE(cds.IsEmpty());
    cds.Edit(); // on an empty dataset an edit inserts
    EXPECT_EQ(cds.State(), TDataSetState::Insert);
    Do("CODE=N Post");
    EXPECT_EQ(cds.RecordCount(), 1);
    Do("Append Delete"); // deleting a row being inserted drops it
    EXPECT_EQ(cds.RecordCount(), 1);
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

TEST_F(ClientDataSetTest, LocateByTextOrNumberOptionallyIgnoringCase) {
    cds.SetData(ItemPacket({{"ab", 1.0}, {"Ção", 2.5}, {"AB", 3.0}}));
    EXPECT_TRUE(cds.Locate("CODE", "AB", false));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_TRUE(cds.Locate("code", "AB", true)) << "field names ignore case too";
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_TRUE(cds.Locate("CODE", "ção", true));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_FALSE(cds.Locate("CODE", "ção", false));
    EXPECT_EQ(cds.RecNo(), 2) << "a failed locate leaves the cursor";
    EXPECT_TRUE(cds.Locate("QTY", "3", false));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_THROW(cds.Locate("NOPE", "x", false), EDatabaseError);
}

// A move made while a row is being inserted counts from the new row as the grid shows it:
// one row up from a new row appended at the end is the old last row, whether the new row
// was stored by the implicit post or dropped by the implicit cancel.
TEST_F(ClientDataSetTest, MoveFromARowBeingInsertedCountsFromThatRow) {
    const std::pair<const char*, const char*> cases[] = {
        {"Locate=C Append CODE=N Prior", "C"}, {"Locate=C Append Prior", "C"},
        {"Locate=B Insert CODE=N Next", "B"},  {"Locate=B Insert Next", "B"},
        {"Locate=B Insert CODE=N Prior", "A"}, {"Locate=B Insert Prior", "A"},
    };
    for (const auto& [script, current] : cases) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
        EXPECT_EQ(code.AsString(), current);
    }
}

TEST_F(ClientDataSetTest, MisuseIsRefusedWithAReadableError) {
    EXPECT_THROW(cds.Insert(), EDatabaseError) << "closed";
    EXPECT_THROW(cds.Next(), EDatabaseError) << "closed";
    LoadAbc();
    EXPECT_THROW(code.SetAsString("X"), EDatabaseError) << "not editing";
    EXPECT_THROW(cds.Post(), EDatabaseError) << "nothing to post";
    EXPECT_THROW(cds.FieldByName("NOPE"), EDatabaseError);
    EXPECT_THROW(cds.AddStringField("cdsItemNOVO", "NOVO", 2), EDatabaseError) << "open";
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
}

TEST_F(ClientDataSetTest, ARelativeMoveCountsFromWhereTheImplicitPostLeftTheCursor) {
    LoadAbc();
    cds.AfterPost = [](TClientDataSet& ds) { ds.First(); };
    Do("Last Edit QTY=9");
    EXPECT_EQ(cds.MoveBy(-1), 0);
    EXPECT_EQ(code.AsString(), "A");
    EXPECT_TRUE(cds.Bof());
    Do("Edit QTY=8");
    EXPECT_EQ(cds.MoveBy(1), 1);
    EXPECT_EQ(code.AsString(), "B");
}

TEST_F(FieldTextTest, NumberTextIsItsShortestGeneralFormAndTypedTextIsRead) {
    cds.SetData(ItemPacket({{"A", nullptr}}));
    cds.Edit();
    qty.SetAsFloat(1.0 / 3); // written as FloatToStr writes it, at fifteen digits
    for (const std::string& text : {qty.AsString(), qty.Text(), qty.DisplayText()})
        EXPECT_EQ(text, "0.333333333333333");
    // Typed numbers are read as StrToFloat reads them; a blank text is no value.
    const std::pair<const char*, Value> typed[] = {{"2,5", 2.5}, {"   ", Value{}}};
    for (const auto& [text, value] : typed) {
        qty.SetText(text);
        EXPECT_EQ(qty.GetValue(), value) << text;
    }
    qty.SetAsFloat(4);
    EXPECT_THROW(qty.SetText("1e999"), EDatabaseError);
    EXPECT_EQ(qty.AsFloat(), 4.0) << "a refused text changes nothing";
}

TEST_F(FieldTextTest, TextIsCutToTheFieldSizeInCharacters) {
    cds.SetData(ItemPacket({{"A", 1.0}}));
    cds.Edit();
    const std::pair<const char*, const char*> cases[] = {
        {"ABCDEF", "ABCD"}, {"ÇÃOÉX", "ÇÃOÉ"}, {"ºAB", "ºAB"}, {"", ""}};
    for (const auto& [text, stored] : cases) {
        code.SetAsString(text);
        EXPECT_EQ(code.AsString(), stored) << text;
    }
    code.SetAsFloat(2.5); // a number written to a text field is stored as its text
    EXPECT_EQ(code.AsString(), "2.5");
}

TEST_F(FieldTextTest, TextGoesThroughTheHandlersAndAsStringDoesNot) {
    cds.SetData(ItemPacket({{"M", 1.0}}));
    std::vector<std::tuple<std::string, std::string, bool>> gets;
    code.OnGetText = [&](TField& sender, std::string& text, bool display) {
        gets.emplace_back(sender.Name(), text, display);
        text = sender.AsString() == "M" ? (display ? "Mensal" : "mensal") : sender.AsString();
    };
    std::vector<std::string> sets;
    code.OnSetText = [&](TField& sender, const std::string& text) {
        sets.push_back(text);
        sender.SetAsString(text == "Mensal" ? "M" : "S");
    };
    EXPECT_EQ(code.DisplayText(), "Mensal");
    EXPECT_EQ(code.Text(), "mensal");
    EXPECT_EQ(code.AsString(), "M");
    ASSERT_EQ(gets.size(), 2u);
    EXPECT_EQ(gets[0], std::make_tuple(std::string("cdsItemCODE"), std::string(), true));
    EXPECT_EQ(std::get<2>(gets[1]), false);

    cds.Edit();
    code.SetText("Semanal");
    EXPECT_EQ(code.AsString(), "S");
    code.SetAsString("Mensal");
    EXPECT_EQ(code.AsString(), "Mens") << "AsString bypasses the set-text handler";
    EXPECT_EQ(sets, (std::vector<std::string>{"Semanal"}));
}

// A write that leaves the value as it was runs no OnChange (see also ObservationTest's
// WritingTheHeldValueFiresNothing); an empty text is no value: it leaves the field null.
TEST_F(FieldTextTest, OnChangeRunsOnlyWhenTheValueReallyChanges) {
    cds.SetData(ItemPacket({{"A", 1.0}}));
    int changes = 0;
    std::string seen;
    code.OnChange = [&](TField& sender) {
        ++changes;
        seen = sender.IsNull() ? "null" : sender.AsString(); // the new value is already in place
    };
    int qtyChanges = 0;
    qty.OnChange = [&](TField&) { ++qtyChanges; };
    cds.Edit();
    const std::tuple<const char*, std::function<void()>, int, const char*> writes[] = {
        {"longer than the field", [&] { code.SetAsString("ABCDE"); }, 1, "ABCD"},
        {"the same cut", [&] { code.SetAsString("ABCD"); }, 0, "ABCD"},
        {"the same cut as text", [&] { code.SetText("ABCDX"); }, 0, "ABCD"},
        {"no value", [&] { code.SetValue(Value{}); }, 1, "null"},
        {"cleared when null", [&] { code.Clear(); }, 0, "null"},
        {"empty when null", [&] { code.SetAsString(""); }, 0, "null"},
        {"another text", [&] { code.SetAsString("B"); }, 1, "B"},
        {"the same as a value", [&] { code.SetValue(std::string("B")); }, 0, "B"},
        {"empty text", [&] { code.SetText(""); }, 1, "null"},
    };
    int expected = 0;
    for (const auto& [name, write, delta, value] : writes) {
        SCOPED_TRACE(name);
        write();
        expected += delta;
        EXPECT_EQ(changes, expected);
        EXPECT_EQ(code.IsNull() ? "null" : code.AsString(), value);
    }
    EXPECT_EQ(seen, "null");
    qty.SetAsString("");
    EXPECT_TRUE(qty.IsNull());
    qty.SetAsFloat(2);
    qty.SetText("");
    EXPECT_TRUE(qty.IsNull());
    EXPECT_EQ(qtyChanges, 3);
    cds.Post();
    EXPECT_EQ(cds.Delta()["changes"][0]["new"], (nlohmann::json{nullptr, nullptr}));
}

} // namespace
} // namespace plat
