// The row operations a script names ("delete 5", "copy 2 7") run as one document edit.
#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/mch_rows.h"
#include "tests/support/variant_doc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kBase = 400000000;

std::string Ch(int n, const char* field) { return "Mch.CH" + std::to_string(n) + "." + field; }

class ChannelCommand : public ::testing::Test {
protected:
    void SetUp() override { ResetPlatform(); }
    void TearDown() override { ResetPlatform(); }

    // A document of the variant whose channels 1..count are in use, each recognisable by its
    // receive frequency, with Prio A on 7, Prio B on the last row and Emergency on 3.
    std::unique_ptr<CZ30Doc> MakeDoc(int variant, int count) {
        auto doc = VariantDoc(variant);
        const int rows = MchSheetRows(variant);
        doc->Edit("numbers", [&](CNode& root, CEditReport&) {
            for (int n = 1; n <= count; ++n) {
                SetValueByName(ChannelNode(&root, n), "ChOn", 1);
                SetValueByName(ChannelNode(&root, n), "FreqRx", kBase + 12500 * n);
                SetValueByName(ChannelNode(&root, n), "FreqTx", kBase + 12500 * n);
            }
            SetChannelAttribute(&root, kAttrPrioA, std::min(7, rows));
            SetChannelAttribute(&root, kAttrPrioB, rows);
            SetChannelAttribute(&root, kAttrEmr, 3);
        });
        return doc;
    }
    static int Value(CZ30Doc& doc, const std::string& path) {
        return GetNode(doc.GetRoot(), path)->GetValue();
    }
    // Which original channel each of 1..rows holds now, 0 for a blank one.
    static std::vector<int> Origins(CZ30Doc& doc, int rows) {
        std::vector<int> origins;
        for (int n = 1; n <= rows; ++n)
            origins.push_back(
                Value(doc, Ch(n, "ChOn")) ? (Value(doc, Ch(n, "FreqRx")) - kBase) / 12500 : 0);
        return origins;
    }
};

} // namespace

TEST_F(ChannelCommand, RunsAsOneEditWithTheSheetsMoves) {
    struct Case {
        std::vector<std::string> words;
        int variant; // 4 LMR 16CH, 2 LMR 2CH (4 rows, the last two beyond its channels)
        int count;   // channels in use
        const char* label;
        const char* done;
        std::vector<int> origins; // of the rows afterwards
        int prioA, prioB, emr;
    };
    // clang-format off
    const Case cases[] = {
        {{"delete", "3"}, 4, 16, "Delete CH 3", "Deleted CH 3.",
         {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0}, 6, 15, 3},
        {{"insert", "5"}, 4, 16, "Insert CH 5", "Inserted a blank CH 5.",
         {1, 2, 3, 4, 0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, 8, 16, 3},
        {{"clear", "2"}, 4, 4, "Clear CH 2", "Cleared CH 2.",
         {1, 0, 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7, 16, 3},
        {{"copy", "2", "9"}, 4, 4, "Copy CH 2 to CH 9", "Copied CH 2 to CH 9.",
         {1, 2, 3, 4, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, 7, 16, 3},
        {{"delete", "1"}, 2, 4, "Delete CH 1", "Deleted CH 1.", {2, 3, 4, 0}, 3, 3, 2},
        // Runs of channels, as the sheet's several rows.
        {{"delete", "3-5"}, 4, 16, "Delete CH 3-5", "Deleted CH 3-5.",
         {1, 2, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0, 0, 0}, 4, 13, 3},
        {{"insert", "5-6"}, 4, 16, "Insert CH 5-6", "Inserted a blank CH 5-6.",
         {1, 2, 3, 4, 0, 0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, 9, 16, 3},
        {{"clear", "2-3"}, 4, 4, "Clear CH 2-3", "Cleared CH 2-3.",
         {1, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 7, 16, 3},
        {{"copy", "1-2", "15"}, 4, 16, "Copy CH 1-2 to CH 15", "Copied CH 1-2 to CH 15.",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 1, 2}, 7, 16, 3},
    };
    // clang-format on
    for (const Case& c : cases) {
        const std::string what = c.words[0] + " " + c.words[1];
        auto doc = MakeDoc(c.variant, c.count);
        const std::vector<std::uint8_t> image = doc->ImageBytes();
        CChannelCommand command;
        std::string error;
        ASSERT_TRUE(ParseChannelCommand(c.words, &command, &error)) << error;
        bool ok = false;
        const CEditStep step =
            doc->Edit(ChannelCommandLabel(command), [&](CNode& root, CEditReport&) {
                ok = RunChannelCommand(&root, command, MchSheetRows(c.variant), &error);
            });
        EXPECT_TRUE(ok) << what << ": " << error;
        EXPECT_EQ(step.label, c.label);
        EXPECT_EQ(ChannelCommandDoneText(command), c.done);
        EXPECT_EQ(step.before, image) << what;
        EXPECT_TRUE(doc->IsModified()) << what;
        EXPECT_EQ(Origins(*doc, MchSheetRows(c.variant)), c.origins) << what;
        EXPECT_EQ(Value(*doc, "Mch.PrioA"), c.prioA) << what;
        EXPECT_EQ(Value(*doc, "Mch.PrioB"), c.prioB) << what;
        EXPECT_EQ(Value(*doc, "Mch.Emr"), c.emr) << what;
        // The step's image before comes back exact.
        doc->RestoreImage(step.before, CChangeReason::UndoRedo);
        doc->GetCloneManager()->TreeToImage();
        EXPECT_EQ(doc->ImageBytes(), image) << what;
    }
}

TEST_F(ChannelCommand, BadWordsOrChannelsChangeNothing) {
    const struct {
        std::vector<std::string> words;
        int variant;
        const char* error;
    } cases[] = {
        {{"delete", "5"}, 2, "CH 5 does not exist: this radio has channels 1 to 4."},
        {{"copy", "1", "0"}, 4, "CH 0 does not exist: this radio has channels 1 to 16."},
        {{"insert", "17"}, 5, "CH 17 does not exist: this radio has channels 1 to 16."},
        {{"remove", "3"},
         4,
         "Unknown channel operation \"remove\"; use clear N, delete N, insert N or copy FROM TO."},
        {{}, 4, "Unknown channel operation; use clear N, delete N, insert N or copy FROM TO."},
        {{"copy", "3"}, 4, "copy takes two channel numbers."},
        {{"delete", "3", "4"}, 4, "delete takes one channel number."},
        {{"clear", "-1"}, 4, "\"-1\" is no channel number."},
        {{"clear", "99999"}, 4, "\"99999\" is no channel number."},
        {{"clear", "2x"}, 4, "\"2x\" is no channel number."},
        {{"delete", "5-3"}, 4, "\"5-3\" is no channel number."},
        {{"copy", "1-3", "15"}, 4, "CH 17 does not exist: this radio has channels 1 to 16."},
    };
    for (const auto& c : cases) {
        auto doc = MakeDoc(c.variant, 4);
        doc->SetModifiedFlag(false);
        const std::vector<std::uint8_t> image = doc->ImageBytes();
        CChannelCommand command;
        std::string error;
        if (ParseChannelCommand(c.words, &command, &error)) {
            const CEditStep step = doc->Edit(ChannelCommandLabel(command), [&](CNode& root,
                                                                               CEditReport&) {
                EXPECT_FALSE(RunChannelCommand(&root, command, MchSheetRows(c.variant), &error));
            });
            EXPECT_FALSE(step.Changed());
        }
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(doc->ImageBytes(), image) << c.error;
        EXPECT_FALSE(doc->IsModified()) << c.error;
    }
}
