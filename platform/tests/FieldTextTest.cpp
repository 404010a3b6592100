#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;

class FieldTextTest : public test::DataSetFixture {};

TEST_F(FieldTextTest, NumberTextIsItsShortestGeneralForm) {
    const std::pair<double, const char*> cases[] = {
        {1.0, "1"},
        {2.5, "2.5"},
        {-3.0, "-3"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},
        {12345.678, "12345.678"},
        {1.0 / 3, "0.333333333333333"},
        {100.0, "100"},
        {0.001, "0.001"},
    };
    cds.SetData(ItemPacket({{"A", nullptr}}));
    cds.Edit();
    for (const auto& [value, text] : cases) {
        qty.SetAsFloat(value);
        EXPECT_EQ(qty.AsString(), text) << value;
        EXPECT_EQ(qty.Text(), text);
        EXPECT_EQ(qty.DisplayText(), text);
    }
    // Typed numbers are read the way users type them.
    const std::pair<const char*, Value> typed[] = {
        {"2,5", 2.5}, {" 7 ", 7.0}, {"", Value{}}, {"   ", Value{}}, {"-1.25", -1.25}};
    for (const auto& [text, value] : typed) {
        qty.SetText(text);
        EXPECT_EQ(qty.GetValue(), value) << text;
    }
    for (const char* bad : {"abc", "1.2.3", "inf", "0x10", "1e999"}) {
        qty.SetAsFloat(4);
        EXPECT_THROW(qty.SetText(bad), EDatabaseError) << bad;
        EXPECT_EQ(qty.AsFloat(), 4.0) << "a refused text changes nothing";
    }
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

TEST_F(FieldTextTest, OnChangeRunsOnlyWhenTheValueReallyChanges) {
    cds.SetData(ItemPacket({{"A", 1.0}}));
    int changes = 0;
    std::string seen;
    code.OnChange = [&](TField& sender) {
        ++changes;
        seen = sender.AsString(); // the new value is in place when the handler runs
    };
    int qtyChanges = 0;
    qty.OnChange = [&](TField&) { ++qtyChanges; };
    cds.Edit();
    const std::pair<std::function<void()>, int> writes[] = {
        {[&] { code.SetAsString("A"); }, 0},    {[&] { code.SetAsString("ABCDE"); }, 1},
        {[&] { code.SetAsString("ABCD"); }, 0}, {[&] { code.SetText("ABCDX"); }, 0},
        {[&] { code.SetValue(Value{}); }, 1},   {[&] { code.Clear(); }, 0},
        {[&] { code.SetAsString("B"); }, 1},    {[&] { code.SetValue(std::string("B")); }, 0},
    };
    int expected = 0;
    for (const auto& [write, delta] : writes) {
        write();
        expected += delta;
        EXPECT_EQ(changes, expected);
    }
    EXPECT_EQ(seen, "B");
    qty.SetAsFloat(1);
    qty.SetAsString("1,0");
    qty.SetText("1");
    EXPECT_EQ(qtyChanges, 0);
    qty.SetAsString("");
    EXPECT_EQ(qtyChanges, 1);
    EXPECT_TRUE(qty.IsNull());
}

TEST_F(FieldTextTest, WritingTheHeldValueLeavesTheRecordUnmodified) {
    LoadAbc();
    cds.Edit();
    code.SetAsString("A");
    qty.SetText("1");
    EXPECT_FALSE(cds.Modified());
    cds.Next(); // the implicit cancel, not a post
    EXPECT_EQ(cds.ChangeCount(), 0);
}

TEST_F(FieldTextTest, EmptyTextIsNoValue) {
    cds.SetData(ItemPacket({{"A", nullptr}, {nullptr, 1.0}}));
    int changes = 0;
    code.OnChange = [&](TField&) { ++changes; };
    cds.Edit();
    code.SetText("");
    EXPECT_TRUE(code.IsNull()) << "clearing a text field leaves it null, not empty";
    EXPECT_EQ(changes, 1);
    qty.SetText("");
    EXPECT_TRUE(qty.IsNull());
    cds.Post();
    EXPECT_EQ(cds.Delta()["changes"][0]["new"][0], nullptr);

    cds.Next(); // CODE is null here already: an empty text changes nothing
    cds.Edit();
    changes = 0;
    code.SetAsString("");
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(cds.Modified());
}

} // namespace
} // namespace plat
