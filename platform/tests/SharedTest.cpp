// The shared packages the screens call: text checks, grid lookups, message catalogues, the
// local cache's notices and the wait animation.
#include "ModelFixture.h"
#include "PlatformTestSupport.h"
#include "shared/Consiste.h"
#include "shared/Messages.h"
#include "shared/Showavi.h"
#include "shared/Vandrel.h"

namespace plat {
namespace {

// Blanks are nothing entered; codes are padded with zeros to their width; Format fills the
// first placeholder only.
TEST(ConsisteTextTest, EmptyStringAjustaAndFormat) {
    for (const auto& [text, empty] :
         {std::pair{"", true}, {" \t", true}, {" 1", false}, {"a ", false}})
        EXPECT_EQ(EmptyString(text), empty) << "'" << text << "'";
    const std::tuple<const char*, int, const char*> cases[] = {
        {"5", 2, "05"},  {"12", 2, "12"}, {"", 2, "00"},  {"123", 2, "123"},
        {"5 ", 2, "05"}, {" 7", 2, "07"}, {"ã", 3, "00ã"}};
    for (const auto& [text, width, result] : cases)
        EXPECT_EQ(Ajusta(text, width), result) << "'" << text << "'";
    const std::tuple<const char*, const char*, const char*> formats[] = {
        {"Preço %s informado é inválido.", "de venda", "Preço de venda informado é inválido."},
        {"sem marcador", "x", "sem marcador"},
        {"%s e %s", "a", "a e %s"}};
    for (const auto& [pattern, arg, result] : formats)
        EXPECT_EQ(Format(pattern, arg), result);
}

class ConsisteGridTest : public test::GridFormFixture {};

TEST_F(ConsisteGridTest, GridTextSeesTypedTextOnlyInTheCellBeingTypedAndIndiceColFindsIt) {
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

    // IndiceCol finds the column of a field whatever the column order.
    const std::tuple<TDBGrid*, const char*, int> cases[] = {
        {&grid, "QTY", 1}, {&pageGrid, "code", 1}, {&hiddenGrid, "QTY", -1}};
    for (const auto& [g, field, index] : cases)
        EXPECT_EQ(IndiceCol(*g, field), index) << g->Name() << " " << field;
}

// A catalogue's keys ignore case, a text runs from the first bar; a broken one is refused whole.
TEST(MessagesTest, KeysIgnoreCaseAndTextRunsFromTheFirstBar) {
    test::TempDir dir;
    TMessages msg(nullptr, "msgPadrao");
    msg.LoadFromFile(dir.Write("msg.txt", "\xEF\xBB\xBF"
                                          "1Lugar|1º Lugar\r\n"
                                          "\n"
                                          "   \n"
                                          "Vazio|\n"
                                          "Barra|a|b\n"
                                          "Dup|primeiro\n"
                                          "DUP|segundo"));
    ASSERT_EQ(msg.Lines().size(), 5u);
    EXPECT_EQ(msg.Lines()[0], (std::pair<std::string, std::string>{"1Lugar", "1º Lugar"}))
        << "the byte-order mark is not part of the key";
    const std::pair<const char*, const char*> lookups[] = {{"1LUGAR", "1º Lugar"},
                                                           {"Vazio", ""},
                                                           {"barra", "a|b"},
                                                           {"dup", "primeiro"},
                                                           {"Nao_Existe", "Nao_Existe"}};
    for (const auto& [key, text] : lookups)
        EXPECT_EQ(msg.Msg(key), text) << key;

    EXPECT_THROW(msg.LoadFromText("Bom|texto\nsem barra"), std::runtime_error);
    EXPECT_EQ(msg.Lines().size(), 5u);
    EXPECT_TRUE(test::Says([&] { msg.LoadFromFile(dir.File("faltando.txt")); }, "faltando.txt"));
}

// The tables a save names are recorded in order and told; a list that is not all texts is
// refused before anything is recorded.
TEST(VandrelTest, AtualizaLocalCacheRecordsTablesInOrder) {
    TLocalCache& cache = LocalCache();
    cache.Clear();
    int changes = 0;
    const int ticket =
        cache.Subscribe([&](TObservable&, Change what) { changes += what == Change::Data; });
    AtualizaLocalCache(nlohmann::json::array({"ITEMS"}));
    AtualizaLocalCache(nlohmann::json::array({"ORDERS", "ITEMS"}));
    for (const auto& bad : {nlohmann::json("ITEMS"), nlohmann::json::array({"ORDERS", nullptr})})
        EXPECT_THROW(AtualizaLocalCache(bad), std::invalid_argument) << bad;
    EXPECT_EQ(cache.Notices(), (std::vector<std::string>{"ITEMS", "ORDERS", "ITEMS"}));
    EXPECT_EQ(changes, 3);
    cache.Unsubscribe(ticket);
    cache.Clear();
}

TEST(ShowaviTest, AnimationRunsBetweenTheTwoCallsAndARestartCountsAsAStart) {
    TWaitIndicator& wait = WaitIndicator();
    DeactiveShowAvi();
    const int before = wait.Activations();
    int changes = 0;
    const int ticket =
        wait.Subscribe([&](TObservable&, Change what) { changes += what == Change::Wait; });
    TComponent form(nullptr, "frmItems");
    ActiveShowAvi(&form, 6);
    ActiveShowAvi(&form, 1);
    EXPECT_EQ(wait.Kind(), 1);
    EXPECT_EQ(wait.Form(), &form);
    DeactiveShowAvi();
    DeactiveShowAvi(); // nothing runs: nothing to tell
    EXPECT_FALSE(wait.Active());
    EXPECT_EQ(wait.Activations(), before + 2);
    EXPECT_EQ(changes, 3);
    wait.Unsubscribe(ticket);
}

} // namespace
} // namespace plat
