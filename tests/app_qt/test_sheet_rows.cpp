// The memory sheets with several rows at once: selections, the row commands on all of them as
// one step, the clipboard's table text in and out, fill down and series, cells typed in place.
// Each edit is checked in the file the document saves, read back as the command line reads it,
// and undone to the exact image.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "params/node_access.h"
#include "sheets/channel_csv.h"
#include "sheets/channel_ops.h"
#include "views/command_ids.h"
#include "views/message_view.h"

#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;
constexpr int kBase = 400000000, kStep = 12500; // channel n on kBase + n * kStep

class SheetRowsTest : public SheetAppTest {
protected:
    CZ30Doc& Doc() { return app->Document(); }
    CNode* Root() { return Doc().GetRoot(); }
    static std::string Ch(int n, const char* field) {
        return "Mch.CH" + std::to_string(n) + "." + field;
    }
    void Set(const std::string& path, int code) { GetNode(Root(), path)->SetValue(code); }
    // Every channel in use on its own frequency, the image as saved.
    void Number() {
        for (int n = 1; n <= 16; ++n) {
            Set(Ch(n, "ChOn"), 1);
            Set(Ch(n, "FreqRx"), kBase + kStep * n);
            Set(Ch(n, "FreqTx"), kBase + kStep * n);
        }
        Doc().GetCloneManager()->TreeToImage();
        app->MainFrame()->RefreshCurrentSheet();
        Doc().SetModifiedFlag(false);
    }
    // The image as a save leaves it (a save fills the image's derived parts).
    std::vector<std::uint8_t> Image() {
        Saved();
        return Doc().ImageBytes();
    }
    // The document saved and read back as the command line reads a file.
    std::unique_ptr<CZ30Doc> Saved() {
        const std::string path = dir.filePath(QStringLiteral("saved.hxq")).toStdString();
        std::string error;
        EXPECT_TRUE(Doc().SaveFile(path, &error)) << error;
        auto doc = std::make_unique<CZ30Doc>();
        doc->SetRememberVariant(false);
        doc->LoadFileOverDefaults(path);
        return doc;
    }
    // Which channel each channel's receive frequency came from ("0" off), in the saved file.
    std::string Layout() {
        const auto doc = Saved();
        std::string layout;
        for (int n = 1; n <= 16; ++n) {
            CNode* root = doc->GetRoot();
            const int rx = GetNode(root, Ch(n, "FreqRx"))->GetValue();
            const bool on = GetNode(root, Ch(n, "ChOn"))->GetValue() != 0;
            layout += (n > 1 ? " " : "") + std::to_string(on ? (rx - kBase) / kStep : 0);
        }
        return layout;
    }
    void Click(int row, Qt::KeyboardModifiers mods = {}, int column = 3) {
        QTest::mouseClick(Sheet().View()->viewport(), Qt::LeftButton, mods,
                          Sheet().View()->visualRect(Sheet().Model()->index(row, column)).center());
    }
    void SelectRows(int first, int last, int column = 3) {
        Click(first, {}, column);
        Click(last, Qt::ShiftModifier, column);
    }
    QString Status() { return app->MainFrame()->StatusBar()->PaneText(CColorStatusBar::kPrompt); }
    std::vector<int> Rows() { return Sheet().SelectedRows(); }
    void Finish() {
        Doc().SetModifiedFlag(false);
        Close();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(SheetRowsTest, SelectionsGrowAndShrinkAndNameTheirChannels) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    CListViewExs* view = Sheet().View();
    frame.activateWindow();
    frame.FocusSheet();
    using Rowset = std::vector<int>;
    const struct {
        std::function<void()> act;
        Rowset rows;
        const char* caption;
        bool oneRowCommands; // Edit Memory, Prio A and Emergency OFF enabled
    } steps[] = {
        {[&] { Click(2); }, {2}, "Memory - CH 3", true},
        {[&] { Click(4, Qt::ShiftModifier); }, {2, 3, 4}, "Memory - CH 3-5", false},
        {[&] { QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier); },
         {2, 3, 4, 5},
         "Memory - CH 3-6",
         false},
        {[&] { QTest::keyClick(view, Qt::Key_Home, Qt::ShiftModifier); },
         {0, 1, 2},
         "Memory - CH 1-3",
         false},
        {[&] { QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier); },
         {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         "Memory - CH 3-16",
         false},
        {[&] { Click(7, Qt::ControlModifier); },
         {2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15},
         "Memory - 13 CH",
         false},
        {[&] { Click(7, Qt::ControlModifier); },
         {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         "Memory - CH 3-16",
         false},
        {[&] { QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier); },
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15},
         "Memory - CH 1-16",
         false},
        {[&] { QTest::keyClick(view, Qt::Key_Down); }, {8}, "Memory - CH 9", true},
        {[&] { QTest::keyClick(view, Qt::Key_PageDown, Qt::ShiftModifier); }, {}, nullptr, false},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        if (!steps[i].caption) break;
        EXPECT_EQ(Rows(), steps[i].rows) << i;
        EXPECT_EQ(frame.SheetCaptionPane()->Caption(), QString::fromLatin1(steps[i].caption)) << i;
        for (int id : {cmd::kEditMemory, cmd::kPrioA, cmd::kEmergency, cmd::kEmergencyOff})
            EXPECT_EQ(frame.RouteUpdate(id).enabled, steps[i].oneRowCommands) << i << " " << id;
        for (int id : {cmd::kCopy, cmd::kClear, cmd::kDelete, cmd::kInsert})
            EXPECT_TRUE(frame.RouteUpdate(id).enabled) << i << " " << id;
        frame.UpdateCommandUI();
        EXPECT_EQ(frame.Action(cmd::kFillDown)->isVisible(), !steps[i].oneRowCommands) << i;
    }
    EXPECT_GT(Rows().size(), 2u); // a page on from row 9
    EXPECT_EQ(Rows().front(), 8);

    // The signalling sheets keep one row.
    ChangeModelTo(kLmr16);
    frame.ShowSheet(3);
    Click(1, {}, 1);
    Click(3, Qt::ShiftModifier, 1);
    Click(5, Qt::ControlModifier, 1);
    EXPECT_EQ(Sheet().SelectedRows().size(), 1u);
    // Their Copy (Ctrl+C) gives the row as text only, under the sheet's column titles.
    QStringList titles;
    for (int column = 0; column < Sheet().Desc().columns; ++column)
        titles << QString::fromUtf8(Sheet().Desc().columnTable[column].header);
    frame.UpdateCommandUI(); // the menus' state after the sheet changed, as the idle time sets it
    QTest::keyClick(Sheet().View(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/plain")});
    EXPECT_EQ(data->text().section('\n', 0, 0), titles.join('\t'));
    EXPECT_EQ(data->text().section('\n', 1, 1).section('\t', 0, 0),
              Sheet().CellText(Sheet().SelectedRow(), 0));
    EXPECT_FALSE(frame.RouteUpdate(cmd::kPaste).enabled);
    Finish();
}

// Delete, Insert, Clear, Cut and Paste on several rows: one step each, the later rows moving by
// as many, the attributes following their channels.
TEST_F(SheetRowsTest, RowCommandsOnSeveralRowsAreOneStep) {
    for (int variant : {kLmr16, kPmr16}) {
        CZ30MainFrame& frame = StartWith(variant);
        Number();
        Set("Mch.PrioA", 7);
        Set("Mch.Emr", 4);
        Doc().GetCloneManager()->TreeToImage();
        Doc().SetModifiedFlag(false);
        const std::vector<std::uint8_t> base = Image();
        const struct {
            int first, last; // rows selected
            int id;
            int pasteAt; // for a paste: the row, after copying the rows selected
            const char* label;
            const char* layout;
            int prioA, emr;
            const char* status;
        } cases[] = {
            {2, 4, cmd::kDelete, -1, "Delete CH 3-5", "1 2 6 7 8 9 10 11 12 13 14 15 16 0 0 0", 4,
             3, nullptr},
            {2, 4, cmd::kInsert, -1, "Insert CH 3-5", "1 2 0 0 0 3 4 5 6 7 8 9 10 11 12 13", 10, 7,
             nullptr},
            {0, 1, cmd::kClear, -1, "Clear CH 1-2", "0 0 3 4 5 6 7 8 9 10 11 12 13 14 15 16", 7, 4,
             nullptr},
            {0, 1, cmd::kCut, -1, "Clear CH 1-2", "0 0 3 4 5 6 7 8 9 10 11 12 13 14 15 16", 7, 4,
             nullptr},
            {0, 2, cmd::kPaste, 13, "Paste CH 14-16", "1 2 3 4 5 6 7 8 9 10 11 12 13 1 2 3", 7, 4,
             " Paste CH 14-16: 3 channels set"},
            {0, 2, cmd::kPaste, 14, "Paste CH 15-16", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 1 2", 7, 4,
             " Paste CH 15-16: 2 channels set, 1 row past the last channel dropped"},
        };
        ModalHand hand;
        hand.handler = [](QWidget* box) {
            ModalHand::Click(box, QMessageBox::Yes);
            return true;
        };
        for (const auto& c : cases) {
            SelectRows(c.first, c.last);
            if (c.pasteAt >= 0) {
                frame.RouteCommand(cmd::kCopy);
                EXPECT_EQ(Image(), base);
                Click(c.pasteAt);
            }
            ASSERT_TRUE(frame.RouteCommand(c.id)) << c.label;
            EXPECT_EQ(frame.Action(cmd::kUndo)->text(),
                      QStringLiteral("&Undo %1\tCtrl+Z").arg(c.label));
            EXPECT_EQ(Layout(), c.layout) << c.label;
            EXPECT_EQ(Saved()->GetRoot()->FindChild("Mch")->FindChild("PrioA")->GetValue(), c.prioA)
                << c.label;
            EXPECT_EQ(Saved()->GetRoot()->FindChild("Mch")->FindChild("Emr")->GetValue(), c.emr)
                << c.label;
            EXPECT_TRUE(!c.status || Status().toStdString() == c.status) << Status().toStdString();
            frame.RouteCommand(cmd::kUndo);
            EXPECT_EQ(Image(), base) << c.label;
        }
        Finish();
    }
}

TEST_F(SheetRowsTest, ClipboardTextGoesAcrossFamiliesAndFromSpreadsheets) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number();
    Set(Ch(2, "CTonRx"), 2023);
    Set(Ch(2, "WidNar"), 1);
    frame.RefreshCurrentSheet();
    SelectRows(0, 1);
    frame.RouteCommand(cmd::kCopy);
    const QString text = QGuiApplication::clipboard()->mimeData()->text();
    EXPECT_EQ(text.section('\n', 0, 0),
              "CH\tCH Atr\tCH Inhibit\tRx Frequency\tTx Frequency\tTx Inhibit\tRX C.Tone\tTX "
              "C.Tone\tWide/Narrow\tPWR Save\tTOT\tRF PWR\tLockout\tScan\tAuto Reset\t2 Tone\tLOG "
              "IN/OFF");
    EXPECT_EQ(text.section('\n', 2, 2).section('\t', 0, 8),
              "2\t\tOFF\t400.02500\t<-----\tOFF\t023N\tOFF\tNarrow");
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->data(kLmrClipboardFormat).size(), 560);

    // On a PMR radio: the LMR rows' text, by Paste Text on one row or Paste on several.
    ChangeModelTo(kPmr16);
    Number();
    const std::vector<std::uint8_t> base = Image();
    const std::string csv =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power\r\n"
        "1,,446.006250,,0.000000,TSQL,88.5,94.8,023,NN,023,Tone->Tone,NFM,6.25,,High\r\n"
        "9,,446.1,+,0.6,,88.5,88.5,023,NN,023,Tone->Tone,FM,12.5,S,Low1\r\n";
    const struct {
        QString clip; // "" keeps what Copy put there
        int first, last, id;
        const char* rx;     // the first target's RX Frequency cell after the paste
        const char* tone;   // its RX C.Tone cell
        const char* width;  // its Wide/Narrow cell
        const char* report; // "" when there is none
    } cases[] = {
        {"", 4, 4, cmd::kPasteText, "400.01250", "OFF", "Wide",
         "KT-Z30|Paste CH 5-6: 2 channels set, 1 note.\n\ncolumns this sheet does not have, left "
         "aside: 2 Tone"},
        {"", 5, 6, cmd::kPaste, "400.01250", "OFF", "Wide",
         "KT-Z30|Paste CH 6-7: 2 channels set, 1 note.\n\ncolumns this sheet does not have, left "
         "aside: 2 Tone"},
        {"Rx Frequency\tTX C.Tone\tWide/Narrow\n146.52\t88.5\tNarrow\n146.5201\t999\tWide\n", 0, 0,
         cmd::kPaste, "146.52000", "OFF", "Narrow",
         "KT-Z30|Paste CH 1-2: 2 channels set, 3 notes.\n\nCH 2: RX Frequency adjusted to "
         "146.52000 "
         "(snapped to the channel raster or the tone step)\nCH 2: TX Frequency adjusted to "
         "146.52000 (snapped to the channel raster or the tone step)\nCH 2: TX C.Tone \"999\" not "
         "taken (not "
         "one of the choices)"},
        {QString::fromStdString(csv), 15, 15, cmd::kPaste, "446.00625", "94.8", "Narrow", ""},
        {"hello\tworld\n1\t2\n", 3, 3, cmd::kPaste, "400.05000", "OFF", "Wide",
         "KT-Z30|Paste CH 4: the text is no channel table: its first line must name the columns, "
         "as Copy writes them (RX Frequency, RX C.Tone, ...) or as a CSV channel list does "
         "(Location, Frequency, ...).\nNothing was changed."},
    };
    for (const auto& c : cases) {
        if (!c.clip.isEmpty()) QGuiApplication::clipboard()->setText(c.clip);
        SelectRows(c.first, c.last);
        ModalHand hand;
        ASSERT_TRUE(frame.RouteUpdate(c.id).enabled) << c.rx;
        // One row and the LMR record beside the text: Paste stays as it was.
        EXPECT_TRUE(c.id != cmd::kPasteText || !frame.RouteUpdate(cmd::kPaste).enabled);
        frame.RouteCommand(c.id);
        QTest::qWait(60);
        EXPECT_EQ(hand.seen.join('#').toStdString(), c.report);
        EXPECT_TRUE(c.first != 15 ||
                    Status() == " Paste CH 16: 1 channel set, 1 row past the last channel dropped");
        const auto saved = Saved();
        const int n = c.first + 1;
        EXPECT_EQ(Sheet().CellText(c.first, 3).toStdString(), c.rx);
        EXPECT_EQ(Sheet().CellText(c.first, 6).toStdString(), c.tone);
        EXPECT_EQ(Sheet().CellText(c.first, 8).toStdString(), c.width);
        EXPECT_EQ(GetNode(saved->GetRoot(), Ch(n, "FreqRx"))->GetText(), c.rx);
        // Columns the text lacks keep their values; undo gives the image back.
        EXPECT_EQ(GetNode(saved->GetRoot(), Ch(n, "Moni"))->GetText(), "Both");
        frame.RouteCommand(cmd::kUndo);
        EXPECT_EQ(Image(), base) << c.rx;
    }
    // A CHIRP list exported from these channels comes back the same at its place.
    QGuiApplication::clipboard()->setText(QString::fromStdString(ExportChannelCsv(Root(), kPmr16)));
    const std::vector<std::uint8_t> before = Image();
    Click(0);
    ModalHand hand;
    frame.RouteCommand(cmd::kPaste);
    EXPECT_TRUE(hand.seen.isEmpty()) << hand.seen.join('#').toStdString();
    EXPECT_EQ(Image(), before);
    Finish();
}

TEST_F(SheetRowsTest, FillDownAndSeriesOnTheCurrentColumn) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Number();
    Set(Ch(1, "FreqRx"), kBase);
    Set(Ch(1, "FreqTx"), kBase + 5000000);
    Set(Ch(1, "Moni"), 2);
    Doc().GetCloneManager()->TreeToImage();
    frame.RefreshCurrentSheet();
    Doc().SetModifiedFlag(false);
    const std::vector<std::uint8_t> base = Image();
    const struct {
        int column, id;
        const char* step; // for a series: what the dialog is given (nullptr: its default)
        const char* label;
        const char* rx4; // channel 4's RX and TX Frequency and Moni in the saved file
        const char* tx4;
        const char* moni4;
        const char* report;
    } cases[] = {
        {3, cmd::kFillSeries, nullptr, "Fill Series CH 1-4", "400.03750", "400.03750", "Both", ""},
        // TX follows RX where it equalled RX, as in the row editor.
        {3, cmd::kFillSeries, "-25", "Fill Series CH 1-4", "399.92500", "399.92500", "Both", ""},
        {4, cmd::kFillSeries, "1.3", "Fill Series CH 1-4", "400.05000", "405.00313", "Both",
         "KT-Z30|Fill Series CH 1-4: 3 channels set, 3 notes.\n\nCH 3: TX Frequency adjusted to "
         "405.00250 (snapped to the channel raster or the tone step)\nCH 4: TX Frequency adjusted "
         "to 405.00313 (snapped to the channel raster or the tone step)\nCH 2, TX Frequency: "
         "\"405.001300\" fits no raster; the row is not taken"},
        {14, cmd::kFillDown, nullptr, "Fill Down CH 1-4", "400.05000", "400.05000", "In A", ""},
        {4, cmd::kFillDown, nullptr, "Fill Down CH 1-4", "400.05000", "405.00000", "Both", ""},
    };
    for (const auto& c : cases) {
        SelectRows(0, 3, c.column);
        ModalHand hand;
        hand.handler = [&c](QWidget* w) {
            auto* dialog = qobject_cast<QInputDialog*>(w);
            if (!dialog) return false;
            EXPECT_EQ(dialog->textValue(), QStringLiteral("12.500"));
            if (c.step) dialog->setTextValue(QString::fromLatin1(c.step));
            dialog->accept();
            return true;
        };
        frame.UpdateCommandUI();
        ASSERT_TRUE(frame.Action(c.id)->isVisible());
        ASSERT_TRUE(frame.RouteUpdate(c.id).enabled) << c.label;
        frame.RouteCommand(c.id);
        QTest::qWait(60);
        EXPECT_EQ(frame.Action(cmd::kUndo)->text(),
                  QStringLiteral("&Undo %1\tCtrl+Z").arg(c.label));
        const QStringList seen = hand.seen.filter(QStringLiteral("KT-Z30|"));
        EXPECT_EQ(seen.join('#').toStdString(), c.report) << c.label;
        const auto saved = Saved();
        EXPECT_EQ(GetNode(saved->GetRoot(), Ch(4, "FreqRx"))->GetText(), c.rx4) << c.label;
        EXPECT_EQ(GetNode(saved->GetRoot(), Ch(4, "FreqTx"))->GetText(), c.tx4) << c.label;
        EXPECT_EQ(GetNode(saved->GetRoot(), Ch(4, "Moni"))->GetText(), c.moni4) << c.label;
        frame.RouteCommand(cmd::kUndo);
        EXPECT_EQ(Image(), base) << c.label;
    }
    // Fill Series only on a frequency column.
    SelectRows(0, 3, 8);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kFillSeries).enabled);
    EXPECT_TRUE(frame.RouteUpdate(cmd::kFillDown).enabled);
    Finish();
}

TEST_F(SheetRowsTest, CellsTypedInPlaceAreOneStepEach) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number();
    frame.activateWindow();
    const std::vector<std::uint8_t> base = Image();
    CListViewExs* view = Sheet().View();
    auto editor = [&](int row, int column) {
        return view->indexWidget(Sheet().Model()->index(row, column));
    };
    const struct {
        int row, column;
        std::function<void()> open; // F2 or a typed character
        QString typed;              // replaces what the editor holds ("" keeps it)
        Qt::Key end;
        const char* field; // the node of channel row + 1 that changes, nullptr for none
        const char* stored;
        int editorAfter; // the column with an editor open afterwards, -1 for none
    } cases[] = {
        {1, 3, [&] { QTest::keyClick(view, Qt::Key_F2); }, "146.52", Qt::Key_Return, "FreqRx",
         "146.52000", -1},
        {1, 3, [&] { QTest::keyClick(view, Qt::Key_1); }, "", Qt::Key_Escape, nullptr, "", -1},
        {2, 4, [&] { QTest::keyClick(view, Qt::Key_F2); }, "146.5", Qt::Key_Tab, "FreqTx",
         "146.50000", 5},
        {2, 6, [&] { QTest::keyClick(view, Qt::Key_F2); }, "754i", Qt::Key_Backtab, "CTonRx",
         "3754", 5},
        {3, 8, [&] { QTest::keyClick(view, Qt::Key_F2); }, "Narrow", Qt::Key_Return, "WidNar",
         "Narrow", -1},
        {3, 3, [&] { QTest::keyClick(view, Qt::Key_F2); }, "abc", Qt::Key_Return, nullptr, "", -1},
    };
    for (const auto& c : cases) {
        frame.FocusSheet();
        Click(c.row, {}, c.column);
        ModalHand hand;
        c.open();
        QWidget* open = editor(c.row, c.column);
        ASSERT_NE(open, nullptr) << c.column;
        if (auto* line = qobject_cast<QLineEdit*>(open)) {
            EXPECT_TRUE(c.end != Qt::Key_Escape || line->text() == "1")
                << line->text().toStdString();
            if (!c.typed.isEmpty()) line->setText(c.typed);
            QTest::keyClick(line, c.end);
        } else if (auto* box = qobject_cast<QComboBox*>(open)) {
            if (box->isEditable())
                box->setEditText(c.typed);
            else
                box->setCurrentIndex(box->findText(c.typed));
            QTest::keyClick(box->isEditable() ? static_cast<QWidget*>(box->lineEdit()) : box,
                            c.end);
        }
        QTest::qWait(60);
        const auto saved = Saved();
        if (c.field) {
            const CNode* node = GetNode(saved->GetRoot(), Ch(c.row + 1, c.field));
            EXPECT_EQ(c.field == std::string("CTonRx") ? std::to_string(node->GetValue())
                                                       : node->GetText(),
                      c.stored);
            EXPECT_EQ(frame.Action(cmd::kUndo)->text(),
                      QStringLiteral("&Undo Edit CH %1\tCtrl+Z").arg(c.row + 1));
        } else {
            EXPECT_EQ(Image(), base);
        }
        if (c.editorAfter >= 0) {
            ASSERT_NE(editor(c.row, c.editorAfter), nullptr) << c.field;
            EXPECT_EQ(view->CurrentColumn(), c.editorAfter);
            QTest::keyClick(editor(c.row, c.editorAfter), Qt::Key_Escape);
        }
        EXPECT_EQ(hand.seen.join('#').toStdString(),
                  c.typed == "abc"
                      ? "KT-Z30|RX Frequency \"abc\": not a number.\nTX Frequency \"abc\": not a "
                        "number.\nThe channel is not changed."
                      : "");
        if (c.field) frame.RouteCommand(cmd::kUndo);
        EXPECT_EQ(Image(), base) << c.column;
    }
    // Enter without a cell editor still opens the row editor.
    ModalHand hand;
    frame.FocusSheet();
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(hand.seen, QStringList{QStringLiteral("Edit Memory CH")});
    Finish();
}
