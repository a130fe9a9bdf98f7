// The differences window on simulated radios: Compare with Radio and with File, the rows, the
// marked cells, Take Other Value with its undo, and the listing saved as text.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "app/qt/compare_cmds.h"
#include "app/qt/differences_wnd.h"
#include "clone/model_manager.h"
#include "tests/support/file_text.h"
#include "views/command_ids.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QUndoStack>

#define KT_NQZ30SIM KT_SIM_PATH
#include "tests/integration/sim_process.h"

namespace {

// A variant 5 file with channel 4 on at 446.1 MHz and a comment: three values apart from the
// factory defaults.
QString ShopFile(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("shop.hxq"));
    CZ30Doc doc;
    doc.SetRememberVariant(false);
    doc.GetCloneManager()->GetModelManager()->SetVariant(5, true);
    doc.Edit("shop", [](CNode&, CEditReport& r) {
        r.SetText("Mch.CH4.ChOn", "ON");
        r.SetText("Mch.CH4.FreqRx", "446.1");
        r.SetText("CommonSet.Common1.Comment1", "SHOP");
    });
    EXPECT_TRUE(doc.SaveFile(path.toStdString(), nullptr));
    return path;
}

class CompareTest : public SheetAppTest {
protected:
    static CZ30AppOptions WithPorts() {
        CZ30AppOptions o = Offline();
        o.useSerialPorts = true;
        return o;
    }
};

} // namespace

TEST_F(CompareTest, RadioDifferencesAreMarkedTakenAndUndone) {
    const QTemporaryDir dir;
    const QString shop = ShopFile(dir);
    CSimProcess radio(
        {QStringLiteral("--variant"), QStringLiteral("5"), QStringLiteral("--image"), shop});
    if (radio.Path().empty()) GTEST_SKIP() << "nqz30sim is not available";
    Platform().settings->SetInt("Model", "ModelVer", 5);
    CZ30MainFrame& frame =
        Start({QStringLiteral("--port"), QString::fromStdString(radio.Path())}, WithPorts());
    CZ30Doc& doc = app->Document();
    const std::vector<std::uint8_t> before = doc.ImageBytes();

    frame.Action(cmd::kCompareRadio)->trigger();
    CDifferencesWnd* window = app->Compare()->Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(doc.ImageBytes(), before); // the read went into a document of its own
    EXPECT_FALSE(doc.IsModified());
    const QStringList rows = [&] {
        QStringList list;
        for (const CDifference& d : window->Differences())
            list << QString::fromStdString(DifferenceLine(d, false));
        return list;
    }();
    EXPECT_EQ(rows, QStringList({"Mch.CH4.ChOn\tOFF\tON", "Mch.CH4.FreqRx\t0.00000\t446.10000",
                                 "CommonSet.Common1.Comment1\t\tSHOP"}));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Differences with the radio - 3 differences"));
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" 3 differences to the radio."));

    // The memory sheet's cells of channel 4 are marked with the radio's values.
    CListSheet& sheet = *static_cast<CListSheet*>(frame.Sheets()->Sheet(2));
    const QModelIndex freq = sheet.Model()->index(3, 3);
    EXPECT_EQ(freq.data(Qt::ToolTipRole).toString(), QStringLiteral("the radio has 446.10000"));
    EXPECT_TRUE(freq.data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(sheet.Model()->index(2, 3).data(Qt::ToolTipRole).isValid());

    // A double-click on a channel's row shows its sheet with the row selected.
    frame.ShowSheet(0);
    emit window->Table()->doubleClicked(window->Table()->model()->index(1, 0));
    EXPECT_EQ(frame.CurrentSheetIndex(), 2);
    EXPECT_EQ(Sheet().SelectedRow(), 3);

    // Take Other Value on every row: one undo step, then nothing differs; undo brings them back.
    window->Table()->selectAll();
    window->TakeOtherValues();
    EXPECT_TRUE(window->Differences().empty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Differences with the radio - 0 differences"));
    EXPECT_EQ(UndoStackOf(doc)->count(), 1);
    EXPECT_EQ(UndoStackOf(doc)->undoText(), QStringLiteral("Take Other Value"));
    EXPECT_FALSE(freq.data(Qt::ToolTipRole).isValid());
    frame.RouteCommand(cmd::kUndo);
    EXPECT_EQ(doc.ImageBytes(), before);
    EXPECT_EQ(window->Differences().size(), 3u);
    EXPECT_EQ(freq.data(Qt::ToolTipRole).toString(), QStringLiteral("the radio has 446.10000"));

    const QString text = dir.filePath(QStringLiteral("differences.txt"));
    window->askTextPath = [&] { return text; };
    window->SaveAsText(window->askTextPath());
    EXPECT_EQ(ReadAll(text.toStdString()),
              "# Untitled and the radio: 3 differences: 2 in Mch.CH4, 1 in CommonSet\n" +
                  rows.join('\n').toStdString() + "\n");

    // Closed, the marks go.
    window->close();
    QApplication::processEvents();
    EXPECT_FALSE(freq.data(Qt::ToolTipRole).isValid());

    // The radio's own file against the radio: equal.
    app->Compare()->askComparePath = [&] { return shop; };
    frame.RouteCommand(cmd::kCompareFile);
    ASSERT_NE(app->Compare()->Window(), nullptr);
    EXPECT_EQ(app->Compare()->Window()->Differences().size(), 3u);
    window = app->Compare()->Window();
    window->Table()->selectAll();
    window->TakeOtherValues();
    frame.Action(cmd::kCompareRadio)->trigger();
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral(" Equal to the radio."));
    EXPECT_TRUE(app->Compare()->Window()->Differences().empty());
    doc.SetModifiedFlag(false);
}

// A byte no value covers is taken as the other has it and undone to the byte; a file that does
// not load is told and opens no window.
TEST_F(CompareTest, AByteIsTakenAndAFileThatDoesNotLoadIsTold) {
    const QTemporaryDir dir;
    CZ30MainFrame& frame = StartWith(5);
    CZ30Doc& doc = app->Document();
    const std::vector<std::uint8_t> before = doc.ImageBytes();
    const QString other = dir.filePath(QStringLiteral("other.hxq"));
    {
        CZ30Doc copy;
        copy.SetRememberVariant(false);
        copy.GetCloneManager()->GetModelManager()->SetVariant(5, true);
        std::vector<std::uint8_t> bytes = copy.ImageBytes();
        bytes[0x0624] = 0x12;
        copy.RestoreImage(bytes, CChangeReason::Load);
        ASSERT_TRUE(copy.SaveFile(other.toStdString(), nullptr));
    }
    app->Compare()->CompareWithFile(other);
    CDifferencesWnd* window = app->Compare()->Window();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->Differences().size(), 1u);
    EXPECT_EQ(DifferenceLine(window->Differences()[0], false), "0x0624\t00\t12");
    window->Table()->selectAll();
    window->TakeOtherValues();
    EXPECT_EQ(doc.ImageBytes()[0x0624], 0x12);
    EXPECT_TRUE(window->Differences().empty());
    frame.RouteCommand(cmd::kUndo);
    EXPECT_EQ(doc.ImageBytes(), before);
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->Compare()->Window(), nullptr);

    ModalHand hand;
    app->Compare()->askComparePath = [&] { return dir.filePath(QStringLiteral("none.hxq")); };
    frame.RouteCommand(cmd::kCompareFile);
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_TRUE(hand.seen[0].contains(QStringLiteral("Unexpected file format.")))
        << hand.seen[0].toStdString();
    EXPECT_EQ(app->Compare()->Window(), nullptr);
}
