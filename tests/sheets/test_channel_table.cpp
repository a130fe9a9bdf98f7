// Table text pasted into a PMR memory sheet, cell by cell: the columns the sheet shows in a
// form of their own (the long-tone "L", the code lists, the shortened Auto Reset texts) go back
// into their fields, what no choice is refused, and a spreadsheet's quoted cells are cut right.
#include "app/clone_support_doc.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/channel_table.h"
#include "tests/support/variant_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ChannelTable : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override { ResetPlatform(); }
};

std::string Field(CZ30Doc& doc, const char* field) {
    return GetNode(doc.GetRoot(), std::string("Mch.CH3.") + field)->GetText();
}

} // namespace

TEST_F(ChannelTable, SheetFormsGoBackIntoTheirFields) {
    const struct {
        const char* column;
        const char* cell;
        std::vector<std::pair<const char*, const char*>> fields; // field, text afterwards
        const char* note;                                        // "" for none
    } cases[] = {
        {"RPT", "5L", {{"RPT", "5"}, {"RPTLng", "ON"}}, ""},
        {"STN", "32", {{"STN", "32"}, {"STNLng", "OFF"}}, ""},
        {"ID", "0L", {{"Id", "OFF"}, {"IdLng", "OFF"}}, "Id"},
        {"RX C-No(List No.)", "1_3", {{"RxCNo1", "1"}, {"RxCNo2", "_"}, {"RxCNo3", "3"}}, ""},
        {"RX C-No(List No.)", "2__", {{"RxCNo1", "1"}, {"RxCNo2", "2"}}, "RxCNo1"},
        {"auto reset", "timer ai", {{"AutoResetP", "Timer A Inact"}}, ""},
        {"Moni(Sw Action)", "In A", {{"Moni", "In A"}}, ""},
        {"CH Inhibit", "ON", {{"InhCh", "ON"}}, ""},
    };
    for (const auto& c : cases) {
        auto doc = VariantDoc(5);
        CTableEdit edit;
        doc->Edit("paste", [&](CNode& root, CEditReport&) {
            SetValueByName(ChannelNode(&root, 3), "ChOn", 1);
            SetValueByName(ChannelNode(&root, 3), "FreqRx", 446006250);
            SetValueByName(ChannelNode(&root, 3), "FreqTx", 446006250);
            edit = PasteMchTable(&root, true, 5, 16, {3},
                                 std::string("CH\t") + c.column + "\n3\t" + c.cell + "\n");
        });
        ASSERT_TRUE(edit.error.empty()) << edit.error;
        EXPECT_EQ(edit.channels, std::vector<int>{3});
        for (const auto& [field, text] : c.fields)
            EXPECT_EQ(Field(*doc, field), text) << c.cell << " " << field;
        std::string refused;
        for (const auto& [n, r] : edit.values)
            if (r.result.status == CSetStatus::Refused) refused += r.node;
        EXPECT_EQ(refused, c.note) << c.cell;
    }
}

TEST_F(ChannelTable, QuotedCellsAndLineEndsAsSpreadsheetsWriteThem) {
    using Lines = std::vector<std::vector<std::string>>;
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"a\tb\r\nc\td\r\n", {{"a", "b"}, {"c", "d"}}},
        {"\"x\ty\"\t\"say \"\"hi\"\"\"\n", {{"x\ty", "say \"hi\""}}},
        {"\"two\nlines\"\tz\n\n\t\n", {{"two\nlines", "z"}}},
        {"\"open\tcell\n", {{"\"open", "cell"}}},
        {"a\"b\"\tc\rd", {{"a\"b\"", "c"}, {"d"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitTabText(c.text), c.lines) << c.text;
}
