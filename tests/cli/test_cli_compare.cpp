// diff and set --from: pairs of files set apart, dumps edited and given back.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <QDir>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// diff: files set apart by a few values, through the files and through a simulated radio.
TEST_F(CliTest, DiffListsExactlyWhatWasSetAndExitsAsDiff) {
    const std::string a = File("a.hxq"), b = File("b.hxq");
    ASSERT_EQ(Run({"new", "--variant", "5", "-o", a}).exit, 0);
    ASSERT_EQ(Run({"set", a, "Mch.CH4.ChOn=ON", "Mch.CH4.FreqRx=446.1",
                   "CommonSet.Common1.TotTim:=45", "CommonSet.Common1.Comment1=SHOP", "-o", b})
                  .exit,
              0);
    const std::string maker = File("maker.hxq"), two = File("two.hxq"), quote = File("q.hxq");
    ASSERT_EQ(Run({"set", a, "CommonSet.Common1.Comment1=SAY \"HI\" \\ 7", "-o", quote}).exit, 0);
    ASSERT_EQ(Run({"set", a, "MakerR.SigDetTim:=20", "-o", maker}).exit, 0);
    ASSERT_EQ(Run({"new", "--variant", "3", "-o", two}).exit, 0);
    const std::string lines = "Mch.CH4.ChOn\tOFF\tON\nMch.CH4.FreqRx\t0.00000\t446.10000\n"
                              "Mch.CH4.FreqTx\t0.00000\t446.10000\n"
                              "CommonSet.Common1.TotTim\t30\t45\n"
                              "CommonSet.Common1.Comment1\t\tSHOP\n";
    struct {
        std::vector<std::string> args;
        int exit;
        std::string out, err;
    } cases[] = {
        {{"diff", a, a}, 0, "", ""},
        {{"diff", a, b}, 1, lines, "5 differences: 3 in Mch.CH4, 2 in CommonSet\n"},
        {{"diff", "--codes", a, b},
         1,
         "Mch.CH4.ChOn\tOFF (0)\tON (1)\nMch.CH4.FreqRx\t0.00000 (0)\t446.10000 (446100000)\n"
         "Mch.CH4.FreqTx\t0.00000 (0)\t446.10000 (446100000)\n"
         "CommonSet.Common1.TotTim\t30\t45\nCommonSet.Common1.Comment1\t (0)\tSHOP (0)\n",
         ""},
        {{"diff", "--json", b, a},
         1,
         "[\n {\"path\": \"Mch.CH4.ChOn\", \"a\": \"ON\", \"b\": \"OFF\", \"codeA\": 1, \"codeB\": "
         "0},",
         ""},
        {{"diff", "--json", a, a}, 0, "[]\n", ""},
        {{"diff", "--json", a, quote},
         1,
         "[\n {\"path\": \"CommonSet.Common1.Comment1\", \"a\": \"\", \"b\": \"SAY \\\"HI\\\" "
         "\\\\ 7\", \"codeA\": 0, \"codeB\": 0}\n]\n",
         ""},
        {{"diff", a, maker}, 0, "", ""}, // the adjust area only when asked
        {{"diff", "--adjust", a, maker}, 1, "MakerR.SigDetTim\t15\t20\n", "1 in MakerR"},
        {{"diff", a, two}, 1, "Variant\tPMR 16CH\tPMR 2CH\n", "1 difference: 1 in Variant"},
        {{"diff", a, File("none.hxq")}, 2, "", "No such file or directory"},
        {{"diff", a}, 2, "", "give two files, or one file and --port"},
    };
    for (const auto& c : cases) {
        const CRun r = Run(c.args);
        EXPECT_EQ(r.exit, c.exit) << c.args[1] << r.err;
        EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << c.args[1];
        EXPECT_TRUE(Has(r.err, c.err)) << r.err;
    }
    // The radio holds b: the file is compared with what the read gives, and the read is backed up.
    CSim sim({"--variant", "5", "--image", QString::fromStdString(b)});
    CRun r = Run({"diff", a, "--port", sim.Path()});
    EXPECT_EQ(r.exit, 1) << r.err;
    EXPECT_EQ(r.out, lines);
    EXPECT_TRUE(Has(r.err, "5 differences")) << r.err;
    EXPECT_EQ(Run({"diff", b, "--port", sim.Path(), "--no-backup"}).exit, 0);
    EXPECT_EQ(Run({"diff", a, "--port", File("no-such-tty")}).exit, 91);
}

// A dump given back into the factory defaults of the file's variant gives the file again, byte
// for byte: every stock template and every variant's default file.
TEST_F(CliTest, DumpSetFromGivesBackEveryTemplateAndDefaultFile) {
    std::vector<std::pair<std::string, int>> files;
    const QDir templates(QStringLiteral(KT_SOURCE_DIR "/data/templates"));
    for (const QString& name : templates.entryList({QStringLiteral("*.v?.hxq")}))
        files.emplace_back(templates.filePath(name).toStdString(),
                           name.at(name.size() - 5).digitValue());
    for (int v = 0; v < 6; ++v) {
        files.emplace_back(File(("default" + std::to_string(v) + ".hxq").c_str()), v);
        ASSERT_EQ(Run({"new", "--variant", std::to_string(v), "-o", files.back().first}).exit, 0);
    }
    ASSERT_GE(files.size(), 10u);
    const std::string dump = File("dump.txt"), fresh = File("fresh.hxq"), out = File("out.hxq");
    for (const auto& [file, variant] : files) {
        CRun r = Run({"dump", file}, {}, QString::fromStdString(dump));
        ASSERT_EQ(r.exit, 0) << file;
        ASSERT_EQ(Run({"new", "--variant", std::to_string(variant), "-o", fresh}).exit, 0);
        r = Run({"set", fresh, "--from", dump, "--base", file, "-o", out});
        EXPECT_EQ(r.exit, 0) << file << r.err;
        EXPECT_EQ(r.err, "") << file;
        EXPECT_EQ(ReadAll(out), ReadAll(file)) << file;
        EXPECT_EQ(Run({"diff", "--adjust", file, out}).exit, 0) << file;
    }
}

TEST_F(CliTest, SetFromTellsWhatItTookAndSavesOnlyWithNothingRefused) {
    const std::string file = File("f.hxq"), out = File("out.hxq"), dump = File("edited.txt");
    ASSERT_EQ(Run({"new", "--variant", "5", "-o", file}).exit, 0);
    struct {
        const char* name;
        std::string text;
        int exit;
        std::vector<std::string> err;
        std::string diff; // what out then holds that the file does not
    } cases[] = {
        {"edited lines, comments and CR LF",
         "# shop settings\r\n\r\nMch.CH2.ChOn\t0\tON\r\nMch.CH2.FreqRx\t0\t446.10001\r\n"
         "CommonSet.Common1.TotTim\t45\t45\nCommonSet.Common1.PenaltyTim\t20\t25\n"
         "Mch.CH3.RfPwr\t1\tLow\n",
         0,
         {"line 3: Mch.CH2.ChOn: code 0 and text 'ON' disagree; the text is taken",
          "line 4: Mch.CH2.FreqRx: given '446.10001', stored '446.10000'",
          "line 6: CommonSet.Common1.PenaltyTim: code 20 and text '25' disagree",
          "line 7: Mch.CH3.RfPwr: channel 3 is off; left as it is"},
         "Mch.CH2.ChOn\tOFF\tON\nMch.CH2.FreqRx\t0.00000\t446.10000\n"
         "CommonSet.Common1.TotTim\t30\t45\nCommonSet.Common1.PenaltyTim\t20\t25\n"},
        {"a refused value saves nothing",
         "Mch.CH1.ChOn\t1\tON\nMch.CH1.RfPwr\t9\tLoud\nMch.CH99.ChOn\t1\tON\n",
         1,
         {"line 2: Mch.CH1.RfPwr: 'Loud' is not one of the choices", "line 3: unknown path",
          "nothing saved"},
         ""},
        {"lines of another form save nothing",
         "Mch.CH1.ChOn=ON\nMch.CH1.ChOn\tx\tON\nMch.CH1.ChOn\t99999999999\tON\n",
         1,
         {"line 1: not PATH<tab>CODE<tab>TEXT", "line 2: 'x' is not an integer code",
          "line 3: '99999999999' is not an integer code", "nothing saved"},
         ""},
    };
    for (const auto& c : cases) {
        WriteAll(dump, c.text);
        QFile::remove(QString::fromStdString(out));
        const CRun r = Run({"set", file, "--from", dump, "-o", out});
        EXPECT_EQ(r.exit, c.exit) << c.name << r.err;
        for (const std::string& e : c.err)
            EXPECT_TRUE(Has(r.err, e)) << c.name << ": " << e << "\n" << r.err;
        EXPECT_EQ(QFile::exists(QString::fromStdString(out)), c.exit == 0) << c.name;
        if (c.exit == 0) {
            EXPECT_EQ(Run({"diff", file, out}).out, c.diff) << c.name;
        }
    }
    // The bytes of a base of another variant would change the file's variant: refused.
    ASSERT_EQ(Run({"dump", file}, {}, QString::fromStdString(dump)).exit, 0);
    const std::string two = File("two.hxq");
    ASSERT_EQ(Run({"new", "--variant", "3", "-o", two}).exit, 0);
    const CRun base = Run({"set", file, "--from", dump, "--base", two, "-o", out});
    EXPECT_EQ(base.exit, 1);
    EXPECT_TRUE(Has(base.err, "is a PMR 2CH file, not PMR 16CH")) << base.err;
    EXPECT_EQ(Run({"set", file}).exit, 2);
    EXPECT_EQ(Run({"set", file, "--from", File("none.txt")}).exit, 1);
}
