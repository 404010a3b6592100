#include "ModelFixture.h"
#include "shared/Consiste.h"

namespace plat {
namespace {

class ConsisteGridTest : public test::GridFormFixture {};

TEST_F(ConsisteGridTest, GridTextSeesTypedTextOnlyInTheCellBeingTyped) {
    EXPECT_EQ(GridText(grid, "CODE", false), "A");
    EXPECT_EQ(GridText(grid, "QTY", false), "1");

    ASSERT_TRUE(Type("Z"));
    EXPECT_EQ(GridText(grid, "CODE", false), "Z") << "typed, not yet written";
    EXPECT_EQ(code.AsString(), "A");
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
    EXPECT_EQ(code.AsString(), "Z");
    EXPECT_EQ(GridText(grid, "CODE", false), "Z");

    ASSERT_TRUE(Key(VK_DELETE)); // a cleared cell counts as empty
    EXPECT_TRUE(EmptyString(GridText(grid, "QTY", false)));
}

TEST_F(ConsisteGridTest, IndiceColFindsTheColumnOfAFieldWhateverTheColumnOrder) {
    const std::tuple<TDBGrid*, const char*, int> cases[] = {
        {&grid, "CODE", 0},     {&grid, "QTY", 1},        {&pageGrid, "QTY", 0},
        {&pageGrid, "code", 1}, {&hiddenGrid, "QTY", -1}, {&grid, "NONE", -1}};
    for (const auto& [g, field, index] : cases)
        EXPECT_EQ(IndiceCol(*g, field), index) << g->Name() << " " << field;
}

} // namespace
} // namespace plat
