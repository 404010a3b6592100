#include "ModelFixture.h"

namespace plat {
namespace {

using test::ItemPacket;

class FieldTextTest : public test::DataSetFixture {};

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
