#include "ModelFixture.h"

#include <limits>

namespace plat {
namespace {

using nlohmann::json;
using test::ItemPacket;

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

TEST_F(PacketTest, PacketColumnsAreMatchedByNameInAnyOrder) {
    cds.SetData({{"fields",
                  {{{"name", "qty"}, {"type", "float"}},
                   {{"name", "EXTRA"}, {"type", "string"}, {"size", 1}},
                   {{"name", "code"}, {"type", "string"}, {"size", 10}}}},
                 {"rows", {{7.0, "x", "WXYZ"}}}});
    EXPECT_EQ(code.AsString(), "WXYZ");
    EXPECT_EQ(qty.AsFloat(), 7.0);
    EXPECT_EQ(cds.Data(), ItemPacket({{"WXYZ", 7.0}}));
    cds.Edit();
    qty.SetAsFloat(8);
    cds.Post();
    EXPECT_EQ(cds.Delta()["changes"][0]["old"], (json{"WXYZ", 7.0}));
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
        try {
            cds.SetData(packet);
            ADD_FAILURE() << "accepted";
        } catch (const EDatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("Pacote de dados inválido"), std::string::npos)
                << e.what();
        }
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

} // namespace
} // namespace plat
