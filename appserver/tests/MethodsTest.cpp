#include "Packets.h"
#include "RpcClient.h"
#include "RunningServer.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;
using namespace packets;

json StringField(const char* name, int size) {
    return {{"name", name}, {"type", "string"}, {"size", size}};
}
json FloatField(const char* name) {
    return {{"name", name}, {"type", "float"}};
}

TEST(Methods, GetMethodsReturnTheirPacketsInOrder) {
    RunningServer server;
    RpcClient client(server.Port());

    // Terms stored out of order come back ordered by code.
    client.Result("SetFormPgto", TermDelta({Insert(Term("03", "Terceira")),
                                            Insert(Term("01", "Primeira", "DSEX", nullptr, "S")),
                                            Insert(Term("02", "Segunda"))}));
    json terms = client.Result("GetFormPgto", json::array());
    EXPECT_EQ(terms["fields"],
              json::array({StringField("CDFORMPGTO", 2), StringField("NMFORMPGTO", 30),
                           StringField("IDTIPODTPGTO", 4), StringField("IDREFECALCPARC", 30),
                           StringField("IDTPPERIODO", 1), StringField("IDCONSDIAUTIL", 1),
                           StringField("IDVRIGUALPARC", 1)}));
    ASSERT_EQ(terms["rows"].size(), 3u);
    EXPECT_EQ(terms["rows"][0], Term("01", "Primeira", "DSEX", nullptr, "S"));
    EXPECT_EQ(terms["rows"][1][0], "02");
    EXPECT_EQ(terms["rows"][2][0], "03");

    // Day rows ordered by their first day, equal first days in the order they were entered.
    client.Result("SetDiaPgto", DayDelta({Insert(Day("01", "16", "31", "10", 1.0, 1.0)),
                                          Insert(Day("01", "01", "07", "10", 0.0, nullptr, "02")),
                                          Insert(Day("01", "16", "20", "25")),
                                          Insert(Day("02", "01", "31", "05"))}));
    json days = client.Result("GetDiaPgto", {"01"});
    EXPECT_EQ(days["fields"],
              json::array({StringField("CDFORMPGTO", 2), StringField("NRDIAINIPGTO", 2),
                           StringField("NRDIAFINPGTO", 2), StringField("NRDIAPGTOVAR", 2),
                           FloatField("NRMESFORMPGT"), FloatField("NRNUMMESPGTO"),
                           StringField("NRDIAPGTOSEMANA", 2)}));
    EXPECT_EQ(days["rows"],
              json::array({Day("01", "01", "07", "10", 0.0, nullptr, "02"),
                           Day("01", "16", "31", "10", 1.0, 1.0), Day("01", "16", "20", "25")}));

    json periods = client.Result("GetPeriodo", {"01"});
    EXPECT_EQ(periods["fields"],
              json::array({StringField("NRDIAINIPGTO", 2), StringField("NRDIAFINPGTO", 2)}));
    EXPECT_EQ(periods["rows"], json::parse(R"([["01","07"],["16","31"],["16","20"]])"));

    EXPECT_EQ(client.Result("GetVerCdForm", {"02"}),
              json({{"fields", {StringField("CDFORMPGTO", 2)}}, {"rows", {{"02"}}}}));

    // Codes with nothing stored, the empty code and a quote included, give packets without
    // rows; a code wider than its column is refused (the hostile requests).
    for (const char* code : {"", "99", "1", "1 ", "';"})
        for (const char* method : {"GetDiaPgto", "GetVerCdForm", "GetPeriodo"})
            EXPECT_EQ(client.Result(method, {code})["rows"], json::array()) << method << code;
}

} // namespace
