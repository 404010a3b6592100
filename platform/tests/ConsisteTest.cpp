#include "shared/Consiste.h"
#include "ModelFixture.h"

namespace plat {
namespace {

TEST(ConsisteTextTest, EmptyStringMeansNothingEntered) {
    for (const auto& [text, empty] :
         {std::pair{"", true}, {"  ", true}, {"\t", true}, {" 1", false}, {"a ", false}})
        EXPECT_EQ(EmptyString(text), empty) << "'" << text << "'";
}

TEST(ConsisteTextTest, AjustaPadsCodesToTheirWidth) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"5", 2, "05"},  {"12", 2, "12"}, {"", 2, "00"},  {"123", 2, "123"},
        {"5 ", 2, "05"}, {" 7", 2, "07"}, {"ã", 3, "00ã"}};
    for (const auto& [text, width, result] : cases)
        EXPECT_EQ(Ajusta(text, width), result) << "'" << text << "'";
}

TEST(ConsisteTextTest, FormatFillsTheFirstPlaceholder) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"Preço %s informado é inválido.", "de venda", "Preço de venda informado é inválido."},
        {"sem marcador", "x", "sem marcador"},
        {"%s e %s", "a", "a e %s"}};
    for (const auto& [pattern, arg, result] : cases)
        EXPECT_EQ(Format(pattern, arg), result);
}

class ConsisteGridTest : public test::GridFormFixture {};

TEST_F(ConsisteGridTest, GridTextSeesTypedTextOnlyInTheCellBeingTyped) {
    ASSERT_TRUE(Type("Z"));
    EXPECT_EQ(GridText(grid, "CODE", false), "Z") << "typed, not yet written";
    EXPECT_EQ(GridText(pageGrid, "CODE", false), "A") << "another grid holds no typed text";
    EXPECT_EQ(GridText(grid, "QTY", false), "1");

    // Going through the field's text handler, as the user sees the cell.
    qty.OnGetText = [](TField& f, std::string& text, bool) { text = "<" + f.AsString() + ">"; };
    EXPECT_EQ(GridText(grid, "QTY", false), "<1>");

    // While the typed text is written, the field's handler still sees it in the cell, also
    // when the handler moves the focus first.
    std::string seen;
    code.OnSetText = [&](TField& f, const std::string& text) {
        qty.FocusControl();
        seen = GridText(grid, "CODE", false);
        f.SetAsString(text);
    };
    ASSERT_TRUE(Key(VK_TAB)); // writes the text on leaving the column
    EXPECT_EQ(seen, "Z");
    EXPECT_EQ(GridText(grid, "CODE", false), "Z");

    ASSERT_TRUE(Key(VK_DELETE)); // a cleared cell counts as empty
    EXPECT_TRUE(EmptyString(GridText(grid, "QTY", false)));
}

TEST_F(ConsisteGridTest, IndiceColFindsTheColumnOfAFieldWhateverTheColumnOrder) {
    const std::tuple<TDBGrid*, const char*, int> cases[] = {
        {&grid, "QTY", 1}, {&pageGrid, "code", 1}, {&hiddenGrid, "QTY", -1}};
    for (const auto& [g, field, index] : cases)
        EXPECT_EQ(IndiceCol(*g, field), index) << g->Name() << " " << field;
}

} // namespace
} // namespace plat
