#include "views/list_frame.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tree_items.h"
#include "views/tree_view.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace treecode;

namespace {

// A frame stand-in: remembers the sheet shown and every sheet request.
struct FakeHost : ITreeHost {
    int shown = 1;
    std::vector<int> requests;
    QString caption;
    int CurrentSheetIndex() const override { return shown; }
    void ShowSheet(int index) override {
        shown = index;
        requests.push_back(index);
    }
    void SetModelCaption(const QString& text) override { caption = text; }
};

// Codes of the tree in display order, with their depth (0 root).
std::vector<std::pair<int, int>> Layout(const CZ30TreeView& tree) {
    std::vector<std::pair<int, int>> out;
    for (QTreeWidgetItemIterator it(const_cast<CZ30TreeView*>(&tree)); *it; ++it) {
        int depth = 0;
        for (auto* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        out.emplace_back(CZ30TreeView::CodeOf(*it), depth);
    }
    return out;
}

// A point on the item's text, away from the expand button.
QPoint CenterOf(CZ30TreeView& tree, int code) {
    const QRect r = tree.visualItemRect(tree.FindCode(code));
    return {qMin(r.right(), tree.viewport()->width()) - 4, r.center().y()};
}

// What a mouse sends for a double-click: press, release, double-click, release.
void DoubleClick(CZ30TreeView& tree, int code) {
    const QPoint at = CenterOf(tree, code);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
}

} // namespace

TEST(TreeView, StartTreeOfEachFamily) {
    struct Case {
        int variant;
        std::vector<std::pair<int, int>> layout;
        const char* caption;
    };
    const std::vector<std::pair<int, int>> common = {{kRoot, 0},       {kCommonGroup, 1},
                                                     {kKeyDisplay, 2}, {kCommon1, 2},
                                                     {kCommon2, 2},    {kExpert, 2}};
    auto with = [&](std::vector<std::pair<int, int>> tail) {
        auto all = common;
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    const Case cases[] = {
        {0,
         with({{kMemoryLmr, 1},
               {kDtmfAutodial, 1},
               {kScanSetting, 1},
               {kTwoToneGroup, 1},
               {kTwoToneRx, 2},
               {kTwoToneTxCode, 2},
               {kTwoToneSetting, 2}}),
         "LMR"},
        {5,
         with({{kMemoryPmr, 1},
               {kDtmfAutodial, 1},
               {kScanSetting, 1},
               {kFiveToneGroup, 1},
               {kFiveToneRx, 2},
               {kFiveToneTx, 2},
               {kFiveToneFormat, 2},
               {kFiveToneUserTone, 2},
               {kFiveToneSetting, 2}}),
         "PMR"},
    };
    for (const Case& c : cases) {
        CZ30TreeView tree;
        FakeHost host; // the frame shows sheet 1 after creation
        tree.RebuildTree(c.variant, false, false, host);
        EXPECT_EQ(Layout(tree), c.layout) << c.variant;
        EXPECT_EQ(tree.SelectedCode(), MemorySheetOf(c.variant));
        EXPECT_EQ(host.shown, MemorySheetOf(c.variant));
        EXPECT_EQ(host.caption, QString::fromLatin1(c.caption));
        EXPECT_EQ(tree.FindCode(kRoot)->text(0), QString::fromLatin1(c.caption));
    }
}

TEST(TreeView, VariantSwitchKeepsSelectionAndSheetConsistent) {
    struct Case {
        int from, selected, shown, to;
        int selectedAfter, shownAfter;
    };
    const Case cases[] = {
        // PMR "Format" to LMR: the 2Tone group takes the selection, sheet 3 replaces sheet 6.
        {5, kFiveToneFormat, 6, 4, kTwoToneGroup, 3},
        {1, kFiveToneSetting, 2, 0, kTwoToneGroup, 1},
        // LMR "RX Code Channel" to PMR: the 5Tone group, sheet 4 in place of sheet 3.
        {0, kTwoToneRx, 3, 1, kFiveToneGroup, 4},
        // Between two LMR variants the memory sheet stays.
        {0, kMemoryLmr, 1, 4, kMemoryLmr, 1},
        // LMR memory to PMR: the PMR memory sheet.
        {2, kMemoryLmr, 1, 3, kMemoryPmr, 2},
        // Within PMR a five-tone sheet is shown again.
        {3, kFiveToneUserTone, 7, 5, kFiveToneUserTone, 7},
        // A dialog item stays selected; the sheet does not change.
        {0, kScanSetting, 1, 2, kScanSetting, 1},
    };
    for (const Case& c : cases) {
        CZ30TreeView tree;
        FakeHost host;
        tree.RebuildTree(c.from, false, false, host);
        tree.setCurrentItem(tree.FindCode(c.selected));
        host.shown = c.shown;
        tree.RebuildTree(c.to, false, false, host);
        EXPECT_EQ(tree.SelectedCode(), c.selectedAfter) << c.from << "->" << c.to;
        EXPECT_EQ(host.shown, c.shownAfter) << c.from << "->" << c.to;
    }
}

TEST(TreeView, MakerReservedStandsBelowRootAndManufactureMarksTheRoot) {
    CZ30TreeView tree;
    FakeHost host;
    tree.RebuildTree(2, true, true, host);
    const auto layout = Layout(tree);
    ASSERT_GE(layout.size(), 3u);
    EXPECT_EQ(layout[1], std::make_pair(kMakerReserved, 1));
    EXPECT_EQ(layout[2].first, kCommonGroup);
    EXPECT_EQ(host.caption, QStringLiteral("LMR (BRS/GMRS)"));
}

TEST(TreeView, ActivationByDoubleClickAndEnter) {
    CZ30TreeView tree;
    FakeHost host;
    tree.resize(300, 600);
    tree.show();
    tree.RebuildTree(1, false, false, host);
    QSignalSpy activated(&tree, &CZ30TreeView::itemActivatedCode);
    QSignalSpy toSheet(&tree, &CZ30TreeView::focusSheetRequested);

    // A dialog item: activated, nothing expands or collapses.
    QTreeWidgetItem* group = tree.FindCode(kCommonGroup);
    ASSERT_TRUE(group->isExpanded());
    DoubleClick(tree, kCommon2);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), kCommon2);
    EXPECT_TRUE(group->isExpanded());

    // A group: only expands or collapses, and its image follows.
    QApplication::processEvents();
    DoubleClick(tree, kCommonGroup);
    EXPECT_FALSE(group->isExpanded());
    EXPECT_EQ(activated.count(), 0);
    EXPECT_EQ(group->icon(0).cacheKey(), TreeImage(kImgGroupClosed).cacheKey());

    // A single click selects and does nothing else.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, CenterOf(tree, kFiveToneFormat));
    EXPECT_EQ(tree.SelectedCode(), kFiveToneFormat);
    EXPECT_EQ(activated.count(), 0);

    // Enter activates the selected item; Tab hands the focus to the sheet.
    tree.setFocus();
    QTest::keyClick(&tree, Qt::Key_Return);
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.takeFirst().at(0).toInt(), kFiveToneFormat);
    QTest::keyClick(&tree, Qt::Key_Tab);
    EXPECT_EQ(toSheet.count(), 1);
}

TEST(TreeItems, RulesForEveryCode) {
    for (int code : {1, 2, 3, 4, 5, 6, 7})
        EXPECT_EQ(ActionOf(code), TreeAction::ShowSheet);
    for (int code : {30, 31, 32, 33, 34, 54, 55, 56, 57, 58})
        EXPECT_EQ(ActionOf(code), TreeAction::OpenDialog);
    for (int code : {256, 260, 261, 304})
        EXPECT_EQ(ActionOf(code), TreeAction::Expand);
    EXPECT_EQ(SheetAfterItem(kFiveToneGroup, 0), -1);
    EXPECT_EQ(SheetAfterItem(kMemoryPmr, 0), -1);
}

TEST(ListFrame, ShowsOneSheetWithItsTitle) {
    CZ30ListFrame frame(nullptr);
    EXPECT_EQ(frame.CurrentSheetIndex(), 1);
    QSignalSpy shown(&frame, &CZ30ListFrame::sheetShown);
    frame.ShowSheet(6);
    EXPECT_EQ(frame.CurrentSheetIndex(), 6);
    EXPECT_EQ(CZ30ListFrame::TitleOf(6), QStringLiteral("5Tone:Format"));
    EXPECT_EQ(CZ30ListFrame::TitleOf(0), QStringLiteral("      "));
    frame.ShowSheet(8);
    frame.ShowSheet(-1);
    EXPECT_EQ(frame.CurrentSheetIndex(), 6);
    EXPECT_EQ(shown.count(), 1);
}

// A command a sheet does not handle reaches the document behind it.
TEST(ListFrame, SheetsPassCommandsToTheDocument) {
    struct Doc : ICommandTarget {
        int last = 0;
        bool OnCmdMsg(int id) override { return (last = id) == 20110; }
        bool OnUpdateCmdUI(int id, CCmdUI& ui) override {
            ui.checked = true;
            return id == 20110;
        }
    } doc;
    CZ30ListFrame frame(&doc);
    for (int i = 0; i < kSheetCount; ++i) {
        CSheetView* sheet = frame.Sheet(i);
        EXPECT_TRUE(sheet->OnCmdMsg(20110));
        EXPECT_FALSE(sheet->OnCmdMsg(57634));
        CCmdUI ui;
        EXPECT_TRUE(sheet->OnUpdateCmdUI(20110, ui));
        EXPECT_TRUE(ui.checked);
    }
}

TEST(MessageView, JoinsPrefixTextAndSuffix) {
    CMessageView view;
    view.SetText(QStringLiteral("Memory"));
    view.SetSuffix(QStringLiteral(" CH 3"));
    EXPECT_EQ(view.Caption(), QStringLiteral("Memory CH 3"));
    view.resize(40, 20);
    EXPECT_FALSE(view.grab().isNull()); // draws with an ellipsis when narrow
}

TEST(TreeView, NarrowPaneScrollsInsteadOfCuttingTexts) {
    // The tree pane at its first-start width: every text stays whole and the pane scrolls.
    for (int variant : {0, 5}) {
        CZ30TreeView tree;
        FakeHost host;
        tree.resize(180, 300);
        tree.show();
        tree.RebuildTree(variant, true, true, host);
        QApplication::processEvents();
        for (QTreeWidgetItemIterator it(&tree); *it; ++it) {
            const QRect cell = tree.visualItemRect(*it);
            const int textWidth = tree.fontMetrics().horizontalAdvance((*it)->text(0));
            EXPECT_GE(cell.width(), tree.iconSize().width() + textWidth)
                << (*it)->text(0).toStdString() << " in variant " << variant;
        }
        EXPECT_GT(tree.horizontalScrollBar()->maximum(), 0) << variant;
        // A wide pane needs no scrolling, and the rows still span it.
        tree.resize(600, 800);
        QApplication::processEvents();
        EXPECT_EQ(tree.horizontalScrollBar()->maximum(), 0) << variant;
        EXPECT_EQ(tree.visualItemRect(tree.FindCode(kRoot)).right(), tree.viewport()->width() - 1);
    }
}

TEST(TreeView, RootAndGroupsCollapseOnTheFirstDoubleClickAfterARebuild) {
    // Built before the pane shows, as at start-up, and again while it shows.
    for (bool shownFirst : {false, true}) {
        CZ30TreeView tree;
        FakeHost host;
        tree.resize(180, 600);
        if (shownFirst) tree.show();
        tree.RebuildTree(0, false, false, host);
        tree.show();
        QApplication::processEvents();
        for (int code : {kRoot, kCommonGroup, kTwoToneGroup}) {
            QTreeWidgetItem* item = tree.FindCode(code);
            ASSERT_TRUE(item->isExpanded()) << code;
            const QRect r = tree.visualItemRect(item);
            const QPoint at(r.left() + tree.iconSize().width() + 8, r.center().y());
            QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
            EXPECT_FALSE(item->isExpanded()) << code << (shownFirst ? " shown first" : "");
            QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, at);
            EXPECT_TRUE(item->isExpanded()) << code;
            QTest::qWait(QApplication::doubleClickInterval() + 10);
        }
    }
}
