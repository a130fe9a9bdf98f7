// The channel list in comma-separated text: the reader and writer, export, import as one
// document edit, the round trip, and a list of PMR446 channels from another program down to the
// bytes.
#include "app/clone_support_doc.h"
#include "clone/default_data_manager.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "sheets/channel_csv.h"
#include "sheets/channel_ops.h"
#include "sheets/csv_table.h"
#include "tests/support/variant_doc.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                            "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,"
                            "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

std::string Ch(int n, const char* field) { return "Mch.CH" + std::to_string(n) + "." + field; }

// What a test puts into one channel, by code.
struct CChannelValues {
    int rx, tx;
    int toneTx = 1000, toneRx = 1000;
    int inhTx = 0, narrow = 0, scan = 1, power = 0;
};

class ChannelCsv : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override { ResetPlatform(); }

    static void Put(CZ30Doc& doc, int n, const CChannelValues& s) {
        doc.Edit("put", [&](CNode& root, CEditReport&) {
            CNode* ch = ChannelNode(&root, n);
            const std::map<std::string, int> values = {
                {"ChOn", 1},          {"FreqRx", s.rx},     {"FreqTx", s.tx},
                {"CTonTx", s.toneTx}, {"CTonRx", s.toneRx}, {"InhTx", s.inhTx},
                {"WidNar", s.narrow}, {"ScnLst1", s.scan},  {"RfPwr", s.power}};
            for (const auto& [name, v] : values)
                SetValueByName(ch, name, v);
        });
    }
    static int Value(CZ30Doc& doc, const std::string& path) {
        return GetNode(doc.GetRoot(), path)->GetValue();
    }
    static CCsvImport Import(CZ30Doc& doc, const std::string& text) {
        CCsvImport import;
        doc.Edit("Import Channels", [&](CNode& root, CEditReport&) {
            import = ImportChannelCsv(&root, doc.GetVariant(), text);
        });
        return import;
    }
    // The exported rows as column name to field.
    static std::vector<std::map<std::string, std::string>> Rows(const std::string& text) {
        const CCsvTable table = ParseCsv(text);
        std::vector<std::map<std::string, std::string>> rows;
        for (std::size_t r = 1; r < table.records.size(); ++r) {
            std::map<std::string, std::string> row;
            for (std::size_t c = 0; c < table.records[0].fields.size(); ++c)
                row[table.records[0].fields[c]] = table.records[r].fields.at(c);
            rows.push_back(row);
        }
        return rows;
    }
    static std::string Notes(const CCsvImport& import) {
        std::string text = import.error;
        for (const CCsvNote& n : import.notes)
            text += "\n" + CsvNoteText(n);
        return text;
    }
};

} // namespace

TEST(CsvTable, ReadsWhatSpreadsheetsWrite) {
    struct Case {
        const char* text;
        std::vector<std::vector<std::string>> records;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"a,b,c\r\n1,2,3\r\n", {{"a", "b", "c"}, {"1", "2", "3"}}, {1, 2}},
        {"a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"a,b\r1,2\r", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        {"\xEF\xBB\xBFLocation,Name\n1,x\n", {{"Location", "Name"}, {"1", "x"}}, {1, 2}},
        {"\"a,1\",\"say \"\"hi\"\"\",\n", {{"a,1", "say \"hi\"", ""}}, {1}},
        {"\"two\r\nlines\",x\r\n\r\nnext,\"\"\n", {{"two\r\nlines", "x"}, {"next", ""}}, {1, 4}},
        {"a\"b,\"q\"tail\n", {{"a\"b", "qtail"}}, {1}},
        {"\n\n,\n", {{"", ""}}, {3}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        const CCsvTable t = ParseCsv(c.text);
        EXPECT_TRUE(t.error.empty()) << c.text;
        ASSERT_EQ(t.records.size(), c.records.size()) << c.text;
        for (std::size_t r = 0; r < c.records.size(); ++r) {
            EXPECT_EQ(t.records[r].fields, c.records[r]) << c.text;
            EXPECT_EQ(t.records[r].line, c.lines[r]) << c.text;
        }
    }
    const CCsvTable open = ParseCsv("a,b\n1,\"never closed\n2,3\n");
    EXPECT_EQ(open.error, "line 2: a quoted field is not closed before the end of the file");
    EXPECT_TRUE(open.records.empty());

    // What the writer quotes reads back as it was.
    const std::vector<std::string> fields = {"plain", "a,b", "say \"x\"", "two\nlines", " pad", ""};
    EXPECT_EQ(CsvLine(fields), "plain,\"a,b\",\"say \"\"x\"\"\",\"two\nlines\",\" pad\",\r\n");
    EXPECT_EQ(ParseCsv(CsvLine(fields)).records.at(0).fields, fields);
}

TEST_F(ChannelCsv, EveryToneCombinationBothWays) {
    struct Case {
        int toneTx, toneRx;
        const char* tone;
        const char* rTone;
        const char* cTone;
        const char* dtcs;
        const char* polarity;
        const char* rxDtcs;
        const char* cross;
    };
    // clang-format off
    const Case cases[] = {
        {1000, 1000, "",      "88.5",  "88.5",  "023", "NN", "023", "Tone->Tone"},
        {0,    1000, "Tone",  "67.0",  "88.5",  "023", "NN", "023", "Tone->Tone"},
        {13,   13,   "TSQL",  "100.0", "100.0", "023", "NN", "023", "Tone->Tone"},
        {2023, 3023, "DTCS",  "88.5",  "88.5",  "023", "NR", "023", "Tone->Tone"},
        {3754, 3754, "DTCS",  "88.5",  "88.5",  "754", "RR", "023", "Tone->Tone"},
        {0,    13,   "Cross", "67.0",  "100.0", "023", "NN", "023", "Tone->Tone"},
        {0,    3023, "Cross", "67.0",  "88.5",  "023", "NR", "023", "Tone->DTCS"},
        {2754, 50,   "Cross", "88.5",  "254.1", "754", "NN", "023", "DTCS->Tone"},
        {1000, 13,   "Cross", "88.5",  "100.0", "023", "NN", "023", "->Tone"},
        {1000, 3754, "Cross", "88.5",  "88.5",  "023", "NR", "754", "->DTCS"},
        {3754, 1000, "Cross", "88.5",  "88.5",  "754", "RN", "023", "DTCS->"},
        {2023, 2754, "Cross", "88.5",  "88.5",  "023", "NN", "754", "DTCS->DTCS"},
        {51,   1000, "Tone",  "254.3", "88.5",  "023", "NN", "023", "Tone->Tone"}, // USER
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.toneTx) + "/" + std::to_string(c.toneRx);
        auto doc = VariantDoc(5);
        auto fresh = VariantDoc(5);
        for (CZ30Doc* d : {doc.get(), fresh.get()})
            d->Edit("user tone", [](CNode&, CEditReport& r) {
                r.SetText("CommonSet.Expert.UsrCtcssFreq", "254.3");
            });
        Put(*doc, 3, {446006250, 446006250, c.toneTx, c.toneRx});
        const auto rows = Rows(ExportChannelCsv(doc->GetRoot(), 5));
        ASSERT_EQ(rows.size(), 1u) << what;
        const auto& row = rows[0];
        EXPECT_EQ(row.at("Tone"), c.tone) << what;
        EXPECT_EQ(row.at("rToneFreq"), c.rTone) << what;
        EXPECT_EQ(row.at("cToneFreq"), c.cTone) << what;
        EXPECT_EQ(row.at("DtcsCode"), c.dtcs) << what;
        EXPECT_EQ(row.at("DtcsPolarity"), c.polarity) << what;
        EXPECT_EQ(row.at("RxDtcsCode"), c.rxDtcs) << what;
        EXPECT_EQ(row.at("CrossMode"), c.cross) << what;
        // And back, into a document where the channel is off.
        const CCsvImport import = Import(*fresh, ExportChannelCsv(doc->GetRoot(), 5));
        EXPECT_TRUE(import.Clean()) << what << Notes(import);
        EXPECT_EQ(Value(*fresh, Ch(3, "CTonTx")), c.toneTx) << what;
        EXPECT_EQ(Value(*fresh, Ch(3, "CTonRx")), c.toneRx) << what;
    }
}

TEST_F(ChannelCsv, DuplexAndOffsetBothWays) {
    struct Case {
        int rx, tx, inhTx;
        const char* duplex;
        const char* offset;
        const char* tStep;
    };
    const Case cases[] = {
        {446006250, 446006250, 0, "", "0.000000", "6.25"},
        {145600000, 145000000, 0, "-", "0.600000", "12.5"},
        {433000000, 438000000, 0, "+", "5.000000", "12.5"},
        {150000000, 219987500, 0, "+", "69.987500", "12.5"},
        {146000000, 216000000, 0, "split", "216.000000", "12.5"},
        {450000000, 150006250, 0, "split", "150.006250", "6.25"},
        {146531250, 147131250, 1, "off", "0.000000", "6.25"},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.rx) + "/" + std::to_string(c.tx);
        auto doc = VariantDoc(4);
        Put(*doc, 1, {c.rx, c.tx, 1000, 1000, c.inhTx});
        const std::string text = ExportChannelCsv(doc->GetRoot(), 4);
        const auto row = Rows(text).at(0);
        EXPECT_EQ(row.at("Duplex"), c.duplex) << what;
        EXPECT_EQ(row.at("Offset"), c.offset) << what;
        EXPECT_EQ(row.at("TStep"), c.tStep) << what;
        auto fresh = VariantDoc(4);
        EXPECT_TRUE(Import(*fresh, text).Clean()) << what;
        EXPECT_EQ(Value(*fresh, Ch(1, "FreqRx")), c.rx) << what;
        // A transmitter that is off keeps what it had; a channel that was off transmits on RX.
        EXPECT_EQ(Value(*fresh, Ch(1, "FreqTx")), c.inhTx ? c.rx : c.tx) << what;
        EXPECT_EQ(Value(*fresh, Ch(1, "InhTx")), c.inhTx) << what;
    }
}

// Files as they circulate: each imported into a PMR 16CH document whose channel 2 is in use.
TEST_F(ChannelCsv, FilesInCirculation) {
    struct Expect {
        int channel;
        int rx, tx, toneTx, toneRx, narrow, scan, power;
    };
    struct Case {
        const char* name;
        std::string text;
        std::vector<int> channels;
        int skipped, adjusted;
        std::vector<std::string> notes;
        std::vector<Expect> values;
    };
    const std::string oldHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                                  "DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment,URCALL,RPT1CALL,"
                                  "RPT2CALL\r\n";
    // clang-format off
    const std::vector<Case> cases = {
        {"quoted fields and LF lines",
         kHeader + "\n1,\"Site, north\",\"446.006250\",\"\",0.000000,\"TSQL\",88.5,\"94.8\",023,NN,"
                   "023,Tone->Tone,NFM,12.5,,High,\"said \"\"hi\"\"\",,,,\n",
         {1}, 0, 0, {}, {{1, 446006250, 446006250, 11, 11, 1, 1, 2}}},
        {"byte-order mark, CR LF",
         "\xEF\xBB\xBF" + kHeader + "\r\n4,,446.100000,-,5.000000,DTCS,88.5,88.5,754,RN,023,"
                                    "Tone->Tone,FM,12.5,S,Low2,,,,,\r\n",
         {4}, 0, 0, {}, {{4, 446100000, 441100000, 3754, 2754, 0, 0, 1}}},
        {"older short header: no RxDtcsCode, CrossMode, Power, DVCODE",
         oldHeader + "2,,145.500000,,5.0,Tone,77.0,88.5,023,NN,FM,5.00,,,,,\r\n"
                     "3,,145.525000,+,0.600000,Cross,71.0,88.5,023,NN,NFM,5,,,,,\r\n",
         {2, 3}, 0, 0, {}, {{2, 145500000, 145500000, 5, 1000, 0, 1, 2},
                            {3, 145525000, 146125000, 2, 9, 1, 1, 0}}},
        {"reordered columns and unknown ones",
         "Mode,Frequency,Extra,Location,Tone,cToneFreq\r\nNFM,446.018750,zz,5,TSQL,67.0\r\n",
         {5}, 0, 0, {}, {{5, 446018750, 446018750, 0, 0, 1, 1, 0}}},
        {"rows to skip and to adjust",
         kHeader + "\r\n"
         "17,,446.0,,,,,,,,,,FM,,,,,,,,\r\n"
         "x,,446.0,,,,,,,,,,FM,,,,,,,,\r\n"
         "6,,446.001,,,,,,,,,,FM,,,,,,,,\r\n"
         "7,,900.0,,,,,,,,,,FM,,,,,,,,\r\n"
         "8,,446.0,,,,,,,,,,AM,,,,,,,,\r\n"
         "9,,446.0,,,Tone,69.9,,,,,,FM,,,,,,,,\r\n"
         "10,,446.0,dup,,,,,,,,,FM,,,,,,,,\r\n"
         "11,,446.0,,,DTCS,,,089,,,,FM,,,,,,,,\r\n"
         "12,,446.0062,,,,,,,,,,FM,,Q,5W,,,,,\r\n"
         "12,,446.1,,,,,,,,,,FM,,,,,,,,\r\n"
         "13,,abc,,,,,,,,,,FM,,,,,,,,\r\n"
         ",,,,,,,,,,,,,,,,,,,,\r\n"
         "14,,446.5,,,Cross,,,,,,->,FM,,,,,,,,\r\n",
         {12}, 11, 1,
         {"row 2, Location: channel 17: this radio has 16 channels; row skipped",
          "row 3, Location: 'x' is not a channel number; row skipped",
          "row 4, Frequency: 446.001000 MHz fits no channel raster; row skipped",
          "row 5, Frequency: 900.000000 MHz is no channel frequency (above 0, up to 799.997500 MHz); "
          "row skipped",
          "row 6, Mode: 'AM': the radio has FM and NFM only; row skipped",
          "row 7, rToneFreq: 69.9 Hz is not one of the radio's CTCSS tones nor its user tone "
          "(88.5 Hz); row skipped",
          "row 8, Duplex: 'dup' is none of '', +, -, split, off; row skipped",
          "row 9, DtcsCode: '089' is not a DTCS code (three octal digits); row skipped",
          "row 10, Frequency: 446.006200 MHz snapped to 446.006250 MHz",
          "row 10, Skip: 'Q' is none of '', S, P; scan ON kept",
          "row 10, Power: '5W' taken as High (0.5W), the nearest level",
          "row 11, Location: channel 12 was set by row 10; row skipped",
          "row 12, Frequency: 'abc' is not a number; row skipped",
          "row 14, CrossMode: '->' is none of"},
         {{12, 446006250, 446006250, 1000, 1000, 0, 1, 2}}},
        {"comments anywhere, MHz, watts, priority scan, one tone column, TX 0",
         "# written by hand\r\nLocation,Frequency,Duplex,Offset,Tone,rToneFreq,Skip,Power\r\n"
         "# PMR\r\n1,446.00625 MHz,,,TSQL,94.8,P,0.5W\r\n#,end\r\n"
         "3,446.03125MHz,split,0 MHz,,,,0.3\r\n4,446.04375,,,,,,Max\r\n",
         {1, 3, 4}, 0, 3,
         {"row 4, Skip: 'P' (priority scan) read as scanned",
          "row 6, Offset: TX 0 MHz taken as transmit inhibited (Duplex off)",
          "row 6, Power: '0.3' taken as Low2 (0.2W), the nearest level",
          "row 7, Power: 'Max' is none of Low1, Low2, High nor watts (\"5W\"); Low1 kept"},
         {{1, 446006250, 446006250, 11, 11, 0, 1, 2}, {3, 446031250, 446031250, 1000, 1000, 0, 1, 1}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto doc = VariantDoc(5);
        Put(*doc, 2, {440000000, 440000000, 1000, 1000, 0, 0, 1, 2});
        const CCsvImport import = Import(*doc, c.text);
        const std::string notes = Notes(import);
        EXPECT_TRUE(import.error.empty()) << c.name << notes;
        EXPECT_EQ(import.channels, c.channels) << c.name << notes;
        EXPECT_EQ(import.skippedRows, c.skipped) << c.name << notes;
        EXPECT_EQ(import.adjustedRows, c.adjusted) << c.name << notes;
        ASSERT_EQ(import.notes.size(), c.notes.size()) << c.name << notes;
        for (std::size_t i = 0; i < c.notes.size(); ++i)
            EXPECT_EQ(CsvNoteText(import.notes[i]).substr(0, c.notes[i].size()), c.notes[i])
                << c.name;
        for (const Expect& e : c.values) {
            const std::string what = std::string(c.name) + " CH" + std::to_string(e.channel);
            EXPECT_EQ(Value(*doc, Ch(e.channel, "ChOn")), 1) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "FreqRx")), e.rx) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "FreqTx")), e.tx) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "CTonTx")), e.toneTx) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "CTonRx")), e.toneRx) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "WidNar")), e.narrow) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "ScnLst1")), e.scan) << what;
            EXPECT_EQ(Value(*doc, Ch(e.channel, "RfPwr")), e.power) << what;
        }
        // Skipped rows leave their channels as they were.
        EXPECT_EQ(Value(*doc, Ch(8, "ChOn")), 0) << c.name;
    }
}

TEST_F(ChannelCsv, FilesThatAreNoChannelListChangeNothing) {
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "the file is empty: the first line must name the columns"},
        {"Name,Frequency\r\nx,446.0\r\n", "the file has no Location column"},
        {"1,446.006250,,0.0\r\n", "the file has no Location column"},
        {"Location,Name\r\n1,x\r\n", "the file has no Frequency column"},
        {kHeader + "\r\n1,\"open,446.0\r\n", "line 2: a quoted field is not closed"},
    };
    for (const auto& c : cases) {
        auto doc = VariantDoc(5);
        doc->SetModifiedFlag(false);
        const CCsvImport import = Import(*doc, c.text);
        EXPECT_EQ(import.error.substr(0, std::string(c.error).size()), c.error) << c.text;
        EXPECT_TRUE(import.channels.empty());
        EXPECT_FALSE(doc->IsModified()) << c.text;
    }
}

// Export, then import into the same document: not one byte changes, nothing is noted; into a
// fresh document of the variant the channels come out the same.
TEST_F(ChannelCsv, RoundTripLeavesTheImageByteForByte) {
    for (int variant : {1, 2, 5}) {
        auto doc = VariantDoc(variant);
        doc->Edit("user tone", [](CNode&, CEditReport& r) {
            r.SetText("CommonSet.Expert.UsrCtcssFreq", "100.0"); // the same as table tone 13
        });
        const CChannelValues channels[] = {
            {146531250, 147131250, 51, 13, 0, 1, 0, 2}, {446006250, 446006250, 2023, 3754, 1},
            {150000000, 450000000, 13, 51, 0, 0, 1, 1}, {146520000, 146520000},
            {430002500, 439402500, 1000, 3023},         {145000000, 144400000, 50, 0, 0, 1}};
        for (int n = 1; n <= ChannelsOfVariant(variant); ++n)
            Put(*doc, n, channels[(n - 1) % std::size(channels)]);
        // A channel off between channels in use stays off; a TX of 0 Hz comes back inhibited,
        // whatever the channel held.
        if (ChannelsOfVariant(variant) > 2) {
            doc->Edit("off", [](CNode& root, CEditReport&) { ResetChannel(&root, 7); });
            Put(*doc, 16, {146520000, 0});
        }
        doc->GetCloneManager()->TreeToImage();
        const std::vector<std::uint8_t> image = doc->ImageBytes();
        const std::string text = ExportChannelCsv(doc->GetRoot(), variant);
        const CCsvImport import = Import(*doc, text);
        const std::string txZero =
            variant == 5 ? "\nrow 16, Offset: TX 0 MHz taken as transmit inhibited (Duplex off)"
                         : "";
        EXPECT_EQ(Notes(import), txZero) << variant;
        if (variant == 5) {
            EXPECT_EQ(Value(*doc, Ch(16, "InhTx")), 1);
            doc->Edit("TX on", [](CNode& root, CEditReport&) {
                SetValueByName(ChannelNode(&root, 16), "InhTx", 0);
            });
        }
        doc->GetCloneManager()->TreeToImage();
        EXPECT_EQ(doc->ImageBytes(), image) << variant;

        auto fresh = VariantDoc(variant);
        fresh->Edit("user tone", [](CNode&, CEditReport& r) {
            r.SetText("CommonSet.Expert.UsrCtcssFreq", "100.0");
        });
        const CCsvImport freshImport = Import(*fresh, text);
        EXPECT_EQ(Notes(freshImport), txZero) << variant;
        // The user tone meets table tone 13: a fresh channel takes the table's.
        auto rows = Rows(text);
        if (variant == 5) rows.back()["Duplex"] = "off";
        EXPECT_EQ(Rows(ExportChannelCsv(fresh->GetRoot(), variant)), rows) << variant;
    }
}

// A list another program wrote for a PMR446 radio, imported into a PMR 16CH document with the
// factory defaults: channels 1 to 8 on the PMR446 plan, narrow, no tones, scan on, the rest
// unchanged.
TEST_F(ChannelCsv, PmrFileGivesTheExpectedBytes) {
    std::string text = kHeader + "\r\n";
    const char* const freqs[] = {"446.006250", "446.018750", "446.031250", "446.043750",
                                 "446.056250", "446.068750", "446.081250", "446.093750"};
    for (int n = 0; n < 8; ++n)
        text += std::to_string(n + 1) + ",PMR " + std::to_string(n + 1) + "," + freqs[n] +
                ",,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,12.50,,,,,,,\r\n";
    auto doc = VariantDoc(5);
    doc->GetCloneManager()->TreeToImage();
    std::vector<std::uint8_t> expected = doc->ImageBytes();
    const CCsvImport import = Import(*doc, text);
    ASSERT_TRUE(import.Clean()) << Notes(import);
    EXPECT_EQ(CsvImportSummary(import), "8 channels imported (CH 1 to 8)");
    // 446.00625 MHz is stored as the BCD kHz 446006; tones off (0x800 both); PwrSave, TOT, Low1;
    // Moni "Both"; auto reset "Timer B"; narrow; "CCIR"; the three receive codes.
    const std::uint8_t kHz[8][3] = {{0x44, 0x60, 0x06}, {0x44, 0x60, 0x18}, {0x44, 0x60, 0x31},
                                    {0x44, 0x60, 0x43}, {0x44, 0x60, 0x56}, {0x44, 0x60, 0x68},
                                    {0x44, 0x60, 0x81}, {0x44, 0x60, 0x93}};
    for (int n = 0; n < 8; ++n) {
        const std::uint8_t record[20] = {kHz[n][0], kHz[n][1], kHz[n][2], kHz[n][0], kHz[n][1],
                                         kHz[n][2], 0x80,      0x08,      0x00,      0x91,
                                         0x00,      0x30,      0x82,      0x00,      0x00,
                                         0x01,      0x00,      0x00,      0x00,      0xE0};
        std::copy(std::begin(record), std::end(record), expected.begin() + 0x200 + 20 * n);
    }
    doc->GetCloneManager()->TreeToImage();
    const std::vector<std::uint8_t> image = doc->ImageBytes();
    for (std::size_t a = 0; a < expected.size(); ++a)
        EXPECT_EQ(image[a], expected[a]) << "address " << std::hex << a;
}
