#include "params/freq_nodes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct TextCase {
    const char* text;
    int before;
    int expected;
};

TEST(MchFreqNode, SnapsTypedTextOntoChannelRaster) {
    const TextCase cases[] = {
        {"146.531", 0, 146531250},  // 6.25 kHz raster
        {"146.525", 0, 146525000},  // 2.5 kHz raster, no offset needed
        {"146.5209", 0, 146520000}, // sub-kHz digits beyond the raster are dropped
        {"150.00625", 0, 150006250},
        {"150.0031", 0, 150003125},    // 3.125 kHz raster
        {"-5", 7000, 0},               // negative counts as 0
        {"  \t430.1", 0, 430100000},   // leading blanks
        {"abc", 146525000, 146525000}, // no number: unchanged
        {"", 146525000, 146525000},
        {"9999", 0, 799997500}, // above the range: clamped
        {"1e300", 7000, 7000},  // far beyond any value: not a number
        {"inf", 7000, 7000},
        {"nan", 7000, 7000},
        {"446,1", 7000, 446100000}, // a decimal comma
        {"446,1,2", 7000, 7000},    // trailing junk
        {"4.46,1", 7000, 7000},
        {"000000000000000146.525", 7000, 0}, // only 15 characters are read
    };
    for (const TextCase& c : cases) {
        CZ30MchFreqNode node("FreqRx");
        node.SetValue(c.before);
        node.SetText(c.text);
        EXPECT_EQ(node.GetValue(), c.expected) << c.text;
    }
}

TEST(MchFreqNode, TextAndGridText) {
    CZ30MchFreqNode node("FreqRx");
    node.SetValue(146525000);
    EXPECT_EQ(node.GetText(), "146.52500");
    EXPECT_EQ(node.GridText(), "146.525000");
    // A value that is off the raster is snapped by GridText.
    node.SetValue(146531000);
    EXPECT_EQ(node.GridText(), "146.531250");
    EXPECT_EQ(node.GetValue(), 146531250);
    // SetValue clamps but never snaps.
    node.SetValue(146531001);
    EXPECT_EQ(node.GetValue(), 146531001);
    node.SetValue(-1);
    EXPECT_EQ(node.GetValue(), 0);
}

TEST(IfFreqNode, SignedOffsetOn25kHzRaster) {
    const TextCase cases[] = {
        {"-46.350", 0, -46350000},  {" -46.350", 0, -46350000},
        {"46.351", 123000, 123000}, {"46.375", 0, 46375000},
        {"x", 25000, 25000},        {"150", 0, 99975000},
        {"-150", 0, -99975000},     {"1e20", 0, 0},
        {"-", 50000, 50000},
    };
    for (const TextCase& c : cases) {
        CZ30IfFreqNode node("IfFreq");
        node.SetValue(c.before);
        node.SetText(c.text);
        EXPECT_EQ(node.GetValue(), c.expected) << c.text;
    }
}

TEST(ToneNodes, TypedTonesLandOnTheDividerGrid) {
    struct Case {
        CFreqNode* node;
        const char* text;
        int expected;
    };
    CZ30BeepFreqNode beep("BeepFreqH", 400, 400, 400, 3000);
    CZ30UsrCtcssFreqNode ctcss("UsrCtcssFreq", 1000, 1000, 600, 3000);
    CZ30UsrTonEncNode enc("Enc", 400, 400, 400, 3000);
    CZ30UsrTonDecNode dec("1stFreqLo", 250, 250, 239, 3402);
    const Case cases[] = {
        {&beep, "400", 400},   {&beep, "1000", 993}, {&beep, "3000", 3032},
        {&beep, "10", 400},    {&beep, "1e40", 400}, {&ctcss, "254.1", 2543},
        {&ctcss, "100", 1000}, {&ctcss, "10", 600},  {&ctcss, "999", 3000},
        {&enc, "1000", 1000},  {&enc, "1234", 1234}, {&enc, "2999", 2999},
        {&enc, "100", 400},    {&dec, "100", 239},   {&dec, "1234.4", 1234},
        {&dec, "5000", 3402},
    };
    for (const Case& c : cases) {
        c.node->SetText(c.text);
        EXPECT_EQ(c.node->GetValue(), c.expected) << c.node->GetName() << " " << c.text;
    }
    EXPECT_EQ(CZ30BeepFreqNode::Divider(3000), 19);
    EXPECT_EQ(CZ30BeepFreqNode::Divider(3032), 19);
    ctcss.SetText("254.1");
    EXPECT_EQ(ctcss.GetText(), "254.30000");
}

TEST(ToneNodes, EncoderTonesAreOnTheGeneratorStep) {
    // Every tone the encoder node produces survives a word round trip unchanged.
    CZ30UsrTonEncNode enc("1stTonFreq", 250, 250, 250, 3300);
    for (int hz = 250; hz <= 3300; hz += 7) {
        enc.SetText(std::to_string(hz));
        const int f = enc.GetValue();
        EXPECT_LE(std::abs(f - hz), 1) << hz;
        EXPECT_EQ(CZ30UsrTonEncNode::FromWord(CZ30UsrTonEncNode::Word(f)), f) << hz;
    }
}

TEST(FreqNode, TenthsOfHertzAndCopy) {
    CFreqNode node("1stFreq", 2500, 2500, 2500, 33002, 10);
    node.SetText("1234.56");
    EXPECT_EQ(node.GetValue(), 12346);
    EXPECT_EQ(node.GetText(), "1234.60000");
    node.SetText("nonsense");
    EXPECT_EQ(node.GetValue(), 12346);
    CFreqNode copy("other", 2500, 2500, 2500, 33002, 10);
    copy.CopyFrom(node);
    EXPECT_EQ(copy.GetValue(), 12346);
    EXPECT_EQ(copy.GetName(), "1stFreq");
}

TEST(CompositeNodes, BindToChildrenAndDeleteOnlyOwnNodes) {
    // The children belong to the caller (the radio data manager's store in the program).
    auto first = std::make_unique<CFreqNode>("1stFreq", 2500, 2500, 2500, 33002, 10);
    auto lo = std::make_unique<CZ30UsrTonDecNode>("1stFreqLo", 250, 250, 239, 3402);
    {
        CZ302TonRxCodeChNode ch("CH1");
        CFreqNode* ownSecond = ch.SecondFreq();
        ch.AddChild(first.get());
        ch.AddChild(lo.get());
        ch.Bind();
        EXPECT_EQ(ch.FirstFreq(), first.get());
        EXPECT_EQ(ch.FirstFreqLo(), lo.get());
        EXPECT_EQ(ch.SecondFreq(), ownSecond); // no child of that name: stays its own
        ASSERT_NE(ch.SecondFreqHi(), nullptr);
        EXPECT_EQ(ch.SecondFreqHi()->GetMin(), 239);
    }
    first->SetValue(4000); // still alive after the composite is gone
    EXPECT_EQ(first->GetValue(), 4000);

    auto enc = std::make_unique<CZ30UsrTonEncNode>("Enc", 400, 400, 400, 3000);
    {
        CZ305TonUsrTonNode tone("0");
        tone.AddChild(enc.get());
        tone.Bind();
        EXPECT_EQ(tone.Enc(), enc.get());
        ASSERT_NE(tone.DecL(), nullptr);
        EXPECT_EQ(tone.DecL()->GetMax(), 3000);
    }
    EXPECT_EQ(enc->GetName(), "Enc");
    CZ302TonRxCodeChNode unnamed;
    EXPECT_EQ(unnamed.GetName(), "CZ302TonRxCodeChNode");
}

TEST(FreqNodes, CreatableByClassName) {
    for (const char* name : {"CFreqNode", "CZ30MchFreqNode", "CZ30IfFreqNode", "CZ30BeepFreqNode",
                             "CZ30UsrCtcssFreqNode", "CZ30UsrTonEncNode", "CZ30UsrTonDecNode",
                             "CZ302TonRxCodeChNode", "CZ305TonUsrTonNode"}) {
        std::unique_ptr<CObjectBase> object(CClassRecord::CreateByName(name));
        ASSERT_NE(object, nullptr) << name;
        EXPECT_STREQ(object->GetClassRecord()->className, name);
    }
}

} // namespace
