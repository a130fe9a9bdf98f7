// ktz30cli csv export and import, and new --template, as a user runs them.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                            "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,"
                            "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

// A row as CHIRP's CSV reader takes it. Every field must be spelt as that reader accepts it,
// used or not (the rules below); a row shorter than the header is refused. Both tone
// frequencies must lie above 50 and below 300 Hz.
struct CChirpRow {
    std::string error; // the first column whose rule the row breaks
    std::string rx, tx, txTone, rxTone, mode, skip, watts; // what CHIRP reads from it
};

CChirpRow ReadAsChirp(const std::vector<std::string>& header, const std::vector<std::string>& row) {
    const std::string mhz = "[0-9]+(\\.[0-9]{0,6})?( MHz)?", dtcs = "[0-7]{1,3}";
    const std::pair<const char*, std::string> rules[] = {
        {"Location", "[0-9]+"},
        {"Frequency", mhz},
        {"Duplex", "|\\+|-|split|off"},
        {"Offset", "(" + mhz + ")?"},
        {"Tone", "|Tone|TSQL|DTCS|TSQL-R|DTCS-R|Cross"},
        {"rToneFreq", "[0-9]+(\\.[0-9]+)?"},
        {"cToneFreq", "[0-9]+(\\.[0-9]+)?"},
        {"DtcsCode", dtcs},
        {"DtcsPolarity", "[NR][NR]"},
        {"RxDtcsCode", dtcs},
        {"CrossMode", "Tone->Tone|DTCS->|->DTCS|Tone->DTCS|DTCS->Tone|->Tone|DTCS->DTCS|Tone->"},
        {"Mode", "WFM|FM|NFM|AM|NAM|DV|USB|LSB|CW"},
        {"TStep", "[0-9]+(\\.[0-9]+)?"},
        {"Skip", "|S|P"},
        {"Power", "[0-9]+|\\s*[0-9.]+\\s*[Ww]?\\s*"},
    };
    CChirpRow r;
    std::map<std::string, std::string> at;
    for (std::size_t i = 0; i < header.size() && i < row.size(); ++i)
        at[header[i]] = row[i];
    if (row.size() < header.size()) r.error = "fewer fields than the header";
    for (const auto& [column, rule] : rules)
        if (r.error.empty() && !std::regex_match(at[column], std::regex(rule))) r.error = column;
    for (const char* column : {"rToneFreq", "cToneFreq"})
        if (const double hz = std::atof(at[column].c_str());
            r.error.empty() && !(hz > 50 && hz < 300))
            r.error = column;
    if (!r.error.empty()) return r;

    // What it means: TX from Duplex and Offset; the tones from Tone and CrossMode (TX first),
    // the polarities TX then RX.
    auto hz = [](const std::string& t) { return std::llround(std::atof(t.c_str()) * 1e6); };
    const long long rx = hz(at["Frequency"]), offset = hz(at["Offset"]);
    const std::string duplex = at["Duplex"], mode = at["Tone"], pol = at["DtcsPolarity"];
    r.rx = std::to_string(rx);
    r.tx = duplex == "off"     ? "off"
           : duplex == "split" ? std::to_string(offset)
                               : std::to_string(rx + (duplex == "+"   ? offset
                                                      : duplex == "-" ? -offset
                                                                      : 0));
    const std::string cross = mode == "Cross"  ? at["CrossMode"]
                              : mode == "Tone" ? "Tone->"
                              : mode == "DTCS" ? "DTCS->DTCS"
                                               : "->";
    const std::string from = cross.substr(0, cross.find("->")),
                      to = cross.substr(cross.find("->") + 2);
    if (mode == "TSQL") r.txTone = r.rxTone = at["cToneFreq"];
    if (from == "Tone") r.txTone = at["rToneFreq"];
    if (from == "DTCS") r.txTone = "D" + at["DtcsCode"] + pol[0];
    if (to == "Tone") r.rxTone = at["cToneFreq"];
    if (to == "DTCS") r.rxTone = "D" + at[mode == "DTCS" ? "DtcsCode" : "RxDtcsCode"] + pol[1];
    r.mode = at["Mode"];
    r.skip = at["Skip"];
    r.watts = at["Power"].substr(0, at["Power"].find_last_not_of("Ww ") + 1);
    return r;
}

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line)
        if (c == ',')
            fields.emplace_back();
        else if (c != '\r')
            fields.back() += c;
    return fields;
}

} // namespace

// A file using every tone mode, duplex and power exports as CHIRP reads it, with the same
// meaning, and imports back into a new file as it was.
TEST_F(CliTest, CsvExportPassesChirpsColumnRules) {
    struct Case {
        std::vector<std::string> set; // after ChOn=ON
        CChirpRow meaning;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {{"FreqRx=146.52", "FreqTx=146.52", "RfPwr=High"},
         {"", "146520000", "146520000", "", "", "FM", "", "5"}},
        {{"FreqRx=145.6", "FreqTx=145.0", "CTonTx=88.5", "RfPwr=Low2"},
         {"", "145600000", "145000000", "88.5", "", "FM", "", "2"}},
        {{"FreqRx=433.0", "FreqTx=438.0", "CTonTx=100.0", "CTonRx=100.0", "RfPwr=Low1"},
         {"", "433000000", "438000000", "100.0", "100.0", "FM", "", "1"}},
        {{"FreqRx=146.0", "FreqTx=216.0", "CTonTx:=2023", "CTonRx:=2023"},
         {"", "146000000", "216000000", "D023N", "D023N", "FM", "", "5"}},
        {{"FreqRx=446.00625", "FreqTx=446.00625", "CTonTx:=2023", "CTonRx:=3023"},
         {"", "446006250", "446006250", "D023N", "D023R", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.00625", "CTonTx=67.0", "CTonRx=254.1"},
         {"", "150000000", "150006250", "67.0", "254.1", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonTx=71.0", "CTonRx:=3754"},
         {"", "150000000", "150000000", "71.0", "D754R", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonTx:=2754", "CTonRx=94.8"},
         {"", "150000000", "150000000", "D754N", "94.8", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonRx=94.8"},
         {"", "150000000", "150000000", "", "94.8", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonRx:=2115"},
         {"", "150000000", "150000000", "", "D115N", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonTx:=3115"},
         {"", "150000000", "150000000", "D115R", "", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "CTonTx:=3023", "CTonRx:=3754"},
         {"", "150000000", "150000000", "D023R", "D754R", "FM", "", "5"}},
        {{"FreqRx=150.0", "FreqTx=150.0", "InhTx=ON", "WidNar=Narrow", "ScnLst1=OFF"},
         {"", "150000000", "off", "", "", "NFM", "S", "5"}},
        {{"FreqRx=145.0", "FreqTx=144.4", "CTonTx=USER", "CTonRx=88.5", "RfPwr=High"},
         {"", "145000000", "144400000", "122.9", "88.5", "FM", "", "5"}},
    };
    // clang-format on
    ASSERT_EQ(Run({"new", "--variant", "4", "-o", File("all.hxq")}).exit, 0);
    std::vector<std::string> set = {"set", File("all.hxq"), "CommonSet.Expert.UsrCtcssFreq=122.9"};
    for (std::size_t n = 1; n <= cases.size(); ++n) {
        const std::string ch = "Mch.CH" + std::to_string(n) + ".";
        set.push_back(ch + "ChOn=ON");
        for (const std::string& v : cases[n - 1].set)
            set.push_back(ch + v);
    }
    const CRun made = Run(set);
    ASSERT_EQ(made.exit, 0) << made.err;
    const CRun out = Run({"csv", "export", File("all.hxq"), "-o", File("all.csv")});
    ASSERT_EQ(out.exit, 0) << out.err;
    std::istringstream lines(ReadAll(File("all.csv")));
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> header = Split(line);
    std::size_t n = 0;
    for (; std::getline(lines, line); ++n) {
        ASSERT_LT(n, cases.size()) << line;
        const CChirpRow got = ReadAsChirp(header, Split(line));
        const CChirpRow& want = cases[n].meaning;
        EXPECT_EQ(got.error, "") << line;
        EXPECT_EQ(std::vector<std::string>(
                      {got.rx, got.tx, got.txTone, got.rxTone, got.mode, got.skip, got.watts}),
                  std::vector<std::string>({want.rx, want.tx, want.txTone, want.rxTone, want.mode,
                                            want.skip, want.watts}))
            << line;
    }
    EXPECT_EQ(n, cases.size());
    // Into a new file with the same user tone: the same list comes out.
    ASSERT_EQ(Run({"new", "--variant", "4", "-o", File("back.hxq")}).exit, 0);
    ASSERT_EQ(Run({"set", File("back.hxq"), "CommonSet.Expert.UsrCtcssFreq=122.9"}).exit, 0);
    const CRun back = Run({"csv", "import", File("back.hxq"), File("all.csv")});
    EXPECT_EQ(back.exit, 0) << back.out << back.err;
    EXPECT_EQ(Run({"csv", "export", File("back.hxq")}).out, ReadAll(File("all.csv")));
}

TEST_F(CliTest, CsvExportWritesTheChannelsInUse) {
    const std::string f = MakeFile("doc.hxq", 5, "446.100", "446.20625");
    ASSERT_EQ(Run({"set", f, "Mch.CH1.FreqTx=446.100", "Mch.CH2.FreqTx=446.20625"}).exit, 0);
    const std::string rows = "1,,446.100000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.5,,"
                             "0.5W,,,,,\r\n"
                             "2,,446.206250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,"
                             "0.5W,,,,,\r\n";
    const CRun out = Run({"csv", "export", f});
    EXPECT_EQ(out.exit, 0) << out.err;
    EXPECT_EQ(out.out, kHeader + rows);
    const CRun file = Run({"csv", "export", f, "-o", File("out.csv")});
    EXPECT_EQ(file.exit, 0) << file.err;
    EXPECT_EQ(file.out, "ktz30cli: wrote " + File("out.csv") + ": 2 channels\n");
    EXPECT_EQ(ReadAll(File("out.csv")), kHeader + rows);
    // Exporting then importing into the same file changes not one byte.
    const std::string before = ReadAll(f);
    const CRun back = Run({"csv", "import", f, File("out.csv")});
    EXPECT_EQ(back.exit, 0) << back.out << back.err;
    EXPECT_EQ(ReadAll(f), before);
}

TEST_F(CliTest, CsvImportReportsAndSaysSoInItsExitStatus) {
    struct Case {
        const char* name;
        std::string csv;
        int exit;
        std::string out; // lines on standard output
        std::string err;
        const char* ch3;      // Mch.CH3.FreqRx afterwards ("" when the file is unchanged)
        const char* tx3 = ""; // Mch.CH3.FreqTx afterwards, when given
    };
    const std::vector<Case> cases = {
        {"clean", kHeader + "3,,446.031250,,,,,,,,,,NFM,,,,,,,,\r\n", 0,
         ": 1 channel imported (CH 3)\n", "", "446.03125"},
        {"short header, LF lines", "Location,Frequency\n3,145.5\n", 0, "(CH 3)\n", "", "145.50000"},
        {"rows skipped",
         kHeader + "20,,446.0,,,,,,,,,,FM,,,,,,,,\r\n3,,446.0312,,,,,,,,,,NFM,,,,,,,,\r\n", 3,
         "row 2, Location: channel 20: this radio has 16 channels; row skipped\n"
         "row 3, Frequency: 446.031200 MHz snapped to 446.031250 MHz\n",
         "", "446.03125"},
        // Rows of a download cut short would take defaults for what they lost.
        {"rows cut short",
         kHeader + "3,,446.031250,,,,,,,,,,NFM,,,,,,,,\r\n16,,1\r\n" +
             "15,,446.100000,,0.000000,TSQL\r\n",
         3, "row 3 has 3 of 21 fields; row skipped\nrow 4 has 6 of 21 fields; row skipped\n", "",
         "446.03125"},
        {"the Duplex decides the side", "Location,Frequency,Duplex,Offset\r\n3,446.1,-,-0.6\r\n", 3,
         "row 2, Offset: '-0.6' taken as 0.600000 MHz below the receive frequency (Duplex -)\n", "",
         "446.10000", "445.50000"},
        {"values kept in another form",
         "Location,Frequency,Tone,rToneFreq\r\n3,446.0312504,Tone,88.54\r\n", 3,
         "row 2, Frequency: 446.0312504 MHz snapped to 446.031250 MHz\n"
         "row 2, rToneFreq: '88.54' Hz stored as 88.5 Hz\n",
         "", "446.03125"},
        {"no Location column", "Frequency,Name\r\n446.0,x\r\n", 1, "",
         "the file has no Location column: line 1 holds 'Frequency,Name' (the first line that "
         "is not a comment must name the columns)\n"
         "ktz30cli csv import: nothing saved\n",
         ""},
        {"a quote left open", kHeader + "3,\"x,446.0\r\n", 1, "",
         ": line 2: a quoted field is not closed before the end of the file\n", ""},
    };
    for (const Case& c : cases) {
        const std::string f = MakeFile("doc.hxq", 5);
        const std::string before = ReadAll(f);
        WriteAll(File("in.csv"), c.csv);
        const CRun r = Run({"csv", "import", f, File("in.csv")});
        EXPECT_EQ(r.exit, c.exit) << c.name << "\n" << r.out << r.err;
        EXPECT_TRUE(Has(r.out, c.out)) << c.name << "\n" << r.out;
        EXPECT_TRUE(Has(r.err, c.err)) << c.name << "\n" << r.err;
        if (*c.ch3) {
            EXPECT_TRUE(Has(r.out, "ktz30cli: wrote " + f + ": ")) << c.name;
            EXPECT_EQ(Get(f, "Mch.CH3.FreqRx"), c.ch3) << c.name;
            if (*c.tx3) {
                EXPECT_EQ(Get(f, "Mch.CH3.FreqTx"), c.tx3) << c.name;
            }
            EXPECT_EQ(Get(f, "Mch.CH16.ChOn"), "OFF") << c.name;
        } else {
            EXPECT_EQ(ReadAll(f), before) << c.name;
        }
    }
    // -o leaves the source as it was; a list that cannot be read fails before anything.
    const std::string f = MakeFile("doc.hxq", 5);
    WriteAll(File("in.csv"), "Location,Frequency\r\n3,446.03125\r\n");
    EXPECT_EQ(Run({"csv", "import", f, File("in.csv"), "-o", File("new.hxq")}).exit, 0);
    EXPECT_EQ(Get(File("new.hxq"), "Mch.CH3.ChOn"), "ON");
    EXPECT_EQ(Get(f, "Mch.CH3.ChOn"), "OFF");
    const CRun missing = Run({"csv", "import", f, File("none.csv")});
    EXPECT_EQ(missing.exit, 1);
    EXPECT_TRUE(Has(missing.err, "cannot open " + File("none.csv") + ": No such file"))
        << missing.err;
}

// Every shipped template is the factory defaults of its variant with its channel list imported,
// and new --template writes it as it is shipped.
TEST_F(CliTest, TemplatesAreTheirChannelListsOnTheFactoryDefaults) {
    const std::string folder = std::string(KT_SOURCE_DIR) + "/data/templates/";
    std::istringstream catalogue(ReadAll(folder + "templates.txt"));
    int made = 0;
    for (std::string line; std::getline(catalogue, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, variants;
        std::getline(fields, name, '\t');
        std::getline(fields, variants, '\t');
        std::istringstream list(variants);
        for (int v; list >> v;) {
            const std::string what = name + " variant " + std::to_string(v);
            const CRun t = Run(
                {"new", "--template", name, "--variant", std::to_string(v), "-o", File("t.hxq")});
            ASSERT_EQ(t.exit, 0) << what << t.err;
            const std::string shipped = folder + name + ".v" + std::to_string(v) + ".hxq";
            EXPECT_TRUE(Has(t.out, "(" + shipped + ")\n")) << t.out;
            EXPECT_EQ(ReadAll(File("t.hxq")), ReadAll(shipped)) << what;
            ASSERT_EQ(Run({"new", "--variant", std::to_string(v), "-o", File("m.hxq")}).exit, 0);
            const CRun import = Run({"csv", "import", File("m.hxq"), folder + name + ".csv"});
            EXPECT_NE(import.exit, 1) << what << import.err;
            EXPECT_EQ(ReadAll(File("m.hxq")), ReadAll(shipped)) << what << ": make it again with "
                                                                << "scripts/make-templates";
            ++made;
        }
    }
    EXPECT_EQ(made, 4);
    // The eight PMR446 channels on a 16-channel radio; the 16 of the digital-era plan.
    struct Case {
        const char* name;
        const char* channels;
        const char* last;
    };
    for (const Case& c : {Case{"pmr446", "8 channels", "446.093750"},
                          Case{"pmr446-16", "16 channels", "446.193750"}}) {
        const CRun t = Run({"new", "--template", c.name, "--variant", "5", "-o", File("p.hxq")});
        EXPECT_TRUE(
            Has(t.out, "template " + std::string(c.name) + " for PMR 16CH, " + c.channels + " ("))
            << t.out;
        const std::string csv = Run({"csv", "export", File("p.hxq")}).out;
        EXPECT_TRUE(Has(csv, "\r\n1,,446.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,"
                             "6.25,,0.1W,"))
            << csv;
        EXPECT_TRUE(Has(csv, std::string(",") + c.last + ",,0.000000,")) << csv;
    }
    struct Refusal {
        std::vector<std::string> args;
        const char* err;
    };
    const Refusal refusals[] = {
        {{"new", "--template", "pmr446", "--variant", "4", "-o", File("x.hxq")},
         "no template pmr446 for variant 4; there is pmr446 (variants 1, 3, 5)"},
        {{"new", "--template", "marine", "--variant", "5", "-o", File("x.hxq")},
         "no template 'marine'; the templates: pmr446 (variants 1, 3, 5), pmr446-16 (variant 5)"},
    };
    for (const Refusal& r : refusals) {
        const CRun run = Run(r.args);
        EXPECT_EQ(run.exit, 1);
        EXPECT_TRUE(Has(run.err, r.err)) << run.err;
    }
}

// Lists as they circulate: comment lines, CHIRP's Location 0, names, and the choice of rows.
TEST_F(CliTest, CsvImportTakesListsAsTheyCirculate) {
    const std::string list = "# from CHIRP\r\nLocation,Name,Frequency,Comment\r\n# first block\r\n"
                             "0,Call,446.00625,\r\n1,,446.01875 MHz,\r\n5,,446.03125,by hand\r\n"
                             "#\r\n9,,446.04375,\r\n";
    struct Case {
        std::vector<std::string> options;
        int exit;
        std::string out;      // lines on standard output, in order
        const char* channels; // Mch.CHn.FreqRx of channels 1 to 5 and 9, "-" for off
    };
    const std::string names = "note: the radio stores no channel names or comments: those of the "
                              "list are left aside\n";
    const std::vector<Case> cases = {
        {{},
         3,
         "row 4, Location: channel numbers start at 1 (renumbering takes it); row skipped\n" +
             names + "ktz30cli: wrote F: 3 channels imported (CH 1, 5, 9), 1 row skipped\n",
         "446.01875 - - - 446.03125 446.04375"},
        {{"--renumber"},
         0,
         names + "ktz30cli: wrote F: 4 channels imported (CH 1 to 4)\n",
         "446.00625 446.01875 446.03125 446.04375 - -"},
        {{"--locations", "1-5"},
         0,
         names + "ktz30cli: wrote F: 2 channels imported (CH 1, 5), 2 rows outside the "
                 "locations\n",
         "446.01875 - - - 446.03125 -"},
        {{"--renumber", "--locations", "5-9"},
         0,
         names + "ktz30cli: wrote F: 2 channels imported (CH 1, 2), 2 rows outside the locations\n",
         "446.03125 446.04375 - - - -"},
        {{"--locations", "9"}, 2, "", ""},
        {{"--locations", "5-1"}, 2, "", ""},
    };
    for (const Case& c : cases) {
        std::string what;
        for (const std::string& o : c.options)
            what += o + " ";
        const std::string f = File("pmr.hxq");
        ASSERT_EQ(Run({"new", "--variant", "5", "-o", f}).exit, 0);
        WriteAll(File("in.csv"), list);
        std::vector<std::string> args = {"csv", "import", f, File("in.csv")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CRun r = Run(args);
        EXPECT_EQ(r.exit, c.exit) << what << r.out << r.err;
        if (c.exit == 2) {
            EXPECT_TRUE(Has(r.err, "is not A-B")) << what << r.err;
            continue;
        }
        std::string out = c.out;
        out.replace(out.find("F:"), 1, f);
        EXPECT_EQ(r.out, out) << what;
        std::string got;
        for (int n : {1, 2, 3, 4, 5, 9}) {
            const std::string ch = "Mch.CH" + std::to_string(n) + ".";
            got += (got.empty() ? "" : " ") +
                   (Get(f, ch + "ChOn") == "ON" ? Get(f, ch + "FreqRx") : std::string("-"));
        }
        EXPECT_EQ(got, c.channels) << what;
    }
    // Rows renumbered beyond the radio's channels are one note; the watts of the settings.
    std::string many = "Location,Frequency,Power\r\n";
    for (int n = 0; n < 20; ++n)
        many += std::to_string(n) + ",446.00625,4.5W\r\n";
    WriteAll(File("many.csv"), many);
    std::filesystem::create_directories(File("config/Norq"));
    WriteAll(File("config/Norq/KT-Z30.conf"), "[CSV]\nPmrHighWatts=4\n");
    const std::string f = File("pmr.hxq");
    ASSERT_EQ(Run({"new", "--variant", "5", "-o", f}).exit, 0);
    const CRun r = Run({"csv", "import", f, File("many.csv"), "--renumber"});
    EXPECT_EQ(r.exit, 3);
    EXPECT_TRUE(Has(r.out, "row 18, Location: rows from here on go beyond channel 16 (4 rows): "
                           "this radio has 16 channels; rows skipped\n"))
        << r.out;
    EXPECT_TRUE(Has(r.out, "row 17, Power: '4.5W' taken as High (4W), the nearest level\n"))
        << r.out;
    EXPECT_EQ(Get(f, "Mch.CH16.RfPwr"), "High");
    EXPECT_TRUE(Has(Run({"csv", "export", f}).out, ",4W,")) << "the settings' watts";
}
