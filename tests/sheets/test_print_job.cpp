// What a printout holds without a display: the job list of the "Print" dialog's boxes, the boxes
// in the settings, each section's texts, and the page arithmetic on any page size.
#include "core/platform.h"
#include "sheets/mch_rows.h"
#include "sheets/print_job.h"
#include "sheets/print_layout.h"
#include "sheets/sheet_desc.h"
#include "tests/radiomap/hub_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace testhub;

namespace {

using I = CPrintItem;
constexpr int kLmr16 = 4, kPmr16 = 5;

CPrintSelection Boxes(bool common, bool memory, bool dtmf, bool scan, bool signalling, bool maker) {
    return {false, common, memory, dtmf, scan, signalling, maker};
}

} // namespace

TEST(PrintJob, TheBoxesMakeTheJobInTheDialogsOrder) {
    const CPrintSelection all{};
    CPrintSelection allAndMaker{};
    allAndMaker.maker = true;
    const struct {
        const char* what;
        CPrintSelection boxes;
        bool pmr, makerReserve;
        std::vector<I> items;
    } cases[] = {
        {"All, PMR",
         all,
         true,
         false,
         {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::MchPmr, I::DtmfAutodial,
          I::ScanSetting, I::FiveToneRx, I::FiveToneTx, I::FiveToneFormat, I::FiveToneUserTone,
          I::FiveToneSetting}},
        {"All, LMR, maker reserve on and its box checked",
         allAndMaker,
         false,
         true,
         {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::MchLmr, I::DtmfAutodial,
          I::ScanSetting, I::TwoToneRx, I::TwoToneTxCode, I::TwoToneSetting}},
        {"Memory CH and Scan Setting",
         Boxes(0, 1, 0, 1, 0, 0),
         true,
         false,
         {I::MchPmr, I::ScanSetting}},
        {"every box, maker reserve on",
         Boxes(1, 1, 1, 1, 1, 1),
         true,
         true,
         {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::MchPmr, I::DtmfAutodial,
          I::ScanSetting, I::FiveToneRx, I::FiveToneTx, I::FiveToneFormat, I::FiveToneUserTone,
          I::FiveToneSetting, I::Maker}},
        {"2Tone and Common Setting, LMR",
         Boxes(1, 0, 0, 0, 1, 0),
         false,
         false,
         {I::KeyDisplay, I::Common1, I::Common2, I::Expert, I::TwoToneRx, I::TwoToneTxCode,
          I::TwoToneSetting}},
        {"Maker Reserved without maker reserve", Boxes(0, 0, 0, 0, 0, 1), true, false, {}},
        {"nothing checked", Boxes(0, 0, 0, 0, 0, 0), false, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildPrintJob(c.boxes, c.pmr, c.makerReserve), c.items) << c.what;

    // Twelve items for a PMR radio, ten for an LMR one, each with its title.
    EXPECT_STREQ(PrintTitle(I::MchLmr), "Memory Channel");
    EXPECT_STREQ(PrintTitle(I::TwoToneTxCode), "2Tone TX Code");
    EXPECT_STREQ(PrintTitle(I::KeyDisplay), "Key & Display Assign");
    EXPECT_STREQ(PrintTitle(I::FiveToneSetting), "5Tone Setting");
}

TEST(PrintJob, AJobStaysBelowAHundredItems) {
    CPrintJob job;
    int groups = 0;
    while (job.Add(CPrintGroup::All, true))
        ++groups;
    EXPECT_EQ(groups, 8); // 96 items; a ninth group would pass 100
    while (job.Add(I::Maker)) {
    }
    EXPECT_EQ(job.Items().size(), CPrintJob::kMaxItems - 1);
}

TEST(PrintJob, TheBoxesLiveInTheSettingsTheSixthByFamily) {
    ResetPlatform(); // settings in memory, empty
    ISettingsStore& settings = *Platform().settings;
    const CPrintSelection fresh = LoadPrintSelection(settings, true);
    EXPECT_TRUE(fresh.all);
    EXPECT_FALSE(fresh.common || fresh.memory || fresh.dtmf || fresh.scan || fresh.signalling ||
                 fresh.maker);

    StorePrintSelection(settings, Boxes(1, 0, 1, 0, 1, 1), true);
    const std::map<std::string, int> stored = {
        {"All", 0}, {"CommSet", 1}, {"Mch", 0},   {"Dtmf", 1},
        {"Scn", 0}, {"5Tone", 1},   {"Maker", 1}, {"2Tone", -1},
    };
    for (const auto& [key, value] : stored)
        EXPECT_EQ(settings.GetInt("Print", key, -1), value) << key;
    const CPrintSelection pmr = LoadPrintSelection(settings, true);
    EXPECT_TRUE(pmr.signalling && pmr.common && pmr.dtmf && pmr.maker && !pmr.all);
    EXPECT_FALSE(LoadPrintSelection(settings, false).signalling) << "LMR reads \"2Tone\"";
    ResetPlatform();
}

TEST(PrintJob, SectionsTakeTheSheetsAndFormsTexts) {
    auto hub = MakeHub(kPmr16);
    CNode* root = hub->GetRoot();
    SetValue(*hub, "Mch.CH2.ChOn", 1);
    SetValue(*hub, "Mch.PrioA", 2);
    const CPrintSource source{root, kPmr16, MchSheetRows(kPmr16, false)};

    const CPrintSection memory = PrintSection(source, I::MchPmr);
    EXPECT_EQ(memory.title, "Memory Channel");
    ASSERT_EQ(memory.columns.size(), kMchPmrSheet.columnTable.size());
    EXPECT_EQ(memory.columns[26].header, "RX C-No(List No.)");
    EXPECT_EQ(memory.columns[26].width, 10);
    ASSERT_EQ(memory.rows.size(), 16u);
    for (int row = 0; row < 16; ++row)
        EXPECT_EQ(memory.rows[row], MchRowTexts(root, true, kPmr16, row)) << row;
    EXPECT_EQ(memory.rows[1][1], "A");

    EXPECT_EQ(PrintSection(source, I::FiveToneTx).rows.size(), 32u);
    EXPECT_EQ(PrintSection(source, I::FiveToneFormat).rows[9][0], "DTMF");
    EXPECT_EQ(PrintSection({root, kPmr16, MchSheetRows(kPmr16, true)}, I::MchPmr).rows.size(), 36u);

    // Forms: a heading where a group begins, its fields indented below it.
    const struct {
        I item;
        std::size_t line;
        CPrintLine shown;
    } lines[] = {
        {I::KeyDisplay, 0, {"Key Assign", "", true, 0}},
        {I::KeyDisplay, 1, {"Red*", "", false, 1}},
        {I::KeyDisplay, 8, {"Display Assign", "", true, 0}},
        {I::KeyDisplay, 10, {"Opening Beep", "", false, 0}},
        {I::Common2, 0, {"Lockout Penalty Timer", "", false, 0}},
        {I::FiveToneSetting, 0, {"TX Code CH", "", true, 0}},
        {I::FiveToneSetting, 16, {"Compare Digit", "", true, 1}},
        {I::FiveToneSetting, 17, {"1", "", false, 2}},
        {I::ScanSetting, 0, {"Mode", "", false, 0}},
    };
    for (const auto& c : lines) {
        const CPrintSection form = PrintSection(source, c.item);
        ASSERT_GT(form.lines.size(), c.line) << PrintTitle(c.item);
        const CPrintLine& l = form.lines[c.line];
        EXPECT_EQ(l.label, c.shown.label) << PrintTitle(c.item) << " " << c.line;
        EXPECT_EQ(l.heading, c.shown.heading) << c.shown.label;
        EXPECT_EQ(l.indent, c.shown.indent) << c.shown.label;
        EXPECT_FALSE(form.IsSheet());
    }
    // Values as the forms show them; "Common 2" has cells of 18 and 18 "W".
    const CPrintSection common2 = PrintSection(source, I::Common2);
    EXPECT_EQ(common2.labelWidth, 18);
    EXPECT_EQ(common2.valueWidth, 18);
    EXPECT_EQ(PrintSection(source, I::Common1).labelWidth, 0);
    const CPrintSection dtmf = PrintSection(source, I::DtmfAutodial);
    ASSERT_GE(dtmf.lines.size(), 4u);
    EXPECT_EQ(dtmf.lines[3].label, "DTMF Timer");
    EXPECT_NE(dtmf.lines[3].value.find('.'), std::string::npos) << dtmf.lines[3].value;
}

TEST(PrintLayout, RowsAndColumnsFitAnyPage) {
    const struct {
        int height, header, line, rows;
    } rows[] = {
        {1000, 40, 40, 24}, {1000, 0, 40, 25}, {39, 0, 40, 1},
        {10, 80, 40, 1},    {-50, 0, 40, 1},   {1000, 0, 0, 1},
    };
    for (const auto& c : rows)
        EXPECT_EQ(RowsPerPage(c.height, c.header, c.line), c.rows)
            << c.height << " " << c.header << " " << c.line;

    const std::vector<int> lmr = {3, 5, 7, 9, 9, 7, 7, 7, 8, 7, 4, 6, 6, 8, 7, 5, 7};
    const struct {
        std::vector<int> widths;
        int width;
        std::vector<CColumnChunk> chunks;
    } chunks[] = {
        {lmr, 112, {{1, 16}}},
        {lmr, 30, {{1, 3}, {4, 6}, {7, 10}, {11, 14}, {15, 16}}},
        {{3, 5, 7}, 10, {{1, 1}, {2, 2}}},
        {{3, 5, 7}, 1, {{1, 1}, {2, 2}}}, // narrower than column 0: still a column a page
        {{3, 5, 7}, 0, {{1, 1}, {2, 2}}},
        {{3}, 50, {{1, 0}}}, // column 0 alone
        {{}, 50, {{1, 0}}},
    };
    for (const auto& c : chunks)
        EXPECT_EQ(ColumnChunks(c.widths, c.width), c.chunks) << c.width;
}

TEST(PrintLayout, PagesTakeEveryRowWithEveryChunk) {
    const std::vector<CColumnChunk> two = {{1, 4}, {5, 8}};
    const struct {
        int rows, perPage;
        std::vector<CColumnChunk> chunks;
        std::vector<CPageSlice> pages;
    } cases[] = {
        {36, 30, two, {{0, 30, {1, 4}}, {0, 30, {5, 8}}, {30, 6, {1, 4}}, {30, 6, {5, 8}}}},
        {4, 30, two, {{0, 4, {1, 4}}, {0, 4, {5, 8}}}},
        {3, 0, {{1, 2}}, {{0, 1, {1, 2}}, {1, 1, {1, 2}}, {2, 1, {1, 2}}}},
        {0, 30, two, {{0, 0, {1, 4}}, {0, 0, {5, 8}}}},
        {2, 5, {}, {{0, 2, {1, 0}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlanPages(c.rows, c.perPage, c.chunks), c.pages) << c.rows << "/" << c.perPage;

    const struct {
        int label, value, width, fitLabel, fitValue;
    } cells[] = {
        {18, 18, 40, 18, 18}, {18, 18, 30, 15, 15}, {12, 4, 8, 6, 2},
        {18, 18, 1, 1, 1},    {0, 0, 10, 1, 1},     {30, 1, 20, 19, 1},
    };
    for (const auto& c : cells)
        EXPECT_EQ(FitFormCells(c.label, c.value, c.width), std::make_pair(c.fitLabel, c.fitValue))
            << c.label << "+" << c.value << " in " << c.width;
    // What the texts need stays, where both needs fit across the page.
    const struct {
        int label, value, width, labelNeed, valueNeed, fitLabel, fitValue;
    } needs[] = {
        {18, 18, 28, 13, 4, 14, 14},  // both halves are enough
        {18, 18, 28, 17, 4, 17, 11},  // the label keeps its need
        {18, 18, 28, 4, 16, 12, 16},  // the value keeps its need
        {18, 18, 28, 20, 16, 14, 14}, // both needs do not fit: in proportion
        {18, 18, 40, 30, 30, 18, 18}, // both fit as asked
    };
    for (const auto& c : needs)
        EXPECT_EQ(FitFormCells(c.label, c.value, c.width, c.labelNeed, c.valueNeed),
                  std::make_pair(c.fitLabel, c.fitValue))
            << c.labelNeed << "+" << c.valueNeed << " in " << c.width;
}

// A page never ends with a group's heading whose lines are on the next page.
TEST(PrintLayout, FormPagesKeepHeadingsWithTheirLines) {
    const bool H = true, L = false;
    const struct {
        std::vector<bool> heading;
        int perPage;
        std::vector<std::pair<int, int>> pages; // first line, count
    } cases[] = {
        {{L, L, H, L, L}, 3, {{0, 2}, {2, 3}}},
        {{L, H, H, L}, 3, {{0, 1}, {1, 3}}},
        {{H, L, L, H, L}, 4, {{0, 3}, {3, 2}}},
        {{H, H, H, L}, 2, {{0, 2}, {2, 2}}}, // nothing else on the page: it ends as it must
        {{L, L, H}, 2, {{0, 2}, {2, 1}}},
        {{}, 5, {{0, 0}}},
        {{L, L, L}, 0, {{0, 1}, {1, 1}, {2, 1}}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<int, int>> pages;
        for (const CPageSlice& p : PlanFormPages(c.heading, c.perPage))
            pages.emplace_back(p.firstRow, p.rowCount);
        EXPECT_EQ(pages, c.pages) << c.heading.size() << "/" << c.perPage;
    }
}
