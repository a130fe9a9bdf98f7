#include <sstream>

#include "rig.h"

namespace {
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t p = 0;
    for (std::size_t q; (q = text.find("\r\n", p)) != std::string::npos; p = q + 2)
        out.push_back(text.substr(p, q - p));
    EXPECT_EQ(p, text.size()) << "every line ends in CR LF";
    return out;
}
} // namespace

TEST_F(AdjustRig, ParameterReportOfAKnownImage) {
    ConnectAndSettle();
    const auto lines = Lines(app->ops.eepMap.RigZ30Eep_DispPara());
    ASSERT_EQ(lines.size(), 85u);
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "           POW HI Level:  200"},          {1, "           POW L2 Level:  150"},
        {2, "           POW L1 Level:  100"},          {3, "         DTCS Bal Level:   77"},
        {4, "            MOD W Level:  128"},          {5, "            MOD N Level:   64"},
        {6, "              SQL Level:   90"},          {7, "           BPF T1 Level:  -10"},
        {10, "           BPF T4 Level: -128"},         {11, "       MOD Level(Div) 0:  -88"},
        {15, "       MOD Level(Div) 4:  -60"},         {16, "     Power Level(Div) 0:  -53"},
        {21, "              MOD Slant:   -2"},         {22, "              SQL Slant:    3"},
        {23, "         Base Frequency:   450.000MHz"}, {24, "             REF Area 0:    0"},
        {44, "            REF Area 20:  255"},         {45, "          REF Initial 0:  100"},
        {64, "         REF Initial 19:  119"},         {65, "            REF Slant 0:  -10"},
        {84, "           REF Slant 19:    9"},
    };
    for (const auto& [i, text] : expected)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], text);
    for (const std::string& l : lines)
        EXPECT_EQ(l.find(':'), 23u) << l;
}

TEST_F(AdjustRig, SpecialConsoleLinesOfAKnownImage) {
    ConnectAndSettle();
    const auto& lb = app->ops.lboConsole;
    EXPECT_EQ(lb.Line(0),
              "    CH No.: 01 (RX Freq = 450.125, TX Freq =   <-     RF Power: High  Mode: Narrow");
    con().UpDown(0, 1);
    EXPECT_EQ(lb.Line(0),
              "    CH No.: 02 (RX Freq = Inhibit, TX Freq = 450.300  RF Power: Low1  Mode: Wide");
    con().UpDown(0, 1);
    EXPECT_EQ(lb.Line(0),
              "    CH No.: 03 (RX Freq = 460.000, TX Freq = Inhibit  RF Power: Low2  Mode: Wide");
    con().UpDown(0, 1);
    EXPECT_EQ(con().Value(0), 0) << "the channel item wraps";
    Run(1000);
    EXPECT_EQ(app->ops.txChannel, 0);
    EXPECT_EQ(lb.Line(1), " Power(Hi): 200 [################----]");
    EXPECT_EQ(lb.Line(8), "   BPF ALL: [Enter] to Sweep");
    EXPECT_EQ(lb.Line(9), "    BPF T1: -10 [#########-----------] [Enter] to Sweep");
    EXPECT_EQ(lb.Line(12), "    BPF T4:-128 [--------------------] [Enter] to Sweep");
    EXPECT_EQ(lb.Line(13), "       TXF: [Enter] to Start");
    con().UpDown(12, -1);
    EXPECT_EQ(con().Value(12), -128) << "other items stop at their bounds";
    con().Value(12, 127);
    EXPECT_EQ(lb.Line(12), "    BPF T4: 127 [####################] [Enter] to Sweep");
}

TEST_F(AdjustRig, ImageWithoutChannelsGivesOneEntry) {
    for (int n = 0; n < 36; ++n)
        radio->image[static_cast<std::size_t>(512 + 20 * n)] = 0xFF;
    ConnectAndSettle();
    EXPECT_EQ(app->ops.chTable, std::vector<std::int16_t>{0});
    EXPECT_EQ(con().Item(0).Max, 0);
}

TEST_F(AdjustRig, ReloadBeforeConnectDoesNothing) {
    app->ops.RigOpFunc_ClickCmd00(1);
    Run(500);
    EXPECT_EQ(app->ops.opState, 0);
    EXPECT_TRUE(app->ops.RigZ30Prop_Shielding());
    EXPECT_TRUE(radio->sent.empty());
}
