#include "ModelFixture.h"
#include "PlatformTestSupport.h"

#include <limits>

namespace plat {
namespace {

using nlohmann::json;
using test::ItemPacket;
using test::StoredValues;
using Texts = std::vector<std::string>;

// What a dataset takes as data and gives back as data and as the delta of its changes.
class PacketTest : public test::DataSetFixture {};

TEST_F(PacketTest, DataRoundTripsThroughAFreshDataSet) {
    const json packet = ItemPacket({{"01", 1.0}, {"Ção", 2.5}, {nullptr, nullptr}, {"", -0.125}});
    cds.SetData(packet);
    EXPECT_EQ(cds.Data(), packet);
    EXPECT_EQ(cds.RecordCount(), 4);

    // A dataset without fields takes them from the packet, but not from a refused one.
    TClientDataSet copy(&owner, "cdsCopia");
    EXPECT_THROW(copy.SetData({{"fields", {{{"name", "A"}, {"type", "string"}, {"size", 2}}}},
                               {"rows", {{1.0}}}}),
                 EDatabaseError);
    EXPECT_TRUE(copy.Fields().empty());
    EXPECT_FALSE(copy.Active());
    copy.SetData(cds.Data());
    EXPECT_EQ(copy.Data(), packet);
    ASSERT_EQ(copy.Fields().size(), 2u);
    EXPECT_EQ(copy.FieldByName("CODE").Size(), 4);
    EXPECT_EQ(copy.FieldByName("QTY").DataType(), TFieldType::Float);
    copy.Next();
    EXPECT_EQ(copy.FieldByName("CODE").AsString(), "Ção");
    copy.Next();
    EXPECT_TRUE(copy.FieldByName("CODE").IsNull());
}

// A packet's columns are matched to the fields by name in any order, whatever size they
// declare; texts wider than their field (data taken over from older systems) are kept as
// delivered, so that the delta matches the store.
TEST_F(PacketTest, PacketColumnsAreMatchedByNameAndTheirValuesKeptAsDelivered) {
    cds.SetData({{"fields",
                  {{{"name", "qty"}, {"type", "float"}},
                   {{"name", "EXTRA"}, {"type", "string"}, {"size", 1}},
                   {{"name", "code"}, {"type", "string"}, {"size", 2}}}},
                 {"rows", {{7.0, "x", "LONGCODE"}}}});
    EXPECT_EQ(code.AsString(), "LONGCODE");
    EXPECT_EQ(qty.AsFloat(), 7.0);
    EXPECT_EQ(cds.Data(), ItemPacket({{"LONGCODE", 7.0}}));
    Do("Edit QTY=8 Post");
    EXPECT_EQ(cds.Delta()["changes"],
              (json{{{"op", "update"}, {"old", {"LONGCODE", 7.0}}, {"new", {"LONGCODE", 8.0}}}}));
}

TEST_F(PacketTest, MalformedPacketIsRefusedAndLeavesTheDataSetAsItWas) {
    const json good = ItemPacket({{"Z", 1.0}});
    auto with = [&](const json::json_pointer& where, json value) {
        json packet = good;
        packet[where] = std::move(value);
        return packet;
    };
    auto without = [&](const std::string& key) {
        json packet = good;
        packet.erase(key);
        return packet;
    };
    // The packet with one more column (valued "Y") described by field.
    auto withExtraField = [&](json field) {
        json packet = good;
        packet["fields"].push_back(std::move(field));
        packet["rows"][0].push_back("Y");
        return packet;
    };
    const std::pair<const char*, json> cases[] = {
        {"not an object", json::array({1, 2})},
        {"no field list", without("fields")},
        {"no row list", without("rows")},
        {"field list not a list", with("/fields"_json_pointer, "CODE")},
        {"rows not a list", with("/rows"_json_pointer, json::object())},
        {"field not an object", with("/fields/0"_json_pointer, "CODE")},
        {"field without name", with("/fields/0/name"_json_pointer, nullptr)},
        {"field with an empty name", with("/fields/0/name"_json_pointer, "")},
        {"field of unknown type", with("/fields/1/type"_json_pointer, "date")},
        {"text field without size", with("/fields/0/size"_json_pointer, nullptr)},
        {"text field of size 0", with("/fields/0/size"_json_pointer, 0)},
        {"text field of negative size", with("/fields/0/size"_json_pointer, -2)},
        {"text field of fractional size", with("/fields/0/size"_json_pointer, 2.5)},
        {"field named twice", withExtraField(good["fields"][0])},
        {"field named twice in other letter case",
         withExtraField({{"name", "code"}, {"type", "string"}, {"size", 4}})},
        {"a defined field missing", with("/fields/1/name"_json_pointer, "OTHER")},
        {"a defined field of another type",
         with("/fields/1"_json_pointer, {{"name", "QTY"}, {"type", "string"}, {"size", 4}})},
        {"row not a list", with("/rows/0"_json_pointer, "Z")},
        {"row too short", with("/rows/0"_json_pointer, {"Z"})},
        {"row too long", with("/rows/0"_json_pointer, {"Z", 1.0, 2.0})},
        {"number in a text field", with("/rows/0/0"_json_pointer, 12)},
        {"text in a number field", with("/rows/0/1"_json_pointer, "1")},
        {"truth value in a number field", with("/rows/0/1"_json_pointer, true)},
        {"list in a text field", with("/rows/0/0"_json_pointer, {"Z"})},
        {"number out of range",
         with("/rows/0/1"_json_pointer, std::numeric_limits<double>::infinity())},
    };
    for (const auto& [name, packet] : cases) {
        SCOPED_TRACE(name);
        LoadAbc();
        cds.Next();
        cds.Edit();
        qty.SetAsFloat(9);
        cds.Post();
        const json before = cds.Data();
        log.Hook(cds);
        log.Clear();
        const std::string error = test::ErrorOf<EDatabaseError>([&] { cds.SetData(packet); });
        EXPECT_NE(error.find("Pacote de dados inválido"), std::string::npos) << error;
        EXPECT_TRUE(log.Entries().empty()) << "events ran for a refused packet";
        EXPECT_EQ(cds.Data(), before);
        EXPECT_EQ(cds.Fields().size(), 2u);
        EXPECT_EQ(cds.State(), TDataSetState::Browse);
        EXPECT_EQ(code.AsString(), "B");
        EXPECT_EQ(cds.ChangeCount(), 1);
    }
}

TEST_F(PacketTest, LoadingWhileEditingReplacesTheEditWithoutCancelEvents) {
    LoadAbc();
    cds.Edit();
    code.SetAsString("X");
    log.Hook(cds);
    cds.SetData(ItemPacket({{"Q", 4.0}}));
    EXPECT_EQ(log.Count("BeforeCancel") + log.Count("BeforePost"), 0);
    EXPECT_EQ(log.Count("AfterScroll"), 1);
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(code.AsString(), "Q");
    EXPECT_FALSE(cds.Modified());
}

TEST_F(PacketTest, DeltaListsEachChangedRowOnceInTheOrderOfItsFirstChange) {
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post  Append CODE=N QTY=5 Post  Locate=C Delete");
    Do("Locate=N Edit QTY=6 Post  Locate=B Edit QTY=21 Post"); // changed rows change again
    EXPECT_EQ(cds.ChangeCount(), 3);
    const json expected = {
        {{"op", "update"}, {"old", {"B", 2.0}}, {"new", {"B", 21.0}}},
        {{"op", "insert"}, {"new", {"N", 6.0}}},
        {{"op", "delete"}, {"old", {"C", 3.0}}},
    };
    const json delta = cds.Delta();
    EXPECT_EQ(delta["changes"], expected);
    EXPECT_EQ(delta["fields"], cds.Data()["fields"]);

    // A deleted row goes with the values it had when loaded, not with its edits.
    LoadAbc();
    Do("Locate=B Edit QTY=20 Post Delete");
    EXPECT_EQ(cds.Delta()["changes"], (json{{{"op", "delete"}, {"old", {"B", 2.0}}}}));
}

TEST_F(PacketTest, ChangesThatCancelOutRecordNothing) {
    const char* const cases[] = {
        "Edit CODE=A QTY=1 Post",                   // the values it held
        "Edit CODE=X CODE=A Post",                  // changed back before posting
        "Edit QTY=7 Post Edit QTY=1 Post",          // changed back by a second post
        "Append CODE=N QTY=5 Post Locate=N Delete", // a new row deleted before being sent
        "Insert Post Delete",                       // the same without values
    };
    for (const char* script : cases) {
        SCOPED_TRACE(script);
        LoadAbc();
        Do(script);
        EXPECT_EQ(cds.ChangeCount(), 0);
        EXPECT_TRUE(cds.Delta()["changes"].empty());
    }
}

TEST_F(PacketTest, OldValueIsTheValueAsLastLoadedOrMerged) {
    LoadAbc();
    Do("Edit QTY=20");
    EXPECT_EQ(qty.OldValue(), Value(1.0));
    cds.Post();
    EXPECT_EQ(qty.OldValue(), Value(1.0)) << "posting does not accept the change";
    cds.Insert();
    EXPECT_TRUE(IsNullValue(qty.OldValue())) << "a row being inserted has no old value";
    Do("CODE=N Post");
    EXPECT_TRUE(IsNullValue(code.OldValue())) << "a posted new row neither";
    cds.MergeChangeLog();
    EXPECT_EQ(code.OldValue(), Value(std::string("N")));
    Do("Locate=A");
    EXPECT_EQ(qty.OldValue(), Value(20.0));
}

TEST_F(PacketTest, MergeAcceptsAndCancelUpdatesReturnsToTheLastAcceptedData) {
    LoadAbc();
    Do("Edit QTY=10 Post  Append CODE=N QTY=5 Post");
    cds.MergeChangeLog();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_TRUE(cds.Delta()["changes"].empty());

    Do("Locate=B Edit QTY=20 Post  Append CODE=M QTY=6 Post  Locate=C Delete");
    Do("Locate=N Edit QTY=50 Post  Locate=B");
    log.Hook(cds);
    cds.CancelUpdates();
    EXPECT_EQ(cds.ChangeCount(), 0);
    EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C", "N"}));
    EXPECT_EQ(StoredValues(cds, "QTY"), (Texts{"10", "2", "3", "5"}));
    EXPECT_EQ(code.AsString(), "B") << "the current row stays current where it still exists";
    EXPECT_EQ(cds.State(), TDataSetState::Browse);
    EXPECT_EQ(Events(), "");
}

TEST_F(PacketTest, CancelUpdatesCountsAsAMoveOnlyWhenTheCurrentRowWentAway) {
    LoadAbc();
    log.Hook(cds);
    struct Case {
        const char* steps;   // run before CancelUpdates
        const char* events;  // events of CancelUpdates itself
        const char* current; // CODE and QTY of the current row afterwards
    };
    const Case cases[] = {
        {"Locate=B Edit QTY=20 Post", "", "B 2"},           // the edited row comes back
        {"Locate=B Delete", "", "C 3"},                     // a deleted row comes back
        {"Append CODE=N Post", "AfterScroll", "C 3"},       // the posted new row is gone
        {"First Insert CODE=M Post", "AfterScroll", "A 1"}, // likewise at the top
        // An edit in progress is cancelled; the cursor stays on the row that followed the
        // deleted one.
        {"Locate=B Delete Edit QTY=30", "BeforeCancel AfterCancel", "C 3"},
    };
    for (const Case& c : cases) {
        Do(c.steps);
        log.Clear();
        cds.CancelUpdates();
        EXPECT_EQ(Events(), c.events) << c.steps;
        EXPECT_EQ(code.AsString() + " " + qty.AsString(), c.current) << c.steps;
        EXPECT_EQ(StoredValues(cds, "CODE"), (Texts{"A", "B", "C"})) << c.steps;
        EXPECT_EQ(cds.ChangeCount(), 0) << c.steps;
    }
}

} // namespace
} // namespace plat
