#include "app_fixture.h"

#include "app/qt/about_dlg.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/key_codes.h"
#include "app/qt/prompts_qt.h"
#include "app/qt/splash_wnd.h"
#include "clone/model_manager.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tree_items.h"

#include <QSplitter>
#include <QTest>
#include <QToolBar>

namespace {
void ForgetPlacement() {
    for (const char* key : {"Left", "Top", "Width", "Height", "CmdShow", "SplitterV", "SplitterH"})
        Platform().settings->SetString("Window Position", key, "");
}
int Stored(const char* key) { return Platform().settings->GetInt("Window Position", key, -1); }
} // namespace

TEST_F(AppTest, FirstStartPlacementAndItsRoundTripMaximized) {
    ForgetPlacement();
    CZ30MainFrame& frame = Start();
    EXPECT_EQ(frame.geometry(), QRect(5, 5, 500, 300));
    EXPECT_EQ(frame.SplitterV(), 180);
    EXPECT_EQ(frame.SplitterH(), 20);
    EXPECT_EQ(frame.minimumSize(), QSize(400, 200));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - KT-Z30"));

    frame.showMaximized();
    QApplication::processEvents();
    Close();
    EXPECT_EQ(Stored("CmdShow"), 3);
    EXPECT_EQ(Stored("Left"), 5);
    EXPECT_EQ(Stored("Width"), 500);
    EXPECT_EQ(Stored("Height"), 300);

    CZ30MainFrame& again = Start();
    EXPECT_TRUE(again.StartMaximized());
    EXPECT_TRUE(again.isMaximized());
    EXPECT_EQ(again.normalGeometry(), QRect(5, 5, 500, 300));
    again.showNormal();
    QApplication::processEvents();
    Close();
    EXPECT_EQ(Stored("CmdShow"), 1);
}

TEST_F(AppTest, StoredPlacementOutOfReasonIsRepaired) {
    ISettingsStore& s = *Platform().settings;
    s.SetInt("Window Position", "Left", -90000);
    s.SetInt("Window Position", "Top", 90000);
    s.SetInt("Window Position", "Width", 10);
    s.SetString("Window Position", "Height", "tall");
    CZ30MainFrame& frame = Start();
    EXPECT_EQ(frame.geometry(), QRect(5, 5, 400, 300));
    Close();
    ForgetPlacement();
}

TEST_F(AppTest, ModelMenuChecksTheVariantAndAsksBeforeAChange) {
    CZ30MainFrame& frame = Start();
    CZ30Doc& doc = app->Document();
    const int start = doc.GetVariant();
    ModalHand hand;
    frame.UpdateCommandUI();
    for (int v = 0; v < 6; ++v) EXPECT_EQ(frame.Action(cmd::kModel[v])->isChecked(), v == start);

    // The current variant: nothing at all.
    frame.Action(cmd::kModel[start])->trigger();
    QTest::qWait(100);
    EXPECT_TRUE(hand.seen.isEmpty());

    // Another one, declined: nothing changes.
    const int other = start == 5 ? 0 : 5;
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::No);
        return true;
    };
    frame.Action(cmd::kModel[other])->trigger();
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_TRUE(hand.seen[0].contains(QStringLiteral("All data will be lost.")));
    EXPECT_EQ(doc.GetVariant(), start);

    // Accepted: the variant, the tree, the caption and the sheet follow.
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::Yes);
        return true;
    };
    frame.Action(cmd::kModel[other])->trigger();
    EXPECT_EQ(doc.GetVariant(), other);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame.ModelCaptionPane()->Text(), QString::fromStdString(ModelCaption(other, false)));
    EXPECT_EQ(frame.CurrentSheetIndex(), MemorySheetOf(other));
    EXPECT_EQ(frame.Sheets()->Sheet(MemorySheetOf(other))->RowCount(), other >= 4 ? 16 : 4);
    EXPECT_TRUE(frame.Tree()->FindCode(other % 2 ? treecode::kFiveToneGroup : treecode::kTwoToneGroup));
    EXPECT_TRUE(frame.Action(cmd::kModel[other])->isChecked());
    // Ctrl+N keeps the variant.
    frame.RouteCommand(cmd::kNew);
    EXPECT_EQ(doc.GetVariant(), other);
    Close();
}

TEST_F(AppTest, CommandsRouteThroughSheetDocumentFrameAndApplication) {
    CZ30MainFrame& frame = Start();
    // COM2 belongs to the document, reached through the sheet even with the tree focused.
    frame.FocusTree();
    frame.Action(cmd::kCom1 + 1)->trigger();
    EXPECT_TRUE(app->Document().IsPortChecked(2));
    EXPECT_TRUE(frame.Action(cmd::kCom1 + 1)->isChecked());
    EXPECT_FALSE(frame.Action(cmd::kCom1)->isChecked());
    // The frame's toggles.
    frame.Action(cmd::kToolbar)->trigger();
    EXPECT_FALSE(frame.ToolBar()->isVisible());
    EXPECT_FALSE(frame.Action(cmd::kToolbar)->isChecked());
    frame.Action(cmd::kToolbar)->trigger();
    EXPECT_TRUE(frame.ToolBar()->isVisible());
    // Nobody handles the edit commands while the sheets are empty views: they are disabled.
    EXPECT_FALSE(frame.Action(cmd::kCopy)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kAbout)->isEnabled());
    // Toolbar order with its tool tips.
    QStringList tips;
    for (QAction* a : frame.ToolBar()->actions()) tips << (a->isSeparator() ? "|" : a->toolTip());
    EXPECT_EQ(tips.join(','), QStringLiteral("New,Open,Save,Print,|,Common Setting,|,COM1,COM2,COM3,"
                                             "COM4,|,Clone Read,Clone Write,Information"));
    // F6 moves the focus between the tree and the sheet.
    frame.activateWindow();
    frame.FocusTree();
    frame.RouteCommand(cmd::kNextPane);
    EXPECT_TRUE(frame.Sheets()->CurrentSheet()->hasFocus());
    Close();
}

TEST_F(AppTest, TreeActivationShowsSheetsWithTheirTitles) {
    CZ30MainFrame& frame = Start();
    ModalHand hand;
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::Yes);
        return true;
    };
    frame.RouteCommand(cmd::kModel[5]);
    emit frame.Tree()->itemActivatedCode(treecode::kFiveToneFormat);
    EXPECT_EQ(frame.CurrentSheetIndex(), 6);
    EXPECT_EQ(frame.SheetCaptionPane()->Text(), QStringLiteral("5Tone:Format"));
    // PMR "Format" selected, switched to LMR: the 2Tone group and sheet 3.
    frame.Tree()->setCurrentItem(frame.Tree()->FindCode(treecode::kFiveToneFormat));
    frame.RouteCommand(cmd::kModel[4]);
    EXPECT_EQ(frame.Tree()->SelectedCode(), treecode::kTwoToneGroup);
    EXPECT_EQ(frame.CurrentSheetIndex(), 3);
    EXPECT_EQ(frame.SheetCaptionPane()->Text(), QStringLiteral("2Tone:RX Code"));
    Close();
}

TEST_F(AppTest, AboutBoxCodesSwitchServiceModesOnce) {
    CZ30MainFrame& frame = Start();
    CKeyCodeBuffer::Instance().Clear();
    ModalHand hand;
    int cautions = 0;
    const QString maker = QString::fromStdString(
        CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve));
    hand.handler = [&](QWidget* w) {
        if (auto* about = qobject_cast<CAboutDlg*>(w)) {
            // Noise between the letters does not break a code; typed twice it asks once.
            for (int round = 0; round < 2; ++round) {
                for (QChar c : maker) {
                    QTest::keyClick(about, Qt::Key_F5);
                    QTest::keyClick(about, Qt::Key(c.toLatin1()));
                }
            }
            about->accept();
            return true;
        }
        if (w->windowTitle() == QStringLiteral("KT-Z30")) {
            ++cautions;
            ModalHand::Click(w, QMessageBox::Ok);
            return true;
        }
        return false;
    };
    // Nested modal windows: the About box's own loop runs the caution box.
    QTimer::singleShot(0, [&] { frame.RouteCommand(cmd::kAbout); });
    QTest::qWait(400);
    EXPECT_EQ(cautions, 1);
    CModelManager* model = app->Document().GetCloneManager()->GetModelManager();
    EXPECT_TRUE(model->IsMakerReserve());
    CColorStatusBar* bar = frame.StatusBar();
    EXPECT_EQ(bar->PaneText(CColorStatusBar::kMode), QStringLiteral("****** Maker Reserved ******"));
    EXPECT_EQ(bar->PaneTextColor(CColorStatusBar::kMode), QColor(128, 0, 0));
    EXPECT_EQ(bar->PaneBackColor(CColorStatusBar::kMode), QColor(Qt::black));
    EXPECT_TRUE(frame.Tree()->FindCode(treecode::kMakerReserved));
    Close();
}

TEST_F(AppTest, StartCodeOnTheCommandLineAsksAndCancelLeavesItOff) {
    for (bool accept : {false, true}) {
        ModalHand hand;
        hand.handler = [&](QWidget* box) {
            ModalHand::Click(box, accept ? QMessageBox::Ok : QMessageBox::Cancel);
            return true;
        };
        const QString code = QStringLiteral("/") +
            QString::fromStdString(CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve)).toLower();
        CZ30MainFrame& frame = Start({code, QStringLiteral("some-file.hxq")});
        EXPECT_EQ(hand.seen.size(), 1);
        EXPECT_EQ(app->Document().GetCloneManager()->GetModelManager()->IsMakerReserve(), accept);
        EXPECT_EQ(frame.Tree()->FindCode(treecode::kMakerReserved) != nullptr, accept);
        EXPECT_TRUE(app->Document().GetPathName().empty()); // the file name is not opened
        Close();
    }
}

TEST(CommandLine, FlagsAndFileNames) {
    const std::string code = CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve);
    const QString q = QString::fromStdString(code);
    struct Case {
        QStringList args;
        bool maker;
        QString port;
    };
    const Case cases[] = {
        {{"-" + q}, true, {}},
        {{"/" + q.toLower()}, true, {}},
        {{q}, false, {}},
        {{"--" + q}, false, {}},
        {{"-" + q.left(6)}, false, {}},
        {{"-" + q + "X"}, false, {}},
        {{"data.hxq", "--port", "/dev/pts/7"}, false, "/dev/pts/7"},
        {{"--port=/dev/ttyS1"}, false, "/dev/ttyS1"},
        {{"--port"}, false, {}},
    };
    for (const Case& c : cases) {
        CZ30CommandLineInfo info;
        info.Parse(c.args);
        EXPECT_EQ(info.makerReserveAtStart, c.maker) << c.args.join(' ').toStdString();
        EXPECT_EQ(info.portDevice, c.port) << c.args.join(' ').toStdString();
    }
}

TEST(KeyCodes, BufferMatchesEachCodeAndIgnoresOtherKeys) {
    using M = CKeyCodeBuffer::Match;
    CKeyCodeBuffer& buffer = CKeyCodeBuffer::Instance();
    for (M which : {M::MakerReserve, M::Manufacture, M::Information}) {
        buffer.Clear();
        const std::string code = CKeyCodeBuffer::TypedCode(which);
        M last = M::None;
        for (char c : "9X" + code) {
            if (c == 0) break;
            buffer.Feed('-'); // ignored
            last = buffer.Feed(c);
        }
        EXPECT_EQ(last, which) << code;
        EXPECT_EQ(buffer.Contents(), "");
    }
    // A letter inside breaks the code; the buffer keeps the last fifteen.
    buffer.Clear();
    const std::string maker = CKeyCodeBuffer::TypedCode(M::MakerReserve);
    M last = M::None;
    for (std::size_t i = 0; i < maker.size(); ++i) last = buffer.Feed(i == 3 ? 'Q' : maker[i]);
    EXPECT_EQ(last, M::None);
    for (int i = 0; i < 40; ++i) buffer.Feed('A');
    EXPECT_EQ(buffer.Contents(), std::string(15, 'A'));
    EXPECT_EQ(CKeyCodeBuffer::StoredCode(M::Manufacture).size(), 11u);
    EXPECT_EQ(CKeyCodeBuffer::StoredCode(M::Information).size(), 15u);
    EXPECT_FALSE(CKeyCodeBuffer::InformationText().empty());
}

TEST(Prompts, MessageTextTurnsCarriageReturnsIntoLineFeeds) {
    const std::pair<std::string, std::string> cases[] = {
        {" Check:\r\n\r\n - port.\n", " Check:\n\n - port.\n"},
        {"a\rb", "a\nb"},
        {"end\r", "end\n"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(MessageText(in), out);
}

TEST(Splash, AnyKeyClosesIt) {
    QWidget main;
    CSplashWnd::ShowSplashScreen(&main, 5000, true);
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(CSplashWnd::Current()->windowTitle(), QStringLiteral("Cloning Software For NQ-Z30"));
    CSplashWnd::ShowSplashScreen(&main, 5000, true); // at most one
    QTest::keyClick(&main, Qt::Key_Space);
    QTest::qWait(50);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    CSplashWnd::ShowSplashScreen(&main, 5000, false);
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}
