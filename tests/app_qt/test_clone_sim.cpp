#include "app_fixture.h"

#include "app/qt/backups_dlg.h"
#include "app/qt/clone_info_dlg.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/progress_dlg.h"
#include "params/node_access.h"
#include "views/command_ids.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/mch_edit_dlg.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tone_combo.h"

#include "clone/clone_rs_io_manager.h"
#include "clone/clone_trace.h"
#include "clone/model_manager.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

namespace {

// nqz30sim on a pseudo-terminal; its first output line is the device.
class SimRadio {
public:
    explicit SimRadio(QStringList args) {
        QByteArray sim = qgetenv("KT_SIM");
#ifdef KT_SIM_PATH
        if (sim.isEmpty()) sim = KT_SIM_PATH;
#endif
        if (sim.isEmpty()) return;
        m_process.start(QString::fromLocal8Bit(sim), args);
        if (!m_process.waitForStarted(3000)) return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(3000)) {
        }
        device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
    ~SimRadio() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    QString device;

private:
    QProcess m_process;
};

// A clone data file of a variant's factory data, for the simulator to hold.
// A test that reads the file back names its own, so that tests running side by side do not
// share one.
QString ImageFile(int variant, const QString& name = QStringLiteral("radio")) {
    const QString path =
        QDir::temp().filePath(QStringLiteral("kt_app_qt_%1_%2.hxq").arg(name).arg(variant));
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    doc.GetCloneManager()->GetModelManager()->SetVariant(variant, true);
    EXPECT_TRUE(doc.SaveFile(path.toStdString(), nullptr));
    return path;
}

CZ30AppOptions WithPorts() {
    CZ30AppOptions o;
    o.singleInstance = false;
    o.useQtSettings = false;
    o.useSound = false;
    return o;
}

class SimAppTest : public AppTest {
protected:
    // Starts the program on the simulator's port and records status texts and progress windows.
    CZ30MainFrame& StartOn(SimRadio& radio) {
        CZ30MainFrame& frame = Start({QStringLiteral("--port"), radio.device}, WithPorts());
        auto sink = app->Prompts().statusSink;
        app->Prompts().statusSink = [this, sink](const std::string& text) {
            statuses << QString::fromStdString(text);
            sink(text);
        };
        auto factory = Platform().progressFactory;
        Platform().progressFactory = [this, factory] {
            ++progressWindows;
            auto progress = factory();
            if (onProgress) QTimer::singleShot(0, onProgress);
            return progress;
        };
        return frame;
    }
    QStringList statuses;
    int progressWindows = 0;
    std::function<void()> onProgress;
};

} // namespace

TEST_F(SimAppTest, CloneReadThroughTheMenu) {
    SimRadio radio({QStringLiteral("--variant"), QStringLiteral("5"), QStringLiteral("--image"),
                    ImageFile(5)});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    ModalHand hand;
    bool checked = false;
    onProgress = [&] {
        // While the transfer runs: the bar is up, the main window disabled, a second clone
        // command and closing the window are refused.
        auto* dialog = qobject_cast<CCloneProgressDlg*>(QApplication::activeWindow());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<CCloneProgressDlg*>(w); d && d->isVisible()) dialog = d;
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Cloning"));
        EXPECT_FALSE(frame.isEnabled());
        frame.RouteCommand(cmd::kCloneRead);
        frame.RouteCommand(cmd::kCloneInfo);
        EXPECT_FALSE(frame.close());
        checked = true;
    };
    frame.Action(cmd::kCloneRead)->trigger();
    EXPECT_TRUE(checked);
    EXPECT_EQ(progressWindows, 1);
    EXPECT_TRUE(frame.isEnabled());
    EXPECT_TRUE(hand.seen.isEmpty()) << hand.seen.join(';').toStdString();
    EXPECT_TRUE(statuses.contains(QStringLiteral(" Now reading <- TR")));
    EXPECT_EQ(statuses.value(statuses.size() - 1), QStringLiteral(" Cloning completed."));
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" Cloning completed."));
    // The radio's variant with its tree and sheet.
    EXPECT_EQ(app->Document().GetVariant(), 5);
    EXPECT_EQ(frame.ModelCaptionPane()->Text(), QStringLiteral("PMR"));
    EXPECT_EQ(frame.CurrentSheetIndex(), 2);
    EXPECT_EQ(frame.Sheets()->Sheet(2)->RowCount(), 16);
    EXPECT_TRUE(app->Document().IsModified());

    // Closing now asks to save; Cancel keeps the window.
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::Cancel);
        return true;
    };
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_TRUE(hand.seen[0].contains(QStringLiteral("Save changes to Untitled?")));
    app->Document().SetModifiedFlag(false);
}

TEST_F(SimAppTest, ReadEditChannelTwoAndWriteBack) {
    const QString image = ImageFile(5, QStringLiteral("edited"));
    SimRadio radio(
        {QStringLiteral("--variant"), QStringLiteral("5"), QStringLiteral("--image"), image});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    CZ30Doc& doc = app->Document();
    ModalHand hand;
    hand.handler = [](QWidget* w) {
        if (auto* dialog = qobject_cast<CZ30MchEditDlg*>(w)) {
            dialog->RxFreq()->setText(QStringLiteral("446.10625"));
            if (!dialog->FreqSimplex()->isChecked()) dialog->FreqSimplex()->click();
            dialog->RxTone()->setEditText(QStringLiteral("023"));
            if (!dialog->ToneSimplex()->isChecked()) dialog->ToneSimplex()->click();
            dialog->Buttons()->button(QDialogButtonBox::Ok)->click();
            return true;
        }
        ModalHand::Click(w, QMessageBox::Ok); // "Write to transceiver"
        return true;
    };
    frame.Action(cmd::kCloneRead)->trigger();
    ASSERT_EQ(frame.CurrentSheetIndex(), 2);
    auto& sheet = *static_cast<CListSheet*>(frame.Sheets()->CurrentSheet());
    sheet.SelectRow(1);
    frame.Action(cmd::kEditMemory)->trigger();
    EXPECT_EQ(sheet.CellText(1, 3), QStringLiteral("446.10625"));
    EXPECT_EQ(sheet.CellText(1, 6), QStringLiteral("023N"));

    // The state read is not in a file: undoing back to it leaves the document modified.
    frame.Action(cmd::kUndo)->trigger();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(sheet.CellText(1, 3), QString());
    frame.Action(cmd::kRedo)->trigger();
    EXPECT_EQ(sheet.CellText(1, 3), QStringLiteral("446.10625"));

    statuses.clear();
    frame.Action(cmd::kCloneWrite)->trigger();
    EXPECT_EQ(statuses.value(statuses.size() - 1), QStringLiteral(" Cloning completed. Verified."));
    EXPECT_TRUE(hand.seen.contains(QStringLiteral("KT-Z30|   Write to transceiver     ")))
        << hand.seen.join(';').toStdString();

    // The radio holds the edit (its memory is kept in the image file).
    CZ30Doc radioImage;
    radioImage.SetRememberVariant(false);
    radioImage.LoadFile(image.toStdString());
    CNode* ch2 = GetNode(radioImage.GetRoot(), "Mch.CH2");
    EXPECT_EQ(GetValueByName(ch2, "ChOn"), 1);
    EXPECT_EQ(GetValueByName(ch2, "FreqRx"), 446106250);
    EXPECT_EQ(GetValueByName(ch2, "FreqTx"), 446106250);
    EXPECT_EQ(GetValueByName(ch2, "CTonRx"), 2023);
    EXPECT_EQ(GetValueByName(ch2, "CTonTx"), 2023);
    doc.SetModifiedFlag(false);
}

TEST_F(SimAppTest, BackupsAreListedNewestFirstAndOneOpensAsANewDocument) {
    SimRadio radio({QStringLiteral("--variant"), QStringLiteral("5"), QStringLiteral("--image"),
                    ImageFile(5, QStringLiteral("backups"))});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    CZ30Doc& doc = app->Document();
    QTemporaryDir folder;
    doc.GetCloneManager()->GetCloneRsIoManager()->SetBackupFolder(folder.path().toStdString());
    QStringList rows;
    bool byDate = false;
    ModalHand hand;
    hand.handler = [&](QWidget* w) {
        auto* dialog = qobject_cast<CBackupsDlg*>(w);
        if (!dialog) {
            ModalHand::Click(w, QMessageBox::Ok); // "Write to transceiver", "succeeded"
            return true;
        }
        QTreeWidget* list = dialog->List();
        byDate = list->isSortingEnabled() && list->header()->sortIndicatorSection() == 0 &&
                 list->header()->sortIndicatorOrder() == Qt::DescendingOrder;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            rows << item->text(1) + '|' + item->text(2);
        }
        list->setCurrentItem(list->topLevelItem(1)); // the read
        dialog->OpenButton()->click();
        return true;
    };
    frame.Action(cmd::kCloneRead)->trigger();
    frame.Action(cmd::kCloneWrite)->trigger();
    // The session's trace holds the read, the write and its read-back.
    int reads = 0, writes = 0;
    for (const std::string& line : app->Trace().Lines()) {
        reads += line.find(" ----- read on ") != std::string::npos;
        writes += line.find(" ----- write on ") != std::string::npos;
    }
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(writes, 1);

    doc.SetModifiedFlag(false);
    frame.Action(cmd::kBackups)->trigger();
    EXPECT_EQ(rows,
              QStringList({QStringLiteral("write|PMR 16CH"), QStringLiteral("read|PMR 16CH")}));
    EXPECT_TRUE(byDate);
    // Opened as a new document: untitled, holding changes not saved, the backup's image.
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Untitled*")));
    const auto list = CBackupStore(folder.path().toStdString()).List();
    ASSERT_EQ(list.size(), 2u);
    CZ30Doc copy;
    copy.SetRememberVariant(false);
    copy.LoadFile(list[1].path);
    EXPECT_EQ(copy.ImageBytes(), doc.ImageBytes());
    doc.SetModifiedFlag(false);
}

TEST_F(SimAppTest, EscapeCancelsARead) {
    SimRadio radio({QStringLiteral("--variant"), QStringLiteral("3"), QStringLiteral("--pace")});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    const int before = app->Document().GetVariant();
    ModalHand hand;
    onProgress = [&] {
        QTimer::singleShot(300, [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<CCloneProgressDlg*>(w); d && d->isVisible())
                    QTest::keyClick(d, Qt::Key_Escape);
        });
    };
    frame.Action(cmd::kCloneRead)->trigger();
    EXPECT_EQ(statuses.value(statuses.size() - 1), QStringLiteral(" Terminated cloning.  "));
    EXPECT_EQ(app->Document().GetVariant(), before); // the image and variant are as they were
    EXPECT_FALSE(app->Document().IsModified());
}

TEST_F(SimAppTest, InformationShowsTheRadiosRecord) {
    SimRadio radio({QStringLiteral("--variant"), QStringLiteral("4")});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    const int before = app->Document().GetVariant();
    ModalHand hand;
    CCloneInfoFields fields;
    hand.handler = [&](QWidget* w) {
        auto* info = qobject_cast<CCloneInfoDlg*>(w);
        if (!info) return false;
        fields = info->Fields();
        info->accept();
        return true;
    };
    frame.Action(cmd::kCloneInfo)->trigger();
    QTest::qWait(100);
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_EQ(hand.seen[0], QStringLiteral("Information"));
    EXPECT_EQ(fields.model, QStringLiteral("LMR 16CH"));
    EXPECT_TRUE(fields.revision.startsWith(QStringLiteral("1.")));
    EXPECT_TRUE(fields.pllRef == QStringLiteral("15.6MHz") ||
                fields.pllRef == QStringLiteral("15.3MHz"));
    EXPECT_TRUE(fields.service.isEmpty());
    EXPECT_EQ(app->Document().GetVariant(), before); // info alone changes nothing
}

namespace {

// Passes everything on to the transfer's progress window and notes the prompt pane's text each
// time the transfer lets the window's messages through.
class CPaneWatch final : public ITransferProgress {
public:
    CPaneWatch(std::unique_ptr<ITransferProgress> inner, std::function<void()> look)
        : m_inner(std::move(inner)), m_look(std::move(look)) {}
    void SetPercent(int percent) override { m_inner->SetPercent(percent); }
    void PumpMessages() override {
        m_inner->PumpMessages();
        m_look();
    }
    bool TakeCancelRequest() override { return m_inner->TakeCancelRequest(); }

private:
    std::unique_ptr<ITransferProgress> m_inner;
    std::function<void()> m_look;
};

} // namespace

// A transfer started with the mouse from the menu or the toolbar: the fly-by prompt of the item
// under the mouse must not replace " Now reading <- TR" while the transfer runs.
TEST_F(SimAppTest, TheTransferStatusStaysWhenStartedWithTheMouse) {
    SimRadio radio({QStringLiteral("--variant"), QStringLiteral("4")});
    if (radio.device.isEmpty()) GTEST_SKIP() << "nqz30sim is not available";
    CZ30MainFrame& frame = StartOn(radio);
    ModalHand hand;   // none expected
    QStringList pane; // the prompt pane's texts during the transfer, each change once
    auto factory = Platform().progressFactory;
    Platform().progressFactory = [&, factory]() -> std::unique_ptr<ITransferProgress> {
        return std::make_unique<CPaneWatch>(factory(), [&] {
            const QString text = frame.StatusBar()->PaneText(CColorStatusBar::kPrompt);
            if (pane.isEmpty() || pane.last() != text) pane << text;
        });
    };
    QAction* read = frame.Action(cmd::kCloneRead);
    auto fromReading = [&] {
        const qsizetype first = pane.indexOf(QStringLiteral(" Now reading <- TR"));
        return first < 0 ? QStringList() : pane.mid(first);
    };

    // The menu: open "&Clone", rest on "&Read <- TR" (its prompt shows), click.
    QMenuBar* bar = frame.menuBar();
    QAction* cloneMenu = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == QStringLiteral("&Clone")) cloneMenu = a;
    ASSERT_NE(cloneMenu, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(cloneMenu).center());
    QMenu* menu = cloneMenu->menu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    // Near the item's right end, beyond the toolbar's buttons under the menu.
    const QRect readRect = menu->actionGeometry(read);
    const QPoint item(readRect.right() - 4, readRect.center().y());
    QTest::mouseMove(menu, item);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return frame.StatusBar()->PaneText(CColorStatusBar::kPrompt) ==
                   QStringLiteral("Read from transceiver.");
        },
        2000));
    QTest::mousePress(menu, Qt::LeftButton, {}, item);
    QTest::qWait(20);
    QTest::mouseRelease(menu, Qt::LeftButton, {}, item);
    QTest::qWait(50);
    EXPECT_EQ(fromReading(), QStringList{QStringLiteral(" Now reading <- TR")})
        << pane.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" Cloning completed."));

    // The toolbar: rest on the button, click.
    app->Document().SetModifiedFlag(false); // no question before the second read
    pane.clear();
    QWidget* button = frame.ToolBar()->widgetForAction(read);
    ASSERT_NE(button, nullptr);
    QTest::mouseMove(button);
    QTest::qWait(50);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(fromReading(), QStringList{QStringLiteral(" Now reading <- TR")})
        << pane.join(QStringLiteral("|")).toStdString();
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" Cloning completed."));
    EXPECT_TRUE(hand.seen.isEmpty()) << hand.seen.join(QStringLiteral("|")).toStdString();
    app->Document().SetModifiedFlag(false);
}

TEST(ProgressDialog, PercentTextAndEscapeOnlyAsks) {
    QWidget main;
    main.show();
    {
        CQtTransferProgress progress(&main);
        CCloneProgressDlg* dialog = progress.Dialog();
        EXPECT_FALSE(main.isEnabled());
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(dialog->isEnabled());
        // Kept above the main window, which a click on it cannot raise over the bar.
        ASSERT_NE(dialog->windowHandle(), nullptr);
        EXPECT_EQ(dialog->windowHandle()->transientParent(), main.windowHandle());
        const std::pair<int, const char*> cases[] = {
            {0, "0%"}, {45, "45%"}, {100, "100%"}, {130, "100%"}};
        for (const auto& [percent, text] : cases) {
            progress.SetPercent(percent);
            EXPECT_EQ(dialog->PercentText(), QString::fromLatin1(text));
        }
        EXPECT_FALSE(progress.TakeCancelRequest());
        QTest::keyClick(dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(progress.TakeCancelRequest());
        EXPECT_FALSE(progress.TakeCancelRequest());
    }
    EXPECT_TRUE(main.isEnabled());
}

TEST(CloneInfo, FieldsOfTheRadiosRecord) {
    struct Case {
        int byte33, byte34, byte37;
        bool manufacture;
        const char* revision;
        const char* pllRef;
        const char* service;
    };
    const Case cases[] = {
        {0x41, 0x01, 3, false, "2.3", "15.6MHz", ""},
        {0x20, 0x04, 0, false, "2.0", "15.3MHz", ""}, // faults show only in Manufacture mode
        {0x21, 0x00, 0, true, "2.0", "15.3MHz", "TR is BRS\n"},
        {0x61, 0x00, 12, true, "2.9", "15.3MHz", "TR is Conventional\n"},
        {0x00, 0x05, 1, true, "2.1", "15.6MHz",
         "TR is GMRS\n\n  ! ! !  EEPROM Error  ! ! !\n  ! ! !  Over voltage supplied.  ! ! !"},
    };
    const std::string comment = "  NQ<b>Z30      "
                                "SIMULATED RADIO ";
    for (const Case& c : cases) {
        auto radio = CZ30ModelManager::NewZ30Record();
        std::uint8_t info[38] = {};
        std::copy(comment.begin(), comment.end(), info);
        info[33] = std::uint8_t(c.byte33);
        info[34] = std::uint8_t(c.byte34);
        info[37] = std::uint8_t(c.byte37);
        radio->SetInfoData(info, sizeof info);
        radio->SetRevision(0x0200);
        radio->SetCurrent(5);
        const CCloneInfoFields fields = CloneInfoFields(*radio, c.manufacture);
        EXPECT_EQ(fields.model, QStringLiteral("PMR 16CH"));
        EXPECT_EQ(fields.revision, QString::fromLatin1(c.revision));
        EXPECT_EQ(fields.pllRef, QString::fromLatin1(c.pllRef));
        EXPECT_EQ(fields.service, QString::fromLatin1(c.service)) << c.byte33 << ' ' << c.byte34;
        EXPECT_EQ(fields.comment, QStringLiteral("  NQ<b>Z30      \nSIMULATED RADIO \n"));

        // The comment lines appear as the radio holds them: leading blanks kept, no markup.
        CCloneInfoDlg dialog(fields);
        auto* shown = dialog.findChild<QLabel*>(QStringLiteral("comment"));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(), QStringLiteral("  NQ<b>Z30      \nSIMULATED RADIO "));
        EXPECT_EQ(shown->textFormat(), Qt::PlainText);
    }
}

TEST_F(AppTest, EveryWindowCarriesTheProductIcon) {
    CZ30MainFrame& frame = Start();
    const std::unique_ptr<ITransferProgress> progress = Platform().progressFactory();
    auto* dialog = static_cast<CQtTransferProgress*>(progress.get())->Dialog();
    EXPECT_FALSE(frame.windowIcon().isNull());
    EXPECT_EQ(dialog->windowIcon().cacheKey(), frame.windowIcon().cacheKey());
    EXPECT_TRUE(frame.windowIcon().availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(frame.windowIcon().availableSizes().contains(QSize(48, 48)));
}
