#include "Packets.h"
#include "RunningServer.h"

#include <gtest/gtest.h>

namespace {

using nlohmann::json;
using namespace packets;

/// The field list of a packet: texts as NAME:SIZE, numbers as NAME alone.
json Fields(const std::vector<std::string>& fields) {
    json list = json::array();
    for (const auto& field : fields) {
        const auto colon = field.find(':');
        if (colon == std::string::npos)
            list.push_back({{"name", field}, {"type", "float"}});
        else
            list.push_back({{"name", field.substr(0, colon)},
                            {"type", "string"},
                            {"size", std::stoi(field.substr(colon + 1))}});
    }
    return list;
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
              Fields({"CDFORMPGTO:2", "NMFORMPGTO:30", "IDTIPODTPGTO:4", "IDREFECALCPARC:30",
                      "IDTPPERIODO:1", "IDCONSDIAUTIL:1", "IDVRIGUALPARC:1"}));
    EXPECT_EQ(terms["rows"], json::array({Term("01", "Primeira", "DSEX", nullptr, "S"),
                                          Term("02", "Segunda"), Term("03", "Terceira")}));
    // Day rows ordered by their first day, equal first days in the order they were entered.
    client.Result("SetDiaPgto", DayDelta({Insert(Day("01", "16", "31", "10", 1.0, 1.0)),
                                          Insert(Day("01", "01", "07", "10", 0.0, nullptr, "02")),
                                          Insert(Day("01", "16", "20", "25")),
                                          Insert(Day("02", "01", "31", "05"))}));
    json days = client.Result("GetDiaPgto", {"01"});
    EXPECT_EQ(days["fields"],
              Fields({"CDFORMPGTO:2", "NRDIAINIPGTO:2", "NRDIAFINPGTO:2", "NRDIAPGTOVAR:2",
                      "NRMESFORMPGT", "NRNUMMESPGTO", "NRDIAPGTOSEMANA:2"}));
    EXPECT_EQ(days["rows"],
              json::array({Day("01", "01", "07", "10", 0.0, nullptr, "02"),
                           Day("01", "16", "31", "10", 1.0, 1.0), Day("01", "16", "20", "25")}));
    EXPECT_EQ(client.Result("GetPeriodo", {"01"}),
              json({{"fields", Fields({"NRDIAINIPGTO:2", "NRDIAFINPGTO:2"})},
                    {"rows", json::parse(R"([["01","07"],["16","31"],["16","20"]])")}}));
    EXPECT_EQ(client.Result("GetVerCdForm", {"02"}),
              json({{"fields", Fields({"CDFORMPGTO:2"})}, {"rows", {{"02"}}}}));
    // Codes with nothing stored, the empty code and a quote included, give packets without
    // rows; a code wider than its column is refused (the hostile requests).
    for (const char* code : {"", "99", "1 ", "';"})
        for (const char* method : {"GetDiaPgto", "GetVerCdForm", "GetPeriodo"})
            EXPECT_EQ(client.Result(method, {code})["rows"], json::array()) << method << code;
}

} // namespace
