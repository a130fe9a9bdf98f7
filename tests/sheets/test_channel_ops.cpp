// The memory sheets' logic without a window: row operations with the attribute moves, the
// clipboard record, tone entry texts, the row editor's OK and the row texts.
#include "sheets/channel_entry.h"
#include "sheets/channel_ops.h"
#include "sheets/mch_rows.h"
#include "tests/radiomap/hub_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace testhub;

namespace {

constexpr int kPmr16 = 5;
constexpr int kBase = 400000000;

std::string Ch(int n, const char* field) { return "Mch.CH" + std::to_string(n) + "." + field; }

// Channels 1..count in use, each recognisable by its receive frequency.
void Number(CZ30CloneManager& hub, int count) {
    for (int c = 1; c <= count; ++c) {
        SetValue(hub, Ch(c, "ChOn"), 1);
        SetValue(hub, Ch(c, "FreqRx"), kBase + 12500 * c);
        SetValue(hub, Ch(c, "CTonRx"), c);
    }
}

// Which original channel a channel holds now: 0 for the blank one.
int Origin(const CZ30CloneManager& hub, int n) {
    if (Value(hub, Ch(n, "ChOn")) == 0) return 0;
    return (Value(hub, Ch(n, "FreqRx")) - kBase) / 12500;
}

bool IsBlank(CZ30CloneManager& hub, int n) {
    for (CNode* field : Node(hub, "Mch.CH0")->Children())
        if (Value(hub, Ch(n, field->GetName().c_str())) != field->GetValue()) return false;
    return true;
}

} // namespace

TEST(ChannelOps, DeleteAndInsertMoveChannelsAndAttributes) {
    struct Case {
        const char* what;
        bool insert;
        int n, rows;
        int prioA, prioB, emr;                // before
        int prioAAfter, prioBAfter, emrAfter; // after
        std::vector<int> origins;             // of channels 1..rows afterwards
    };
    const Case cases[] = {
        {"delete 3 of 16",
         false,
         3,
         16,
         7,
         1,
         3,
         6,
         1,
         3,
         {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0}},
        {"delete the last",
         false,
         16,
         16,
         16,
         15,
         0,
         16,
         15,
         0,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0}},
        {"insert at 5 of 16",
         true,
         5,
         16,
         1,
         16,
         5,
         1,
         16,
         6,
         {1, 2, 3, 4, 0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
        {"insert at 1 of 4", true, 1, 4, 1, 4, 3, 2, 4, 4, {0, 1, 2, 3}},
        {"delete 2 of 4", false, 2, 4, 4, 5, 2, 3, 5, 2, {1, 3, 4, 0}},
    };
    for (const Case& c : cases) {
        auto hub = MakeHub(kPmr16);
        Number(*hub, 16);
        CNode* root = hub->GetRoot();
        SetChannelAttribute(root, kAttrPrioA, c.prioA);
        SetChannelAttribute(root, kAttrPrioB, c.prioB);
        SetChannelAttribute(root, kAttrEmr, c.emr);
        const bool done =
            c.insert ? InsertChannel(root, c.n, c.rows) : DeleteChannel(root, c.n, c.rows);
        ASSERT_TRUE(done) << c.what;
        EXPECT_EQ(ChannelAttribute(root, kAttrPrioA), c.prioAAfter) << c.what;
        EXPECT_EQ(ChannelAttribute(root, kAttrPrioB), c.prioBAfter) << c.what;
        EXPECT_EQ(ChannelAttribute(root, kAttrEmr), c.emrAfter) << c.what;
        std::vector<int> origins;
        for (int n = 1; n <= c.rows; ++n)
            origins.push_back(Origin(*hub, n));
        EXPECT_EQ(origins, c.origins) << c.what;
        for (int n = 1; n <= c.rows; ++n)
            EXPECT_TRUE(Origin(*hub, n) != 0 || IsBlank(*hub, n)) << c.what << " CH" << n;
        // Channels beyond the sheet's rows stay as they were.
        for (int n = c.rows + 1; n <= 16; ++n)
            EXPECT_EQ(Origin(*hub, n), n) << c.what;
    }
    // A channel outside the rows does nothing.
    auto hub = MakeHub(kPmr16);
    Number(*hub, 16);
    for (int n : {0, 17, -3}) {
        EXPECT_FALSE(DeleteChannel(hub->GetRoot(), n, 16));
        EXPECT_FALSE(InsertChannel(hub->GetRoot(), n, 16));
    }
    EXPECT_EQ(Origin(*hub, 16), 16);
}

TEST(ChannelOps, RecordCarriesEveryFieldBetweenChannels) {
    auto hub = MakeHub(kPmr16);
    CNode* root = hub->GetRoot();
    CNode* source = ChannelNode(root, 3);
    // Every field away from the blank channel's value.
    for (CNode* field : source->Children())
        field->SetValue(field->GetValue() + 1);
    SetValue(*hub, Ch(3, "FreqRx"), 446006250);
    SetValue(*hub, Ch(3, "FreqTx"), 146531250);
    SetValue(*hub, Ch(3, "CTonTx"), 3754);
    const CChannelRecord record = PackChannelRecord(root, 3);
    EXPECT_STREQ(reinterpret_cast<const char*>(record.data()), "446.00625");
    EXPECT_STREQ(reinterpret_cast<const char*>(record.data() + 50), "146.53125");
    EXPECT_EQ(record[156] | record[157] << 8, 3754); // CTonTx, little-endian
    EXPECT_EQ(record[192], 1);                       // ChOn
    for (std::size_t unused : {128u, 147u, 260u, 279u})
        EXPECT_EQ(record[unused], 0) << unused;

    ASSERT_TRUE(UnpackChannelRecord(root, 9, record));
    for (CNode* field : source->Children())
        EXPECT_EQ(Value(*hub, Ch(9, field->GetName().c_str())), field->GetValue())
            << field->GetName();
}

TEST(ChannelOps, OnlyAWholeRecordWithEndedTextsPastes) {
    auto hub = MakeHub(kPmr16);
    CNode* root = hub->GetRoot();
    const CChannelRecord good = PackChannelRecord(root, 1);
    struct Case {
        const char* what;
        std::size_t size;
        std::size_t fill; // bytes from fillFrom set to '0' (long texts, or texts without their end)
        std::size_t fillFrom;
        bool pastes;
    };
    const Case cases[] = {
        {"whole record", 280, 0, 0, true},
        {"longer data", 300, 0, 0, true},
        {"one byte short", 279, 0, 0, false},
        {"RX text of 49 characters", 280, 49, 0, true},
        {"RX text without its end", 280, 50, 0, false},
        {"TX text of 57 characters", 280, 57, 50, true},
        {"TX text without its end", 280, 58, 50, false},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(good.begin(), good.end());
        bytes.resize(c.size, 0);
        std::memset(bytes.data() + c.fillFrom, '0', c.fill);
        EXPECT_EQ(IsChannelRecord(bytes), c.pastes) << c.what;
        SetValue(*hub, Ch(2, "TOT"), 0);
        EXPECT_EQ(UnpackChannelRecord(root, 2, bytes), c.pastes) << c.what;
        EXPECT_EQ(Value(*hub, Ch(2, "TOT")), c.pastes ? 1 : 0) << c.what; // CH1's TOT is 1
    }
}

// A pasted or copied channel holds the frequencies of its source: the radio may hold a whole kHz
// on no channel raster, which comes across as it is; a record whose frequency text is no
// frequency pastes nothing rather than a channel on 0 MHz.
TEST(ChannelOps, RecordFrequenciesComeAcrossOrNothingDoes) {
    const struct {
        const char* rx;
        const char* tx;
        bool pastes;
        int rxAfter, txAfter;
    } cases[] = {
        {"446.00625", "446.10000", true, 446006250, 446100000},
        {"446.00100", "146.50100", true, 446001000, 146501000}, // on no raster
        {"446.10060", "446.10060", true, 446100000, 446100000}, // onto the raster
        {"446.1x", "446.10000", false, 0, 0},
        {"446.10000", "", false, 0, 0},
    };
    for (const auto& c : cases) {
        auto hub = MakeHub(kPmr16);
        CNode* root = hub->GetRoot();
        SetValue(*hub, Ch(1, "ChOn"), 1);
        CChannelRecord record = PackChannelRecord(root, 1);
        std::memset(record.data(), 0, 108);
        std::memcpy(record.data(), c.rx, std::strlen(c.rx));
        std::memcpy(record.data() + 50, c.tx, std::strlen(c.tx));
        EXPECT_EQ(UnpackChannelRecord(root, 2, record), c.pastes) << c.rx << " " << c.tx;
        EXPECT_EQ(Value(*hub, Ch(2, "ChOn")), c.pastes ? 1 : 0) << c.rx << " " << c.tx;
        EXPECT_EQ(Value(*hub, Ch(2, "FreqRx")), c.rxAfter) << c.rx;
        EXPECT_EQ(Value(*hub, Ch(2, "FreqTx")), c.txAfter) << c.tx;
    }
    // The copy command of a channel on no raster.
    auto hub = MakeHub(kPmr16);
    CNode* root = hub->GetRoot();
    SetValue(*hub, Ch(1, "ChOn"), 1);
    SetValue(*hub, Ch(1, "FreqRx"), 446001000);
    SetValue(*hub, Ch(1, "FreqTx"), 446001000);
    std::string error;
    ASSERT_TRUE(RunChannelCommand(root, {CChannelVerb::Copy, 1, 5}, 16, &error)) << error;
    EXPECT_EQ(Value(*hub, Ch(5, "FreqRx")), 446001000);
    EXPECT_EQ(Value(*hub, Ch(5, "FreqTx")), 446001000);
}

TEST(ToneEntry, TextsAndCodes) {
    auto hub = MakeHub(kPmr16);
    const CListEntries list = ToneEntries(ChannelNode(hub->GetRoot(), 1), "CTonRx");
    ASSERT_EQ(list.texts.size(), 53u);
    EXPECT_EQ(list.texts.front(), "OFF");
    EXPECT_EQ(list.texts[1], "67.0");
    EXPECT_EQ(list.texts.back(), "USER");
    EXPECT_EQ(list.selected, 0); // the channel's tone is OFF

    const struct {
        const char* text;
        int code; // -1: refused
    } cases[] = {{"OFF", 1000},  {"67.0", 0},    {"254.1", 50},  {"USER", 51},  {"023", 2023},
                 {"023n", 2023}, {"754i", 3754}, {"754I", 3754}, {"000", 2000}, {"777I", 3777},
                 {"089", -1},    {"23", -1},     {"12NI", -1},   {"N23I", -1},  {"0234", -1},
                 {"off", -1},    {"", -1},       {" 023", -1},   {"02 3", -1},  {"67", -1}};
    for (const auto& c : cases) {
        int code = -1;
        EXPECT_EQ(ToneCodeOfText(c.text, list.texts, &code), c.code >= 0) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
    }
}

TEST(RowEditor, OkStoresInItsOrder) {
    auto hub = MakeHub(kPmr16);
    CNode* root = hub->GetRoot();
    CNode* ch = ChannelNode(root, 4);
    auto entry = [&] {
        CChannelEntry e;
        e.toneList = ToneEntries(ch, "CTonRx").texts;
        return e;
    };

    // Spaces out of the receive text, both Simplex boxes, tones and lists.
    CChannelEntry e = entry();
    e.rxFreq = " 446. 100 ";
    e.txFreq = "999";
    e.freqSimplex = true;
    e.rxTone = "754i";
    e.txTone = "67.0";
    e.toneSimplex = true;
    e.inhTx = true;
    e.checks = {{"RPTLng", 1}};
    e.lists = {{"Moni", "Both+R1"}, {"RPT", "12"}};
    std::vector<CFieldResult> results = ApplyChannelEntry(root, 4, e);
    EXPECT_EQ(Value(*hub, Ch(4, "ChOn")), 1);
    EXPECT_EQ(Value(*hub, Ch(4, "FreqRx")), 446100000);
    EXPECT_EQ(Value(*hub, Ch(4, "FreqTx")), 446100000);
    EXPECT_EQ(Value(*hub, Ch(4, "CTonRx")), 3754);
    EXPECT_EQ(Value(*hub, Ch(4, "CTonTx")), 3754);
    EXPECT_EQ(Value(*hub, Ch(4, "InhTx")), 1);
    EXPECT_EQ(Value(*hub, Ch(4, "RPTLng")), 1);
    EXPECT_EQ(Value(*hub, Ch(4, "Moni")), 6);
    EXPECT_EQ(Value(*hub, Ch(4, "RPT")), 12);
    for (const CFieldResult& r : results)
        EXPECT_TRUE(r.result.Taken()) << r.node;

    // Texts that do not convert leave their fields and say so; a two-character tone is not
    // converted at all.
    e = entry();
    e.rxFreq = "446.1";
    e.txFreq = "abc";
    e.rxTone = "089";
    e.txTone = "23";
    results = ApplyChannelEntry(root, 4, e);
    EXPECT_EQ(Value(*hub, Ch(4, "FreqTx")), 446100000);
    EXPECT_EQ(Value(*hub, Ch(4, "CTonRx")), 3754);
    EXPECT_EQ(Value(*hub, Ch(4, "CTonTx")), 3754);
    std::vector<std::string> refused;
    for (const CFieldResult& r : results)
        if (!r.result.Taken()) refused.push_back(r.node + "=" + r.given);
    EXPECT_EQ(refused, (std::vector<std::string>{"FreqTx=abc", "CTonRx=089", "CTonTx=23"}));

    // A frequency the channel holds on no raster (as read from a radio) is kept as it is, also
    // by the other field through Simplex; a typed one is refused.
    SetValue(*hub, Ch(4, "FreqRx"), 446001000);
    for (const char* tx : {"446.00100", "446.10000", "146.50100"}) {
        e = entry();
        e.rxFreq = "446.00100";
        e.txFreq = tx;
        e.freqSimplex = std::string(tx) == "446.10000";
        e.rxTone = e.txTone = "OFF";
        e.lists = {{"RPT", "3"}};
        const bool typed = std::string(tx) == "146.50100";
        EXPECT_EQ(CheckChannelEntry(root, 4, e).size(), typed ? 1u : 0u) << tx;
        if (typed) continue;
        for (const CFieldResult& r : ApplyChannelEntry(root, 4, e))
            EXPECT_TRUE(r.result.Taken()) << tx << " " << r.node;
        EXPECT_EQ(Value(*hub, Ch(4, "FreqRx")), 446001000) << tx;
        EXPECT_EQ(Value(*hub, Ch(4, "FreqTx")), 446001000) << tx;
        EXPECT_EQ(Value(*hub, Ch(4, "RPT")), 3) << tx;
        SetValue(*hub, Ch(4, "FreqTx"), 446100000);
    }

    // Without a receive text the channel is off and blank.
    e = entry();
    e.txFreq = "446.2";
    e.rxTone = "023";
    EXPECT_TRUE(ApplyChannelEntry(root, 4, e).empty());
    EXPECT_TRUE(IsBlank(*hub, 4));
}

TEST(RowTexts, MemorySheetCells) {
    auto hub = MakeHub(0); // LMR 1CH
    CNode* root = hub->GetRoot();
    SetValue(*hub, "Mch.PrioA", 1);
    SetValue(*hub, "Mch.PrioB", 2);
    SetValue(*hub, "Mch.Emr", 1);
    for (int n : {1, 2}) {
        SetValue(*hub, Ch(n, "ChOn"), 1);
        SetValue(*hub, Ch(n, "FreqRx"), 146525000);
    }
    SetValue(*hub, Ch(1, "FreqTx"), 146525000);
    SetValue(*hub, Ch(1, "CTonRx"), 2023);
    SetValue(*hub, Ch(1, "CTonTx"), 2023);
    SetValue(*hub, Ch(2, "FreqTx"), 146531250);
    SetValue(*hub, Ch(2, "CTonRx"), 24);
    SetValue(*hub, Ch(2, "CTonTx"), 3754);
    auto row = [&](bool pmr, int variant, int r) { return MchRowTexts(root, pmr, variant, r); };
    const std::vector<std::string> lmr1 = row(false, 0, 0);
    ASSERT_EQ(lmr1.size(), 17u);
    EXPECT_EQ(std::vector<std::string>(lmr1.begin(), lmr1.begin() + 8),
              (std::vector<std::string>{"1", "AE", "OFF", "146.52500", "<-----", "OFF", "023N",
                                        "<-----"}));
    const std::vector<std::string> lmr2 = row(false, 0, 1);
    EXPECT_EQ(lmr2[0], "2*");
    EXPECT_EQ(lmr2[1], "B");
    EXPECT_EQ(lmr2[4], "146.53125");
    EXPECT_EQ(lmr2[6], "146.2");
    EXPECT_EQ(lmr2[7], "754i");
    // Unused channels show their number and letters only; "*" marks what the variant lacks.
    EXPECT_EQ(row(false, 0, 3), (std::vector<std::string>{"4*", "", "", "", "", "", "", "", "", "",
                                                          "", "", "", "", "", "", ""}));
    EXPECT_EQ(row(false, 2, 1)[0], "2");
    EXPECT_EQ(row(false, 2, 2)[0], "3*");
    EXPECT_EQ(row(true, 5, 15)[0], "16");
    EXPECT_EQ(row(true, 5, 35)[0], "36"); // the 36 rows of manufacture

    // The PMR columns: long flags, short auto reset texts and the joined code lists.
    SetValue(*hub, Ch(1, "AutoResetP"), 3);
    SetValue(*hub, Ch(1, "RPT"), 5);
    SetValue(*hub, Ch(1, "RPTLng"), 1);
    SetValue(*hub, Ch(1, "STN"), 0);
    SetValue(*hub, Ch(1, "STNLng"), 1);
    SetValue(*hub, Ch(1, "Id"), 32);
    SetValue(*hub, Ch(1, "RxCNo1"), 1);
    SetValue(*hub, Ch(1, "RxCNo2"), 0);
    SetValue(*hub, Ch(1, "RxCNo3"), 1);
    const std::vector<std::string> pmr = row(true, 1, 0);
    ASSERT_EQ(pmr.size(), 27u);
    EXPECT_EQ(pmr[19], "Timer BI");
    EXPECT_EQ(pmr[22], "5L");
    EXPECT_EQ(pmr[23], "OFF");
    EXPECT_EQ(pmr[24], "32");
    EXPECT_EQ(pmr[26], "1_3");
    SetValue(*hub, Ch(1, "AutoResetP"), 2);
    EXPECT_EQ(row(true, 1, 0)[19], "Timer AI");
}
