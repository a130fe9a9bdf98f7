// What every kind of node says it did with a value: stored as given, adjusted (with what it
// holds now), or refused (and the value stays).
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using Make = std::function<std::unique_ptr<CNode>()>;

std::unique_ptr<CNode> Choice() {
    auto n = std::make_unique<CNumNode>("RfPwr", 0, 0, 0, 2);
    n->Choices({{0, "Low1"}, {1, "Low2"}, {2, "High"}});
    return n;
}
std::unique_ptr<CNode> Bit() { return std::make_unique<CBitNode>("ChOn", "OFF", "ON"); }
std::unique_ptr<CNode> Number() { return std::make_unique<CNumNode>("NoTonTim", 2, 2, 2, 30); }
std::unique_ptr<CNode> String() { return std::make_unique<CStringNode>("Comment1", "OLD"); }
std::unique_ptr<CNode> Branch() { return std::make_unique<CNode>("CH1"); }
std::unique_ptr<CNode> Channel() { return std::make_unique<CZ30MchFreqNode>("FreqRx"); }
std::unique_ptr<CNode> If() { return std::make_unique<CZ30IfFreqNode>("IfFreq"); }
std::unique_ptr<CNode> Beep() {
    return std::make_unique<CZ30BeepFreqNode>("BeepFreqH", 400, 400, 400, 3000);
}
std::unique_ptr<CNode> Ctcss() {
    return std::make_unique<CZ30UsrCtcssFreqNode>("UsrCtcssFreq", 1000, 1000, 600, 3000);
}
std::unique_ptr<CNode> Enc() {
    return std::make_unique<CZ30UsrTonEncNode>("Enc", 400, 400, 400, 3000);
}
std::unique_ptr<CNode> Dec() {
    return std::make_unique<CZ30UsrTonDecNode>("1stFreqLo", 250, 250, 239, 3402);
}
std::unique_ptr<CNode> TwoTone() {
    return std::make_unique<CFreqNode>("1stFreq", 2500, 2500, 2500, 33002, 10);
}

constexpr auto S = CSetStatus::Stored;
constexpr auto A = CSetStatus::Adjusted;
constexpr auto R = CSetStatus::Refused;

struct Case {
    const char* kind;
    Make make;
    const char* text; // null: give code
    int code;
    CSetStatus status;
    CSetReason reason;
    const char* stored; // the node's value text afterwards
};

TEST(SetResult, EveryNodeKindSaysWhatItDid) {
    using W = CSetReason;
    const Case cases[] = {
        {"choice", Choice, "High", 0, S, W::None, "High"},
        {"choice", Choice, "high", 0, R, W::NotAChoice, "Low1"},
        {"choice", Choice, nullptr, 1, S, W::None, "Low2"},
        {"choice", Choice, nullptr, 9, A, W::Clamped, "High"},
        {"bit", Bit, "ON", 0, S, W::None, "ON"},
        {"bit", Bit, "1", 0, R, W::NotAChoice, "OFF"},
        {"bit", Bit, nullptr, 5, A, W::Clamped, "ON"},
        {"number", Number, nullptr, 17, S, W::None, "17"},
        {"number", Number, nullptr, -4, A, W::Clamped, "2"},
        {"number", Number, "17", 0, R, W::NotAChoice, "2"}, // no texts: only codes
        {"string", String, "NEW", 0, S, W::None, "NEW"},
        {"string", String, "NEW  \t", 0, A, W::Trimmed, "NEW"},
        {"string", String, "", 0, S, W::None, ""},
        {"string", String, nullptr, 3, R, W::NoValue, "OLD"},
        {"branch", Branch, "x", 0, R, W::NoValue, ""},
        {"branch", Branch, nullptr, 3, R, W::NoValue, ""},
        {"channel", Channel, "446.1", 0, S, W::None, "446.10000"},
        {"channel", Channel, " 446.1 ", 0, S, W::None, "446.10000"},
        {"channel", Channel, "146.531", 0, A, W::Snapped, "146.53125"},
        {"channel", Channel, "9999", 0, A, W::Clamped, "799.99750"},
        {"channel", Channel, "-5", 0, A, W::Clamped, "0.00000"},
        {"channel", Channel, "0.001", 0, R, W::OffRaster, "0.00000"},
        {"channel", Channel, "446,1", 0, S, W::None, "446.10000"},
        {"channel", Channel, "446,1,0", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "12abc", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "nan", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "-inf", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "1e308", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "0x1p3", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, "", 0, R, W::NotANumber, "0.00000"},
        {"channel", Channel, nullptr, 146531001, S, W::None, "146.53100"}, // codes: no snap
        {"channel", Channel, nullptr, 900000000, A, W::Clamped, "799.99750"},
        {"IF", If, "-46.350", 0, S, W::None, "-46.35000"},
        {"IF", If, "46.351", 0, R, W::OffRaster, "0.00000"},
        {"IF", If, "1e20", 0, R, W::NotANumber, "0.00000"},
        {"beep", Beep, "400", 0, S, W::None, "400.00000"},
        {"beep", Beep, "1000", 0, A, W::Snapped, "993.00000"},
        {"beep", Beep, "3000", 0, A, W::Snapped, "3032.00000"},
        {"beep", Beep, "10", 0, A, W::Clamped, "400.00000"},
        {"beep", Beep, "1e308", 0, R, W::NotANumber, "400.00000"},
        {"CTCSS", Ctcss, "254.1", 0, A, W::Snapped, "254.30000"},
        {"CTCSS", Ctcss, "100", 0, S, W::None, "100.00000"},
        {"CTCSS", Ctcss, "10", 0, A, W::Clamped, "60.00000"},
        {"encoder", Enc, "1000", 0, S, W::None, "1000.00000"},
        {"encoder", Enc, "100", 0, A, W::Clamped, "400.00000"},
        {"decoder", Dec, "1234", 0, S, W::None, "1234.00000"},
        {"decoder", Dec, "1234.4", 0, A, W::Rounded, "1234.00000"},
        {"decoder", Dec, "5000", 0, A, W::Clamped, "3402.00000"},
        {"decoder", Dec, "inf", 0, R, W::NotANumber, "250.00000"},
        {"two-tone", TwoTone, "1234.5", 0, S, W::None, "1234.50000"},
        {"two-tone", TwoTone, "1234.56", 0, A, W::Rounded, "1234.60000"},
        {"two-tone", TwoTone, "100", 0, A, W::Clamped, "250.00000"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CNode> node = c.make();
        const int before = node->GetValue();
        const std::string what =
            std::string(c.kind) + " " +
            (c.text ? "'" + std::string(c.text) + "'" : std::to_string(c.code));
        const CSetResult r = c.text ? node->SetText(c.text) : node->SetValue(c.code);
        EXPECT_EQ(r.status, c.status) << what << ": " << SetStatusWord(r.status);
        EXPECT_EQ(r.reason, c.reason) << what << ": " << SetReasonText(r.reason);
        EXPECT_EQ(r.stored, c.stored) << what;
        if (c.status != R) {
            EXPECT_EQ(ValueText(*node), c.stored) << what;
        } else {
            EXPECT_EQ(node->GetValue(), before) << what << " changed the value";
        }
    }
}

TEST(SetResult, AccessorsReportMissingChildren) {
    CNode parent("Mch");
    auto text = std::make_unique<CStringNode>("Code", "");
    auto number = std::make_unique<CNumNode>("PrioA", 0, 0, 0, 36);
    parent.AddChild(text.get());
    parent.AddChild(number.get());
    EXPECT_EQ(SetTextByName(&parent, "Nope", "1").reason, CSetReason::UnknownPath);
    EXPECT_EQ(SetValueByName(nullptr, "PrioA", 1).reason, CSetReason::UnknownPath);
    EXPECT_EQ(SetStringByName(&parent, "PrioA", "1").reason, CSetReason::NoValue);
    EXPECT_EQ(SetStringByName(&parent, "Code", "123 ").reason, CSetReason::Trimmed);
    EXPECT_EQ(SetValueByName(&parent, "PrioA", 40).stored, "36");
}

} // namespace
