// The signalling sheets and dialogs without a window: timer texts, row texts and captions, what
// the row editors and dialogs store (down to the image bytes) and the dialogs' printable fields.
#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "sheets/signal_sheets.h"
#include "tests/support/variant_doc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;

class SignalRules : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override { ResetPlatform(); }

    static void Set(CZ30Doc& doc, const std::string& path, const std::string& text) {
        ASSERT_TRUE(GetNode(doc.GetRoot(), path)->SetText(text).Taken()) << path << " " << text;
    }
};

std::string Join(const std::vector<std::string>& cells) {
    std::string joined;
    for (const std::string& cell : cells)
        joined += (joined.empty() ? "" : "|") + cell;
    return joined;
}

int FieldIndex(const CFormDesc& form, const std::string& node) {
    for (std::size_t i = 0; i < form.fields.size(); ++i)
        if (node == form.fields[i].path) return static_cast<int>(i);
    return -1;
}

} // namespace

TEST_F(SignalRules, TimerTextsTakeTheScaleTheRangeAndTheEvenRule) {
    struct Case {
        const char* text;
        int scale;
        bool even;
        int min, max;
        int held;
        CSetStatus status;
        const char* stored; // shown after an adjustment
    };
    const Case cases[] = {
        {"0.080", 100, true, 2, 30, 8, CSetStatus::Stored, ""},
        {"0.075", 100, true, 2, 30, 6, CSetStatus::Adjusted, "0.060"},  // made even
        {"0.5", 100, true, 2, 30, 30, CSetStatus::Adjusted, "0.300"},   // clamped
        {"fast", 100, true, 2, 30, 2, CSetStatus::Adjusted, "0.020"},   // not a number: 0
        {"25.5", 10, false, 0, 255, 255, CSetStatus::Stored, ""},       // a period
        {"30", 10, false, 0, 255, 255, CSetStatus::Adjusted, "25.500"}, // clamped by the node
        {"1.2345", 1000, false, 9, 2327, 1234, CSetStatus::Adjusted, "1.234"},
        {"61", 1, false, 0, 60, 60, CSetStatus::Adjusted, "60.000"},
        {"-5", 1, false, 0, 60, 0, CSetStatus::Adjusted, "0.000"},
        {"7.000", 1, false, 0, 60, 7, CSetStatus::Stored, ""},
        // Numbers no value stands for: refused, the node keeps its value.
        {"nan", 100, true, 2, 30, 2, CSetStatus::Refused, ""},
        {"inf", 10, false, 5, 255, 5, CSetStatus::Refused, ""},
        {"1e308", 1, false, 5, 60, 5, CSetStatus::Refused, ""},
        {"0x1p3", 1, false, 5, 60, 5, CSetStatus::Refused, ""},
    };
    for (const Case& c : cases) {
        CNumNode node("Timer", c.min, c.min, c.min, c.max);
        const CSetResult r = SetTimerText(&node, c.text, c.scale, c.even);
        EXPECT_EQ(node.GetValue(), c.held) << c.text;
        EXPECT_EQ(r.status, c.status) << c.text;
        if (c.status == CSetStatus::Adjusted) {
            EXPECT_EQ(r.stored, c.stored) << c.text;
        }
    }
    EXPECT_EQ(TimerText(7, 1), "7.000");
    EXPECT_EQ(TimerText(2327, 1000), "2.327");
}

TEST_F(SignalRules, RowsShowTheirCodesAndCaptionsNameTheRow) {
    auto lmr = VariantDoc(kLmr16);
    auto pmr = VariantDoc(kPmr16);
    // Children of one node set from texts.
    auto set = [](CZ30Doc& doc, const std::string& node,
                  std::initializer_list<std::pair<const char*, const char*>> texts) {
        for (const auto& [child, text] : texts)
            Set(doc, node + "." + child, text);
    };
    set(*lmr, "2ToneCodeCH.RXCodeCH.CH1",
        {{"1stFreq", "1000"},
         {"2ndFreq", "1500"},
         {"Group", "2nd"},
         {"Bell", "ON"},
         {"ANS", "ON"},
         {"Beep", "Pi(single)"},
         {"Stun", "Kill"},
         {"Scan", "Start"}});
    set(*lmr, "2ToneCodeCH.RXCodeCH.CHG",
        {{"Bell", "Blink"}, {"ANS", "OFF"}, {"Beep", "Null"}, {"Stun", "OFF"}, {"Scan", "Cancel"}});
    set(*pmr, "5ToneCodeCH.TxCodeCom", {{"SpcTonGrp", "E"}});
    set(*pmr, "5ToneCodeCH.RXCodeCH.CH1",
        {{"RxCode", "1E+E2"},
         {"IdDec", "ON"},
         {"Bell", "OFF"},
         {"EmrCanc", "Cancel"},
         {"ABC", "STN"},
         {"Beep", "Pi(repeat)"},
         {"AudMode", "IN_A"},
         {"Stun", "OFF"},
         {"Scan", "Null"}});
    set(*pmr, "5ToneCodeCH.RXCodeCH.CHG", {{"ABC", "3"}});
    set(*pmr, "5ToneCodeCH.TXCodeCH.CH32", {{"TxCode", "9E"}, {"ABCDec", "ON"}, {"ABCAud", "OFF"}});
    set(*pmr, "5ToneCodeCH.UsrTon.14", {{"Enc", "1000"}, {"DecL", "970"}, {"DecH", "1030"}});
    for (const auto& [path, code] : {std::pair{"5ToneCodeCH.Format.CCIR.TonPeriod", 100},
                                     {"5ToneCodeCH.Format.CCIR.NoTonTim", 16},
                                     {"5ToneCodeCH.Format.CCIR.TonLen", 155},
                                     {"5ToneCodeCH.Format.DTMF.TonPeriod", 50},
                                     {"5ToneCodeCH.Format.DTMF.NoTonTim", 8}})
        GetNode(pmr->GetRoot(), path)->SetValue(code);

    struct Case {
        CZ30Doc* doc;
        CSignalSheet sheet;
        int row;
        const char* cells;
        const char* caption;
    };
    const Case cases[] = {
        {lmr.get(), CSignalSheet::TwoToneRx, 0,
         "1|1000.00000|1500.00000|2nd|ON|ON|Pi(single)|Kill|Start", " - CH 1"},
        {lmr.get(), CSignalSheet::TwoToneRx, 3, "G|-----|-----|---|Blink|OFF|Null|OFF|Cancel",
         " - Group"},
        {pmr.get(), CSignalSheet::FiveToneRx, 0,
         "1|1*+*2|ON|OFF|Cancel|STN|Pi(repeat)|IN_A|OFF|Null", " - CH 1"},
        {pmr.get(), CSignalSheet::FiveToneTx, 31, "32|9*|ON|OFF", " - CH 32"},
        {pmr.get(), CSignalSheet::FiveToneFormat, 1, "CCIR|0.100|0.160|0.155", " - CCIR"},
        {pmr.get(), CSignalSheet::FiveToneFormat, 9, "DTMF|0.050|0.080|-----", " - DTMF"},
        {pmr.get(), CSignalSheet::FiveToneUserTone, 14, "E|1000.00000|970.00000|1030.00000",
         " - E"},
        {pmr.get(), CSignalSheet::FiveToneUserTone, 10, "", " - A"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> cells = SignalRowTexts(c.doc->GetRoot(), c.sheet, c.row);
        if (*c.cells) {
            EXPECT_EQ(Join(cells), c.cells);
        }
        EXPECT_EQ(static_cast<int>(cells.size()), SignalSheetDef(c.sheet).desc.columns) << c.cells;
        EXPECT_EQ(SignalCaption(c.sheet, c.row), c.caption);
        EXPECT_EQ(SignalCaption(c.sheet, -1), "     ");
    }
    // The group code shows neither code nor "ABC", whatever it holds.
    const std::vector<std::string> group =
        SignalRowTexts(pmr->GetRoot(), CSignalSheet::FiveToneRx, 3);
    EXPECT_EQ(group[1], "-----");
    EXPECT_EQ(group[5], "---");
}

TEST_F(SignalRules, EditorsStoreWhatTheyShowDownToTheImageBytes) {
    auto lmr = VariantDoc(kLmr16);
    auto pmr = VariantDoc(kPmr16);
    struct Bytes {
        int address;
        std::vector<int> bytes;
    };
    struct Outcome {
        const char* path;
        CSetStatus status;
    };
    struct Case {
        CZ30Doc* doc;
        bool dialog;
        int which; // CSignalSheet or CSignalDialog
        int row;
        std::vector<std::pair<const char*, const char*>> typed; // field node, text
        std::vector<std::pair<const char*, const char*>> held;  // path, text afterwards
        std::vector<Bytes> image;
        std::vector<Outcome> outcomes;
    };
    using S = CSignalSheet;
    using D = CSignalDialog;
    // clang-format off
    const Case cases[] = {
        // The window of each tone is centred on it: 970-1030 and 1455-1545 Hz.
        {lmr.get(), false, int(S::TwoToneRx), 0, {{"1stFreq", "1000.0"}, {"2ndFreq", "1500.0"}},
         {{"2ToneCodeCH.RXCodeCH.CH1.1stFreq", "1000.00000"}},
         {{0x013E, {0x03, 0xCA, 0x04, 0x06, 0x05, 0xAF, 0x06, 0x09}}},
         {{"2ToneCodeCH.RXCodeCH.CH1.1stFreq", CSetStatus::Stored}}},
        // 449.8 Hz: window 437-463, centre 450.0, once though both tones were set; read back,
        // that window moves to 450.5, which the tree takes.
        {lmr.get(), false, int(S::TwoToneRx), 1, {{"1stFreq", "449.8"}, {"2ndFreq", "1500.0"}},
         {{"2ToneCodeCH.RXCodeCH.CH2.1stFreq", "450.50000"}},
         {{0x0146, {0x01, 0xB5, 0x01, 0xCF}}},
         {{"2ToneCodeCH.RXCodeCH.CH2.1stFreq", CSetStatus::Adjusted}}},
        // The group code has no tones and no group call: those fields are not stored.
        {lmr.get(), false, int(S::TwoToneRx), 3,
         {{"1stFreq", "1000"}, {"Group", "2nd"}, {"Bell", "ON"}},
         {{"2ToneCodeCH.RXCodeCH.CHG.1stFreq", "250.00000"},
          {"2ToneCodeCH.RXCodeCH.CHG.Group", "1st"}, {"2ToneCodeCH.RXCodeCH.CHG.Bell", "ON"}},
         {}, {}},
        {lmr.get(), true, int(D::TwoToneSetting), 0,
         {{"NoTonTim", "0.075"}, {"GroupTim", "2.5"}, {"BeepRepTim", "61"}},
         {{"2ToneCodeCH.RXCodeCom.GroupTim", "25"}},
         {{0x0183, {6}}, {0x008C, {25}}, {0x0097, {60}}},
         {{"2ToneCodeCH.RXCodeCom.NoTonTim", CSetStatus::Adjusted},
          {"2ToneCodeCH.RXCodeCom.GroupTim", CSetStatus::Stored},
          {"2ToneCodeCH.RXCodeCom.BeepRepTim", CSetStatus::Adjusted}}},
        {lmr.get(), true, int(D::TwoToneTxCode), 0,
         {{"CodeType", "Group"}, {"1stTonPeriod", "2.5"}, {"1stTonFreq", "1000"}},
         {{"2ToneCodeCH.TXCode.CodeType", "Group"}},
         {{0x0520, {0x0F, 0xFF, 0xFF, 0xFF}}, {0x0087, {25}}, {0x0120, {0x09, 0x69}}},
         {}},
        {pmr.get(), true, int(D::FiveToneSetting), 0,
         {{"TxCodeCom.SpcTonGrp", "E"}, {"TxCodeCom.LngTonTim", "1.5"},
          {"RxCodeCom.CompDigit7", "ON"}},
         {{"5ToneCodeCH.TxCodeCom.SpcTonGrp", "E"}, {"5ToneCodeCH.RxCodeCom.CompDigit7", "1"}},
         {{0x0078, {0x0E}}, {0x0087, {150}}},
         {}},
        // "*" and "G" stand for the group tone E; "+" is a wildcard digit.
        {pmr.get(), false, int(S::FiveToneRx), 0, {{"RxCode", "12*4G"}},
         {{"5ToneCodeCH.RXCodeCH.CH1.RxCode", "12E4E"}},
         {{0x0605, {0x12, 0xE4, 0xEF, 0xFF}}}, {}},
        {pmr.get(), false, int(S::FiveToneRx), 1, {{"RxCode", "1+3"}},
         {{"5ToneCodeCH.RXCodeCH.CH2.RxCode", "1+3"}},
         {{0x060E, {0x10, 0x3F, 0xFF, 0xFF}}}, {}},
        // An emptied code keeps the code it had.
        {pmr.get(), false, int(S::FiveToneRx), 2, {{"RxCode", ""}},
         {{"5ToneCodeCH.RXCodeCH.CH3.RxCode", "33333"}},
         {{0x0617, {0x33, 0x33, 0x3F, 0xFF}}},
         {{"5ToneCodeCH.RXCodeCH.CH3.RxCode", CSetStatus::Refused}}},
        {pmr.get(), false, int(S::FiveToneTx), 4, {{"TxCode", "G12"}, {"ABCAud", "ON"}},
         {{"5ToneCodeCH.TXCodeCH.CH5.TxCode", "E12"}, {"5ToneCodeCH.TXCodeCH.CH5.ABCAud", "ON"}},
         {{0x0538, {0xE1, 0x2F, 0xFF, 0xFF}}}, {}},
        // The radio keeps even notone times and tone lengths in steps of 9.125 ms.
        {pmr.get(), false, int(S::FiveToneFormat), 1,
         {{"TonPeriod", "0.1"}, {"NoTonTim", "0.075"}, {"TonLen", "1.000"}},
         {{"5ToneCodeCH.Format.CCIR.TonLen", "995"}},
         {{0x017B, {100}}, {0x0184, {8}}, {0x018D, {109}}},
         {{"5ToneCodeCH.Format.CCIR.NoTonTim", CSetStatus::Adjusted},
          {"5ToneCodeCH.Format.CCIR.TonLen", CSetStatus::Adjusted}}},
        {pmr.get(), false, int(S::FiveToneUserTone), 14,
         {{"Enc", "1000"}, {"DecL", "970"}, {"DecH", "1030"}},
         {{"5ToneCodeCH.UsrTon.14.Enc", "1000.00000"}},
         {{0x013C, {0x09, 0x69}}, {0x0176, {0x03, 0xCA, 0x04, 0x06}}}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        CNode* root = c.doc->GetRoot();
        const CBoundForm bound =
            c.dialog ? BindForm(SignalDialogForm(CSignalDialog(c.which)), c.doc->GetVariant())
                     : RowEditor(CSignalSheet(c.which), c.row, c.doc->GetVariant());
        const CFormDesc& form = *bound.form;
        const std::string& base = bound.base;
        CFormState state = ReadForm(root, bound);
        for (const auto& [node, text] : c.typed) {
            const int i = FieldIndex(form, node);
            ASSERT_GE(i, 0) << node;
            state.texts[i] = text;
        }
        const std::string what = std::string(form.title) + " " + base;
        const CEditStep step = c.doc->Edit(what, [&](CNode& r, CEditReport& report) {
            for (const CFieldResult& f : ApplyForm(&r, bound, state))
                report.Add(f.node, f.given, f.result);
        });
        for (const auto& [path, text] : c.held)
            EXPECT_EQ(ValueText(*GetNode(root, path)), text) << what << " " << path;
        for (const Bytes& b : c.image)
            for (std::size_t i = 0; i < b.bytes.size(); ++i)
                EXPECT_EQ(step.after.at(b.address + i), b.bytes[i])
                    << what << " at " << std::hex << b.address + i;
        for (const Outcome& o : c.outcomes) {
            bool found = false;
            for (const CEditOutcome& e : step.outcomes) {
                if (e.path != o.path) continue;
                found = true;
                EXPECT_EQ(e.result.status, o.status) << what << " " << o.path;
            }
            EXPECT_TRUE(found) << what << " " << o.path;
        }
    }
}

TEST_F(SignalRules, DialogsListTheirFieldsAsTheyShowThem) {
    auto lmr = VariantDoc(kLmr16);
    for (const auto& [path, code] : {std::pair{"CodeType", 1},
                                     {"1stTonFreq", 1000},
                                     {"1stTonPeriod", 25},
                                     {"2ndTonFreq", 1500},
                                     {"2ndTonPeriod", 3}})
        GetNode(lmr->GetRoot(), std::string("2ToneCodeCH.TXCode.") + path)->SetValue(code);
    std::string txCode;
    for (const CFormCell& f : FormCells(
             lmr->GetRoot(), BindForm(SignalDialogForm(CSignalDialog::TwoToneTxCode), kLmr16)))
        txCode += f.group + "/" + f.label + "=" + f.value + ";";
    EXPECT_EQ(txCode, "/Code Type=Group;1st Tone/Frequency=1000.00000;1st Tone/Period=2.500;"
                      "2nd Tone/Frequency=1500.00000;2nd Tone/Period=0.300;");

    auto pmr = VariantDoc(kPmr16);
    const std::vector<CFormCell> five = FormCells(
        pmr->GetRoot(), BindForm(SignalDialogForm(CSignalDialog::FiveToneSetting), kPmr16));
    ASSERT_EQ(five.size(), 20u);
    EXPECT_EQ(five[9].group + "/" + five[9].label, "Special Tone/PTT Call at Inaudible");
    EXPECT_EQ(five[19].group + "/" + five[19].subgroup + "/" + five[19].label,
              "RX Code CH/Compare Digit/7");
}
