// Several radios, each its own values: plans, counting and the delivery report, against simulated
// radios on pseudo-terminals.
#include "tests/cli/cli_fixture.h"
#include "tests/cli/fleet_radios.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::size_t Lines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

constexpr char kTx[] = "5ToneCodeCH.TXCodeCH.CH1.TxCode";

} // namespace

// A plan of three radios: each gets its own values (read back), the report has a line each; a
// plan that anything is wrong with writes no radio at all and names the row and column.
TEST_F(CliTest, FleetPlanWritesEachRadioItsOwnValues) {
    const CRadios radios({{"--variant", "5"}, {"--variant", "5"}, {"--variant", "5"}});
    const std::string f = MakeFile("shop.hxq", 5);
    const std::string plan = File("plan.csv"), report = File("report.csv");
    // A byte-order mark, CR LF, a quoted comma, an empty cell that keeps, a snapped frequency.
    WriteText(plan, std::string("\xEF\xBB\xBF") + "radio," + kTx +
                        ",Mch.CH1.FreqRx,comment\r\n"
                        "1,10101,446.00625,\"Smith, A\"\r\n"
                        "2,10102,,Jones\r\n"
                        "3,10103,446.0031,\r\n");
    const CRun w =
        Run(Args({"write", f}, radios.ports, {"--plan", plan, "--report", report}), "y\n");
    ASSERT_EQ(w.exit, 0) << w.out << w.err;
    EXPECT_TRUE(Has(w.err, "row 3 (line 4), column 3 (Mch.CH1.FreqRx): given '446.0031', stored "
                           "'446.00313'"))
        << w.err;
    EXPECT_LT(w.err.find("446.0031"), w.err.find("Write to transceiver")) << w.err;
    const CRun r = Run(Args({"read"}, radios.ports, {"-o", File("back.hxq")}));
    ASSERT_EQ(r.exit, 0) << r.out << r.err;
    const char* want[][3] = {{"10101", "446.00625", "Smith, A"},
                             {"10102", "446.10000", "Jones"},
                             {"10103", "446.00313", ""}};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string pts = "pts" + radios.Path(i).substr(radios.Path(i).rfind('/') + 1);
        const std::string back = File(("back-" + pts + ".hxq").c_str());
        EXPECT_EQ(Get(back, kTx), want[i][0]) << i;
        EXPECT_EQ(Get(back, "Mch.CH1.FreqRx"), want[i][1]) << i;
        EXPECT_EQ(Get(back, "CommonSet.Common1.Comment1"), want[i][2]) << i;
    }
    const std::string csv = ReadAll(report);
    EXPECT_EQ(Lines(csv), 4u) << csv;
    EXPECT_TRUE(Has(csv, "radio,port,start,seconds,result,result text,verified,fingerprint," +
                             std::string(kTx) + ",Mch.CH1.FreqRx,comment,backup\r\n"))
        << csv;
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(Has(csv, std::to_string(i + 1) + "," + radios.Path(i) + ",")) << csv;
    EXPECT_TRUE(Has(csv, ",0,Cloning completed. Verified.,yes,")) << csv;
    EXPECT_TRUE(Has(csv, ",10101,446.00625,\"Smith, A\",")) << csv;

    // Nothing of these reaches a radio: each stops before any port is opened.
    struct Case {
        std::string plan;
        std::vector<std::string> extra;
        std::string err;
    };
    const std::string port0 = radios.Path(0);
    const Case cases[] = {
        {"radio,Mch.CH1.FreqRx\n1,446.1\n2,abc\n",
         {},
         "row 2 (line 3), column 2 (Mch.CH1.FreqRx): 'abc' refused"},
        {"radio,Mch.CH9.Nothing\n1,1\n",
         {},
         "row 1 (line 2), column 2 (Mch.CH9.Nothing): '1' refused (unknown path)"},
        {"radio,Mch.CH5.FreqRx\n1,446.1\n", {}, "column 2 (Mch.CH5.FreqRx): '446.1' not kept"},
        {"radio,comment\n1,a\n1,b\n", {}, "line 3, column 1: radio 1 has a row already"},
        {"radio,comment\n4,a\n", {}, "line 2, column 1: radio 4 is not in the run"},
        {"port,comment\n/dev/nothing,a\n", {}, "port /dev/nothing is not in the run"},
        {"port,comment\n" + port0 + ",a\n" + port0 + ",b\n", {}, "has a row already"},
        {"radio," + std::string(kTx) + ":\n1,x\n", {}, "'x' is not an integer code"},
        {"radio,comment\n1,\"a\n", {}, "line 2: a quoted field is not closed"},
        {"channel,comment\n1,a\n", {}, "the first column is 'radio' or 'port'"},
        {"radio,comment,x\n1,a\n", {}, "line 2: 2 cells, the header has 3"},
        {"", {"--number", std::string(kTx) + "=99998"}, "radio 3 would need more digits"},
        {"",
         {"--number", "Mch.CH5.FreqRx=446.1"},
         "radio 1, column 2 (Mch.CH5.FreqRx): '446.1' not kept"},
        {"", {"--number", "Mch.CH1.ChOn=ON"}, "START has no digits to count"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> tail = {"--report", File("no.csv"), "--yes"};
        if (!c.plan.empty()) {
            WriteText(plan, c.plan);
            tail.insert(tail.end(), {"--plan", plan});
        }
        tail.insert(tail.end(), c.extra.begin(), c.extra.end());
        const CRun no = Run(Args({"write", f}, radios.ports, tail));
        EXPECT_EQ(no.exit, 1) << c.plan << no.err;
        EXPECT_TRUE(Has(no.err, c.err)) << c.plan << "\n" << no.err;
        EXPECT_TRUE(Has(no.err, "nothing written")) << no.err;
        EXPECT_FALSE(Has(no.out, "radios at once")) << no.out;
        EXPECT_FALSE(QFile::exists(QString::fromStdString(File("no.csv")))) << c.plan;
    }
    const CRun again = Run(Args({"read"}, radios.ports, {"-o", File("again.hxq")}));
    EXPECT_EQ(again.exit, 0);
    const std::string pts = "pts" + port0.substr(port0.rfind('/') + 1);
    EXPECT_EQ(Get(File(("again-" + pts + ".hxq").c_str()), kTx), "10101");

    // A plan by port, its rows in another order than the ports, one port without a row: each
    // radio gets its port's row, the one without keeps the file's values.
    WriteText(plan, "port,Mch.CH2.ChOn:,comment\n" + radios.Path(2) + ",1,third\n" + port0 +
                        ",0,first\n");
    const CRun byPort = Run(Args({"write", f}, radios.ports, {"--plan", plan, "--yes"}));
    ASSERT_EQ(byPort.exit, 0) << byPort.err;
    const char* comments[] = {"first", "", "third"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string back = File(("port" + std::to_string(i) + ".hxq").c_str());
        EXPECT_EQ(Run({"read", "--port", radios.Path(i), "-o", back}).exit, 0);
        EXPECT_EQ(Get(back, "CommonSet.Common1.Comment1"), comments[i]) << i;
        EXPECT_EQ(Get(back, "Mch.CH2.ChOn"), i == 0 ? "OFF" : "ON") << i;
    }
}

// One faulty radio among four: the others are written with their numbered codes, the report
// names the failure, and the run ends with the failure's status; a report that cannot be
// written stops the run before any radio.
TEST_F(CliTest, FleetReportNamesTheFaultyRadio) {
    const CRadios radios({{"--variant", "5"},
                          {"--variant", "5"},
                          {"--variant", "5", "--fail-write"},
                          {"--variant", "5"}});
    const std::string f = MakeFile("shop.hxq", 5);
    const std::string report = File("report.csv");
    const CRun w =
        Run(Args({"write", f}, radios.ports,
                 {"--number", std::string(kTx) + "=00101", "--report", report, "--yes"}));
    EXPECT_EQ(w.exit, 77) << w.out << w.err;
    const std::string csv = ReadAll(report);
    EXPECT_EQ(Lines(csv), 5u) << csv;
    EXPECT_TRUE(Has(csv, "3," + radios.Path(2) + ",")) << csv;
    EXPECT_TRUE(Has(csv, ",77,Err: Cannot write cloning data.,not asked,,00103,")) << csv;
    for (const char* code : {"00101", "00102", "00104"})
        EXPECT_TRUE(Has(csv, std::string(",0,Cloning completed. Verified.,yes,")) &&
                    Has(csv, std::string(",") + code + ","))
            << code << csv;
    const CRun r = Run({"read", "--port", radios.Path(3), "-o", File("four.hxq")});
    EXPECT_EQ(Get(File("four.hxq"), kTx), "00104") << r.err;
    // The same table printed, with the file and the date in its heading.
    const CRun pdf = Run(
        Args({"write", f}, radios.ports,
             {"--number", std::string(kTx) + "=00101", "--report", File("report.pdf"), "--yes"}));
    EXPECT_EQ(pdf.exit, 77) << pdf.err;
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QString::fromStdString(File("report.pdf")), "-"});
    ASSERT_TRUE(text.waitForFinished(10000));
    const std::string printed = text.readAllStandardOutput().toStdString();
    for (const std::string& part :
         {std::string("Delivery Report"), f, std::string("00103"), std::string("3 of 4 succeeded")})
        EXPECT_TRUE(Has(printed, part)) << part << "\n" << printed;
    // A report into a folder that is not there.
    const CRun no =
        Run(Args({"write", f}, radios.ports, {"--report", File("none/report.csv"), "--yes"}));
    EXPECT_EQ(no.exit, 74) << no.err;
    EXPECT_TRUE(Has(no.err, "the report " + File("none/report.csv") + " cannot be written"))
        << no.err;
    EXPECT_FALSE(Has(no.out, "radios at once")) << no.out;
}
