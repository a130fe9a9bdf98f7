// ktz30cli csv export and import, and new --template, as a user runs them.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                            "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,"
                            "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

} // namespace

TEST_F(CliTest, CsvExportWritesTheChannelsInUse) {
    const std::string f = MakeFile("doc.hxq", 5, "446.100", "446.20625");
    ASSERT_EQ(Run({"set", f, "Mch.CH1.FreqTx=446.100", "Mch.CH2.FreqTx=446.20625"}).exit, 0);
    const std::string rows = "1,,446.100000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.5,,"
                             "High,,,,,\r\n"
                             "2,,446.206250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,"
                             "High,,,,,\r\n";
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
         "the file has no Location column: the first line must name the columns\n"
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
                             "6.25,,Low1,"))
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
