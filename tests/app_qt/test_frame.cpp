#include "app_fixture.h"

#include "app/qt/about_dlg.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/key_codes.h"
#include "app/qt/prompts_qt.h"
#include "app/qt/splash_wnd.h"
#include "clone/model_manager.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tree_items.h"

#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidgetItemIterator>

namespace {
void ForgetPlacement() {
    for (const char* key : {"Left", "Top", "Width", "Height", "CmdShow", "SplitterV", "SplitterH"})
        Platform().settings->SetString("Window Position", key, "");
}
int Stored(const char* key) { return Platform().settings->GetInt("Window Position", key, -1); }
} // namespace

TEST_F(AppTest, FirstStartPlacementAndItsRoundTripMaximized) {
    ForgetPlacement();
    Platform().settings->SetInt("Model", "ModelVer", 4); // LMR 16CH
    CZ30MainFrame& frame = Start();
    // About 85 % of the screen's room each way, centred on it.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect first = frame.geometry();
    EXPECT_EQ(first, CZ30MainFrame::FirstStartGeometry(room));
    EXPECT_NEAR(first.width(), 0.85 * room.width(), 1);
    EXPECT_NEAR(first.height(), 0.85 * room.height(), 1);
    EXPECT_LE((first.center() - room.center()).manhattanLength(), 2);
    EXPECT_GE(frame.SplitterV(), 180); // wider where the tree's texts need it
    EXPECT_EQ(frame.SplitterH(), 20);
    EXPECT_EQ(frame.minimumSize(), QSize(400, 200));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - KT-Z30"));

    frame.showMaximized();
    QApplication::processEvents();
    Close();
    EXPECT_EQ(Stored("CmdShow"), 3);
    EXPECT_EQ(Stored("Left"), first.left());
    EXPECT_EQ(Stored("Width"), first.width());
    EXPECT_EQ(Stored("Height"), first.height());

    // The stored placement wins from now on.
    CZ30MainFrame& again = Start();
    EXPECT_TRUE(again.StartMaximized());
    EXPECT_TRUE(again.isMaximized());
    EXPECT_EQ(again.normalGeometry(), first);
    EXPECT_EQ(again.SplitterV(), Stored("SplitterV"));
    again.showNormal();
    QApplication::processEvents();
    Close();
    EXPECT_EQ(Stored("CmdShow"), 1);
}

// On a 1280x800 screen the first window shows every item of the tree, every group open, without
// scrolling, whatever the variant.
TEST_F(AppTest, TheFirstWindowShowsTheWholeTreeOfEveryVariant) {
    const QRect first = CZ30MainFrame::FirstStartGeometry(QRect(0, 0, 1280, 800));
    for (int variant = 0; variant < 6; ++variant) {
        ForgetPlacement();
        Platform().settings->SetInt("Model", "ModelVer", variant);
        CZ30MainFrame& frame = Start();
        frame.setGeometry(first);
        QTreeWidget* tree = frame.Tree();
        tree->expandAll();
        QApplication::processEvents();
        int items = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++items;
        EXPECT_GT(items, 10) << variant;
        EXPECT_EQ(tree->verticalScrollBar()->maximum(), 0) << variant << ": " << items << " items";
        EXPECT_EQ(tree->horizontalScrollBar()->maximum(), 0) << variant;
        Close();
    }
    ForgetPlacement();
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
    for (int v = 0; v < 6; ++v)
        EXPECT_EQ(frame.Action(cmd::kModel[v])->isChecked(), v == start);

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
    EXPECT_TRUE(
        frame.Tree()->FindCode(other % 2 ? treecode::kFiveToneGroup : treecode::kTwoToneGroup));
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
    // Verify after Write: on at first, kept in the settings.
    frame.UpdateCommandUI();
    EXPECT_TRUE(frame.Action(cmd::kVerifyAfterWrite)->isChecked());
    frame.Action(cmd::kVerifyAfterWrite)->trigger();
    EXPECT_FALSE(frame.Action(cmd::kVerifyAfterWrite)->isChecked());
    EXPECT_EQ(Platform().settings->GetInt("Settings", "VerifyAfterWrite", 1), 0);
    frame.Action(cmd::kVerifyAfterWrite)->trigger();
    EXPECT_EQ(Platform().settings->GetInt("Settings", "VerifyAfterWrite", 0), 1);
    // The frame's toggles.
    frame.Action(cmd::kToolbar)->trigger();
    EXPECT_FALSE(frame.ToolBar()->isVisible());
    EXPECT_FALSE(frame.Action(cmd::kToolbar)->isChecked());
    frame.Action(cmd::kToolbar)->trigger();
    EXPECT_TRUE(frame.ToolBar()->isVisible());
    // The edit commands belong to the memory sheet; on a sheet still without an editor nobody
    // handles them and they are disabled.
    EXPECT_TRUE(frame.Action(cmd::kCopy)->isEnabled());
    frame.ShowSheet(3);
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(cmd::kCopy)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kAbout)->isEnabled());
    frame.ShowSheet(MemorySheetOf(app->Document().GetVariant()));
    // Toolbar order with its tool tips.
    QStringList tips;
    for (QAction* a : frame.ToolBar()->actions())
        tips << (a->isSeparator() ? "|" : a->toolTip());
    EXPECT_EQ(tips.join(','),
              QStringLiteral("New,Open,Save,Print,|,Common Setting,|,COM1,COM2,COM3,"
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
    const QString maker =
        QString::fromStdString(CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve));
    hand.handler = [&](QWidget* w) {
        if (auto* about = qobject_cast<CAboutDlg*>(w)) {
            // Noise between the letters does not break a code; typed twice it asks once.
            for (int round = 0; round < 2; ++round) {
                for (QChar c : maker) {
                    QWidget* at = about->focusWidget() ? about->focusWidget() : about;
                    QTest::keyClick(at, Qt::Key_F5);
                    QTest::keyClick(at, Qt::Key(c.toLatin1()));
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
    EXPECT_EQ(bar->PaneText(CColorStatusBar::kMode),
              QStringLiteral("****** Maker Reserved ******"));
    EXPECT_EQ(bar->PaneTextColor(CColorStatusBar::kMode), QColor(128, 0, 0));
    EXPECT_EQ(bar->PaneBackColor(CColorStatusBar::kMode), QColor(Qt::black));
    EXPECT_TRUE(frame.Tree()->FindCode(treecode::kMakerReserved));
    Close();
}

TEST_F(AppTest, AboutBoxCountsEveryKeyPressOnce) {
    Start();
    CKeyCodeBuffer::Instance().Clear();
    ModalHand hand;
    QString typed;
    hand.handler = [&](QWidget* w) {
        auto* about = qobject_cast<CAboutDlg*>(w);
        if (!about) return false;
        // The keys go where the keyboard sends them: the focus widget (the OK button), from
        // which a key it does not take travels on to the box.
        QWidget* at = about->focusWidget() ? about->focusWidget() : about;
        auto press = [at](Qt::Key key, char c, bool repeat) {
            QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(c)), repeat);
            QApplication::sendEvent(at, &e);
        };
        press(Qt::Key_Q, 'q', false);
        press(Qt::Key_W, 'w', false); // held down: two repeats follow
        press(Qt::Key_W, 'w', true);
        press(Qt::Key_W, 'w', true);
        press(Qt::Key_1, '1', false);
        typed = QString::fromStdString(CKeyCodeBuffer::Instance().Contents());
        about->accept();
        return true;
    };
    app->OnAppAbout();
    EXPECT_EQ(typed, QStringLiteral("1WWWQ")); // newest first
    CKeyCodeBuffer::Instance().Clear();
    Close();
}

TEST_F(AppTest, MenusCarryTheirItemsInOrder) {
    CZ30MainFrame& frame = Start();
    struct Menu {
        const char* title;
        const char* items; // visible items, "-" for a separator
    };
    const Menu menus[] = {
        {"&File", "&New\tCtrl+N|New from &Template|&Open...\tCtrl+O|&Save\tCtrl+S|Save &As...|"
                  "&Backups...|-|&Import Channels (CSV)...|&Export Channels (CSV)...|-|"
                  "Compare with &File...|-|&Print...\tCtrl+P|Print Pre&view...|&Export "
                  "PDF...|-|Recent File|-|E&xit"},
        {" &Edit", "&Undo\tCtrl+Z|&Redo\tCtrl+Y|-|&Edit Memory...\tEnter|-|Prio A|Prio "
                   "B|Emergency|Emergency OFF|-|Copy\tCtrl+C|"
                   "Paste\tCtrl+V|-|Clear|Delete\tDelete|Insert\tInsert|-|Last Edit &Notes..."},
        {"&View", "&Common Setting...|-|&Toolbar|&Status Bar"},
        {"COM &Port", "COM&1 (/dev/ttyUSB0)|COM&2 (/dev/ttyUSB1)|COM&3 (/dev/ttyUSB2)|"
                      "COM&4 (/dev/ttyUSB3)|-|&Assign Devices...|-|Save Serial &Trace..."},
        {"&Clone", "&Read <- TR|&Write -> TR|-|&Information...|-|&Compare with Radio...|"
                   "Write to &Several Radios...|-|"
                   "&Verify after Write"},
        {"&Model", "LMR  1CH (2Tone)|PMR  1CH (5Tone/DTMF)|LMR  2CH (2Tone)|PMR  2CH (5Tone/DTMF)|"
                   "LMR 16CH (2Tone)|PMR 16CH (5Tone/DTMF)"},
        {"&Help", "&Contents\tF1|-|&About KT-Z30..."},
    };
    const QList<QAction*> bar = frame.menuBar()->actions();
    ASSERT_EQ(bar.size(), int(std::size(menus)));
    for (int m = 0; m < bar.size(); ++m) {
        EXPECT_EQ(bar[m]->text(), QString::fromLatin1(menus[m].title));
        QStringList items;
        for (QAction* a : bar[m]->menu()->actions())
            if (a->isVisible()) items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        EXPECT_EQ(items.join('|'), QString::fromLatin1(menus[m].items)) << menus[m].title;
    }
    Close();
}

TEST_F(AppTest, ModelItemsSwitchToTheirVariantWithTheirPrompt) {
    CZ30MainFrame& frame = Start();
    const char* const prompts[] = {
        "Switch to \"LMR 1CH (2Tone)\" model.",  "Switch to \"PMR 1CH (5Tone/DTMF)\" model.",
        "Switch to \"LMR 2CH (2Tone)\" model.",  "Switch to \"PMR 2CH (5Tone/DTMF)\" model.",
        "Switch to \"LMR 16CH (2Tone)\" model.", "Switch to \"PMR 16CH (5Tone/DTMF)\" model.",
    };
    const int ids[] = {20141, 20140, 20143, 20142, 32822, 32819};
    const QList<QAction*> items = frame.menuBar()->actions().value(5)->menu()->actions();
    ASSERT_EQ(items.size(), 6);
    for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(items[v], frame.Action(ids[v])) << v;
        EXPECT_EQ(items[v]->statusTip(), QString::fromLatin1(prompts[v])) << v;
        // Hovering the item puts its prompt into the prompt pane; leaving it puts "Ready" back.
        QStatusTipEvent tip(items[v]->statusTip());
        QApplication::sendEvent(&frame, &tip);
        EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
                  QString::fromLatin1(prompts[v]));
    }
    QStatusTipEvent leave{QString()};
    QApplication::sendEvent(&frame, &leave);
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt), QStringLiteral("Ready"));
    Close();
}

TEST_F(AppTest, AcceleratorsReachTheirCommandsWithoutClashes) {
    CZ30MainFrame& frame = Start();
    const std::pair<QKeySequence, int> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), 57634},
        {QKeySequence(Qt::CTRL | Qt::Key_N), 32786},
        {QKeySequence(Qt::CTRL | Qt::Key_O), 57601},
        {QKeySequence(Qt::CTRL | Qt::Key_P), 57607},
        {QKeySequence(Qt::CTRL | Qt::Key_S), 57603},
        {QKeySequence(Qt::CTRL | Qt::Key_V), 57637},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), 57643},
        {QKeySequence(Qt::Key_Delete), 32784},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), 57635},
        {QKeySequence(Qt::Key_F1), 57667},
        {QKeySequence(Qt::Key_F6), 57680},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), 57681},
        {QKeySequence(Qt::Key_Insert), 32785},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), 57634},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), 57637},
        {QKeySequence(Qt::CTRL | Qt::Key_X), 57635},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), 57643},
    };
    for (const auto& [key, id] : keys) {
        QList<QAction*> owners;
        for (QAction* a : frame.findChildren<QAction*>())
            if (a->shortcuts().contains(key)) owners << a;
        // Two owners of one key would leave the key doing nothing.
        ASSERT_EQ(owners.size(), 1) << key.toString().toStdString();
        EXPECT_EQ(owners[0], frame.Action(id)) << key.toString().toStdString();
    }
    Close();
}

TEST_F(AppTest, StartCodeOnTheCommandLineAsksAndCancelLeavesItOff) {
    for (bool accept : {false, true}) {
        ModalHand hand;
        hand.handler = [&](QWidget* box) {
            ModalHand::Click(box, accept ? QMessageBox::Ok : QMessageBox::Cancel);
            return true;
        };
        const QString code =
            QStringLiteral("/") +
            QString::fromStdString(CKeyCodeBuffer::TypedCode(CKeyCodeBuffer::Match::MakerReserve))
                .toLower();
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
    for (std::size_t i = 0; i < maker.size(); ++i)
        last = buffer.Feed(i == 3 ? 'Q' : maker[i]);
    EXPECT_EQ(last, M::None);
    for (int i = 0; i < 40; ++i)
        buffer.Feed('A');
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
    for (const auto& [in, out] : cases)
        EXPECT_EQ(MessageText(in), out);
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

// Opening a file that holds only part of the image: the new values show, one warning box says
// which lines came, and the status bar keeps saying it.
TEST_F(AppTest, OpeningAPartialFileWarnsOnceAndTellsTheStatusBar) {
    CZ30MainFrame& frame = Start();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString whole = dir.filePath(QStringLiteral("whole.hxq"));
    ASSERT_TRUE(app->Document().DoSave(whole.toStdString()));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = in.readAll().split('\n');
    QByteArray cut;
    for (int i = 0; i < 2 + 34; ++i)
        cut += lines[i] + '\n';
    const QString partial = dir.filePath(QStringLiteral("cut.hxq"));
    QFile out(partial);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(cut);
    out.close();

    ModalHand hand;
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::Ok);
        return true;
    };
    ASSERT_TRUE(app->OpenDocumentFile(partial));
    QTest::qWait(100);
    ASSERT_EQ(hand.seen.size(), 1) << hand.seen.join(';').toStdString();
    EXPECT_EQ(hand.seen[0], QStringLiteral("KT-Z30|cut.hxq holds 34 of 128 lines: addresses "
                                           "0000-021F.\n\nThe rest kept the document's present "
                                           "values."));
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" cut.hxq held addresses 0000-021F only (34 of 128 lines); the rest "
                             "kept the document's present values."));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("cut.hxq - KT-Z30"));
    Close();
}
