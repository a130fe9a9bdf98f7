// The memory channel sheets on real widgets: columns and their stored widths, keys and mouse,
// the row commands with their questions, the row editor and the clipboard.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"

#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/sheet_desc.h"
#include "views/column_widths.h"
#include "views/command_ids.h"
#include "views/edit_notes.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/mch_edit_dlg.h"
#include "views/message_view.h"
#include "views/tone_combo.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

constexpr int kLmr1 = 0, kLmr16 = 4, kPmr16 = 5;

class SheetTest : public SheetAppTest {
protected:
    CNode* Root() { return app->Document().GetRoot(); }
    int Value(const std::string& path) { return GetNode(Root(), path)->GetValue(); }
    void Set(const std::string& path, int code) { GetNode(Root(), path)->SetValue(code); }
    std::string Ch(int n, const char* field) { return "Mch.CH" + std::to_string(n) + "." + field; }
    // Channels 1..count in use, each with its own receive frequency.
    void Number(int count) {
        for (int n = 1; n <= count; ++n) {
            Set(Ch(n, "ChOn"), 1);
            Set(Ch(n, "FreqRx"), 400000000 + 12500 * n);
            Set(Ch(n, "FreqTx"), 400000000 + 12500 * n);
        }
        app->MainFrame()->RefreshCurrentSheet();
    }
    QPoint CellCenter(int row, int column) {
        return Sheet().View()->visualRect(Sheet().Model()->index(row, column)).center();
    }
    // The main window active again (after a modal window, nobody else activates it here).
    void Activate() {
        app->MainFrame()->activateWindow();
        QApplication::processEvents();
    }
    void Finish() {
        app->Document().SetModifiedFlag(false);
        Close();
    }
};

// Answers the next message box with the button, recording its text.
std::function<bool(QWidget*)> Answer(QMessageBox::StandardButton button) {
    return [button](QWidget* box) {
        ModalHand::Click(box, button);
        return true;
    };
}

} // namespace

TEST_F(SheetTest, StoredWidthsAreClampedOnOpeningReloadingAndDragging) {
    ISettingsStore& s = *Platform().settings;
    s.SetInt("Column_MchLMRSheet", "Width0", 10);
    s.SetInt("Column_MchLMRSheet", "Width3", 999);
    s.SetString("Column_MchLMRSheet", "Width5", "wide");
    StartWith(kLmr16);
    QHeaderView* header = Sheet().View()->horizontalHeader();
    ASSERT_EQ(header->count(), 17);
    // The description's widths, for an 8-point font, grown with this font.
    const double scale = ColumnWidthScale(Sheet().View()->font());
    const auto w = [scale](int column) {
        return ScaledColumnWidths(kMchLmrColumns[column], scale);
    };
    EXPECT_EQ(header->sectionSize(0), w(0).minWidth);
    EXPECT_EQ(header->sectionSize(3), w(3).maxWidth);
    EXPECT_EQ(header->sectionSize(5), w(5).width);
    EXPECT_GE(header->sectionSize(16), w(16).width); // wider where "LOG IN/OFF" needs it
    EXPECT_EQ(Sheet().Model()->headerData(16, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("LOG IN/OFF"));

    // Dragging stores the width, never beyond the column's limits.
    const struct {
        int column, dragged, kept;
    } drags[] = {
        {2, 5, w(2).minWidth}, {2, 150, 150}, {0, 300, w(0).maxWidth}, {7, 1000, w(7).maxWidth}};
    for (const auto& d : drags) {
        header->resizeSection(d.column, d.dragged);
        EXPECT_EQ(header->sectionSize(d.column), d.kept) << d.column << " " << d.dragged;
        EXPECT_EQ(s.GetInt("Column_MchLMRSheet", "Width" + std::to_string(d.column), -1), d.kept);
    }
    // Showing the sheet reloads what is stored, clamped as well.
    s.SetInt("Column_MchLMRSheet", "Width1", 5);
    app->MainFrame()->ShowSheet(1);
    EXPECT_EQ(header->sectionSize(1), w(1).minWidth);
    Finish();
}

TEST_F(SheetTest, KeysMoveTheCurrentColumnAndTheFocus) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    CListViewExs* view = Sheet().View();
    frame.activateWindow();
    frame.FocusSheet();
    ASSERT_TRUE(view->hasFocus());
    EXPECT_EQ(view->CurrentColumn(), 1);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_EQ(view->CurrentColumn(), 16); // wraps from column 1 to the last
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->CurrentColumn(), 1); // and back
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(view->CurrentColumn(), 2);
    // Up and Down move the selection; Home and End go to the ends.
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(Sheet().SelectedRow(), 2);
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(Sheet().SelectedRow(), 15);
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(Sheet().SelectedRow(), 0);
    // Enter opens the row editor and the focus stays in the sheet.
    ModalHand hand;
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_EQ(hand.seen[0], QStringLiteral("Edit Memory CH"));
    Activate();
    EXPECT_TRUE(view->hasFocus());
    // Tab goes to the tree.
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_TRUE(frame.Tree()->hasFocus());
    Finish();
}

TEST_F(SheetTest, MouseSelectsRowsAndACaptionNamesTheChannel) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    CListViewExs* view = Sheet().View();
    frame.FocusTree();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCenter(4, 3));
    EXPECT_TRUE(view->hasFocus());
    EXPECT_EQ(Sheet().SelectedRow(), 4);
    EXPECT_EQ(view->CurrentColumn(), 3);
    EXPECT_EQ(frame.SheetCaptionPane()->Caption(), QStringLiteral("Memory - CH 5"));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, CellCenter(6, 0));
    EXPECT_EQ(view->CurrentColumn(), 1); // the channel number is never current

    // Below the last row: nothing changes.
    const QRect last = view->visualRect(Sheet().Model()->index(15, 1));
    ASSERT_LT(last.bottom() + 20, view->viewport()->height());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, last.center() + QPoint(0, 40));
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, last.center() + QPoint(0, 40));
    EXPECT_EQ(Sheet().SelectedRow(), 6);

    // A right press selects its row; the context menu repeats the Edit menu.
    QStringList items;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                items << (a->isSeparator() ? QStringLiteral("-") : a->text());
            menu->close();
        }
    });
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, CellCenter(2, 2));
    QContextMenuEvent context(QContextMenuEvent::Mouse, CellCenter(2, 2),
                              view->viewport()->mapToGlobal(CellCenter(2, 2)));
    QApplication::sendEvent(view->viewport(), &context);
    EXPECT_EQ(Sheet().SelectedRow(), 2);
    EXPECT_EQ(items.join('|'),
              QStringLiteral("&Undo\tCtrl+Z|&Redo\tCtrl+Y|-|&Edit Memory...\tEnter|-|Prio A|Prio "
                             "B|Emergency|Emergency OFF|-|"
                             "Copy\tCtrl+C|Paste\tCtrl+V|-|Clear|Delete\tDelete|Insert\tInsert"));
    // A double-click edits the row under it.
    ModalHand hand;
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, CellCenter(9, 4));
    EXPECT_EQ(hand.seen, QStringList{QStringLiteral("Edit Memory CH")});
    EXPECT_EQ(Sheet().SelectedRow(), 9);
    Finish();
}

TEST_F(SheetTest, RowCountFollowsTheVariantKeepingTheSelectionWhenItCan) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    ModalHand hand;
    hand.handler = Answer(QMessageBox::Yes);
    const struct {
        int from, selected, to, rows, kept;
    } cases[] = {{kLmr16, 9, kLmr1, 4, 0}, {kLmr16, 2, kLmr1, 4, 2}, {kLmr1, 3, kLmr16, 16, 3}};
    for (const auto& c : cases) {
        frame.ChangeModel(c.from);
        Sheet().SelectRow(c.selected);
        frame.ChangeModel(c.to);
        EXPECT_EQ(Sheet().RowCount(), c.rows);
        EXPECT_EQ(Sheet().SelectedRow(), c.kept) << c.from << " to " << c.to;
        EXPECT_EQ(frame.SheetCaptionPane()->Suffix(), QStringLiteral(" - CH %1").arg(c.kept + 1));
    }
    // A 1CH radio marks the rows it does not have.
    frame.ChangeModel(kLmr1);
    QStringList numbers;
    for (int row = 0; row < Sheet().RowCount(); ++row)
        numbers << Sheet().CellText(row, 0);
    EXPECT_EQ(numbers.join(','), QStringLiteral("1,2*,3*,4*"));
    Finish();
}

TEST_F(SheetTest, DeleteAndInsertAskBeforeLosingAChannel) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Number(16);
    Set("Mch.PrioA", 7);
    Set("Mch.PrioB", 16);
    Set("Mch.Emr", 3);
    QStringList edits;
    QObject::connect(&Sheet(), &CListSheet::editRun, [&](const QString& label) { edits << label; });
    ModalHand hand;

    struct Step {
        int row;
        int id;
        QMessageBox::StandardButton answer;
        const char* question; // "" when none is asked
        int prioA, prioB, emr;
        int rx3, rx16; // receive frequencies of channels 3 and 16 (kHz above 400 MHz)
    };
    const Step steps[] = {
        {2, cmd::kDelete, QMessageBox::No, "Delete CH ?", 7, 16, 3, 37, 200},
        {2, cmd::kDelete, QMessageBox::Yes, "Delete CH ?", 6, 15, 3, 50, 0},
        {15, cmd::kDelete, QMessageBox::Yes, "", 6, 15, 3, 50, 0},  // channel 16 is not in use
        {4, cmd::kInsert, QMessageBox::Yes, "", 7, 16, 3, 50, 200}, // nor is the last one
        {1, cmd::kInsert, QMessageBox::No, "CH overflow\nLast channel will be deleted.", 7, 16, 3,
         50, 200},
        {1, cmd::kInsert, QMessageBox::Yes, "CH overflow\nLast channel will be deleted.", 8, 16, 4,
         25, 187},
    };
    for (const Step& s : steps) {
        hand.seen.clear();
        hand.handler = Answer(s.answer);
        Sheet().SelectRow(s.row);
        // The keys reach the sheet while the tree has the focus.
        Activate();
        frame.FocusTree();
        QTest::keyClick(frame.Tree(), s.id == cmd::kDelete ? Qt::Key_Delete : Qt::Key_Insert);
        const QString asked = hand.seen.isEmpty() ? QString() : hand.seen[0].section('|', 1);
        EXPECT_EQ(asked, QString::fromLatin1(s.question)) << s.row << " " << s.id;
        EXPECT_EQ(Value("Mch.PrioA"), s.prioA) << s.row << " " << s.id;
        EXPECT_EQ(Value("Mch.PrioB"), s.prioB) << s.row << " " << s.id;
        EXPECT_EQ(Value("Mch.Emr"), s.emr) << s.row << " " << s.id;
        auto rx = [&](int n) {
            return Value(Ch(n, "ChOn")) ? (Value(Ch(n, "FreqRx")) - 400000000) / 1000 : 0;
        };
        EXPECT_EQ(rx(3), s.rx3) << s.row << " " << s.id;
        EXPECT_EQ(rx(16), s.rx16) << s.row << " " << s.id;
    }
    EXPECT_EQ(edits.join(','), QStringLiteral("Delete CH 3,Delete CH 16,Insert CH 5,Insert CH 2"));
    EXPECT_TRUE(app->Document().IsModified());
    EXPECT_EQ(Sheet().CellText(1, 1), QString()); // the letters follow their channels
    EXPECT_EQ(Sheet().CellText(3, 1), QStringLiteral("E"));
    Finish();
}

TEST_F(SheetTest, ChannelAttributesAreCheckedOnTheirChannel) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number(4);
    Sheet().SelectRow(2);
    const struct {
        int id;
        const char* node;
        int value;
        const char* letters;
    } steps[] = {{cmd::kPrioA, "Mch.PrioA", 3, "A"},
                 {cmd::kPrioB, "Mch.PrioB", 3, "AB"},
                 {cmd::kEmergency, "Mch.Emr", 3, "ABE"},
                 {cmd::kEmergencyOff, "Mch.Emr", 0, "AB"}};
    for (const auto& s : steps) {
        frame.Action(s.id)->trigger();
        EXPECT_EQ(Value(s.node), s.value) << s.node;
        EXPECT_EQ(Sheet().CellText(2, 1), QString::fromLatin1(s.letters));
        EXPECT_EQ(frame.Action(s.id)->isChecked(), s.id != cmd::kEmergencyOff) << s.node;
    }
    Sheet().SelectRow(1);
    frame.UpdateCommandUI();
    EXPECT_FALSE(frame.Action(cmd::kPrioA)->isChecked());
    EXPECT_TRUE(frame.Action(cmd::kPrioA)->isEnabled());
    EXPECT_TRUE(frame.Action(cmd::kUndo)->isEnabled()); // the attribute steps can be undone
    Finish();
}

TEST_F(SheetTest, RowEditorStoresTonesAndAnEmptiedReceiveFrequencyTurnsTheChannelOff) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number(3);
    Set("Mch.PrioA", 2);
    Set(Ch(2, "CTonRx"), 9);
    Set(Ch(2, "CTonTx"), 9);
    frame.RefreshCurrentSheet();
    Sheet().SelectRow(1);
    struct Round {
        const char* rxTone;
        const char* txTone; // nullptr: tone Simplex checked
        const char* rxFreq; // nullptr: unchanged
        const char* cells;  // columns 0 to 7 afterwards
    };
    const Round rounds[] = {
        {"023", "754i", nullptr, "2|A|OFF|400.02500|<-----|OFF|023N|754i"},
        {"089", "23", nullptr, "2|A|OFF|400.02500|<-----|OFF|023N|754i"},
        {"88.5", nullptr, "146.52", "2|A|OFF|146.52000|<-----|OFF|88.5|<-----"},
        {"OFF", nullptr, "", "2|A||||||"},
    };
    ModalHand hand;
    for (const Round& r : rounds) {
        bool checked = false;
        hand.handler = [&](QWidget* w) {
            auto* dialog = qobject_cast<CZ30MchEditDlg*>(w);
            if (!dialog) return false;
            checked = dialog->FreqSimplex()->isChecked() && !dialog->TxFreq()->isEnabled();
            dialog->RxTone()->setEditText(QString::fromLatin1(r.rxTone));
            if (dialog->ToneSimplex()->isChecked() != !r.txTone) dialog->ToneSimplex()->click();
            if (r.txTone) dialog->TxTone()->setEditText(QString::fromLatin1(r.txTone));
            if (r.rxFreq) {
                dialog->RxFreq()->setText(QString::fromLatin1(r.rxFreq));
                // Without a receive frequency only that box and OK/Cancel stay enabled.
                const bool empty = dialog->RxFreq()->text().isEmpty();
                EXPECT_EQ(dialog->RxTone()->isEnabled(), !empty);
                EXPECT_EQ(dialog->FieldControl("TOT")->isEnabled(), !empty);
                EXPECT_TRUE(dialog->Buttons()->button(QDialogButtonBox::Ok)->isEnabled());
            }
            dialog->Buttons()->button(QDialogButtonBox::Ok)->click();
            return true;
        };
        frame.RouteCommand(cmd::kEditMemory);
        EXPECT_TRUE(checked) << r.rxTone;
        QStringList cells;
        for (int c = 0; c < 8; ++c)
            cells << Sheet().CellText(1, c);
        EXPECT_EQ(cells.join('|').toStdString(), r.cells) << r.rxTone;
    }
    // The emptied channel holds the blank data.
    for (CNode* field : GetNode(Root(), "Mch.CH0")->Children())
        EXPECT_EQ(Value(Ch(2, field->GetName().c_str())), field->GetValue()) << field->GetName();
    Finish();
}

TEST_F(SheetTest, RowEditorOfAChannelNotInUseStartsEmpty) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Sheet().SelectRow(5);
    ModalHand hand;
    QStringList lists;
    hand.handler = [&](QWidget* w) {
        auto* dialog = qobject_cast<CZ30MchEditDlg*>(w);
        if (!dialog) return false;
        EXPECT_TRUE(dialog->RxFreq()->text().isEmpty());
        EXPECT_TRUE(dialog->FreqSimplex()->isChecked());
        EXPECT_TRUE(dialog->ToneSimplex()->isChecked());
        EXPECT_FALSE(dialog->FieldControl("Moni")->isEnabled());
        for (const char* node : {"Moni", "PTT", "LockoutP", "Form", "RPT", "IdPos", "Mute"})
            lists << QString::number(static_cast<QComboBox*>(dialog->FieldControl(node))->count());
        dialog->Buttons()->button(QDialogButtonBox::Ok)->click();
        return true;
    };
    frame.RouteCommand(cmd::kEditMemory);
    EXPECT_EQ(lists.join(','), QStringLiteral("8,2,4,10,33,3,2"));
    EXPECT_EQ(Value(Ch(6, "ChOn")), 0);
    Finish();
}

TEST_F(SheetTest, CopiedRowsPasteOnlyIntoTheirOwnFamily) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number(2);
    Set(Ch(2, "CTonRx"), 2023);
    frame.activateWindow();
    Sheet().SelectRow(1);
    frame.FocusSheet();
    QTest::keyClick(Sheet().View(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(QStringLiteral("NQ-Z30LMRClipboadData")));
    EXPECT_EQ(data->data(QStringLiteral("NQ-Z30LMRClipboadData")).size(), 280);

    Sheet().SelectRow(5);
    EXPECT_TRUE(frame.RouteUpdate(cmd::kPaste).enabled);
    QTest::keyClick(Sheet().View(), Qt::Key_V, Qt::ControlModifier);
    for (CNode* field : GetNode(Root(), "Mch.CH2")->Children())
        EXPECT_EQ(Value(Ch(6, field->GetName().c_str())), field->GetValue()) << field->GetName();
    EXPECT_EQ(Sheet().CellText(5, 6), QStringLiteral("023N"));

    // The PMR sheet takes no LMR row, nor a record too short.
    ModalHand hand;
    hand.handler = Answer(QMessageBox::Yes);
    frame.ChangeModel(kPmr16);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kPaste).enabled);
    const QByteArray record = data->data(QStringLiteral("NQ-Z30LMRClipboadData"));
    for (qsizetype size : {qsizetype(279), qsizetype(280)}) {
        auto* pmr = new QMimeData;
        pmr->setData(QStringLiteral("NQ-Z30PMRClipboadData"), record.left(size));
        QGuiApplication::clipboard()->setMimeData(pmr);
        EXPECT_EQ(frame.RouteUpdate(cmd::kPaste).enabled, size == 280);
    }
    Finish();
}

// A record from elsewhere (another program, a radio of another band) may hold what the channel
// cannot: the status bar says what became of it, as after the row editor.
TEST_F(SheetTest, PastedValuesTheChannelCannotHoldAreTold) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    const struct {
        int variant, row;
        const char *rx, *tx;
        bool on;
        const char* status; // "" for nothing told
    } cases[] = {
        {kLmr16, 1, "146.52000", "146.52000", true, ""},
        {kLmr16, 1, "999.000", "999.000", true,
         " CH 2: RX Frequency adjusted to 799.99750 (clamped into range); TX Frequency adjusted "
         "to 799.99750 (clamped into range)"},
        // A frequency that is none: nothing pasted, and it is told.
        {kLmr16, 1, "abc", "146.52", true, " CH 2: RX Frequency \"abc\" not taken (not a number)"},
        {kLmr16, 1, "146.52", "146.52", false, ""}, // an empty channel
        // A row marked "*": stored, though the radio does not use it.
        {kLmr1, 2, "146.5", "146.5", true, " CH 3: stored, the radio does not use that channel"},
    };
    ModalHand hand;
    hand.handler = Answer(QMessageBox::Yes);
    for (const auto& c : cases) {
        frame.ChangeModel(c.variant);
        CChannelRecord record{};
        std::memcpy(record.data(), c.rx, std::strlen(c.rx));
        std::memcpy(record.data() + 50, c.tx, std::strlen(c.tx));
        record[192] = c.on ? 1 : 0; // "ChOn"
        auto* data = new QMimeData;
        data->setData(QString::fromLatin1(kLmrClipboardFormat),
                      QByteArray(reinterpret_cast<const char*>(record.data()), 280));
        QGuiApplication::clipboard()->setMimeData(data);
        frame.SetStatusText(QStringLiteral(" before"));
        Sheet().SelectRow(c.row);
        EXPECT_TRUE(frame.RouteCommand(cmd::kPaste));
        EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
                  QString::fromLatin1(*c.status ? c.status : " before"))
            << c.rx;
    }
    Finish();
}

TEST(ToneEntryCombo, TypedCodeSitsAboveTheFirstEntry) {
    CToneEntryCombo box;
    box.addItems({QStringLiteral("OFF"), QStringLiteral("67.0"), QStringLiteral("69.3")});
    box.show();
    box.clearEditText();
    // The text once the box's put-back timer has run.
    auto settled = [&] {
        QTest::qWait(CToneEntryCombo::kPutBackMs * 2);
        return box.currentText().toStdString();
    };
    QTest::keyClicks(box.lineEdit(), QStringLiteral("023"));
    EXPECT_EQ(box.TypedText(), QStringLiteral("023"));
    const struct {
        Qt::Key key;
        const char* text;
    } keys[] = {{Qt::Key_Up, "023"}, // nothing above a typed code
                {Qt::Key_Down, "OFF"},
                {Qt::Key_Down, "67.0"},
                {Qt::Key_Up, "OFF"},
                {Qt::Key_Up, "023"}}; // back above the first entry
    for (const auto& k : keys) {
        QTest::keyClick(&box, k.key);
        EXPECT_EQ(settled(), k.text);
    }
    // The list closed without a choice gives the typed code back too.
    box.showPopup();
    QTest::qWait(100);
    box.setEditText(QStringLiteral("69.3"));
    box.hidePopup();
    EXPECT_EQ(settled(), "023");
}

namespace {

// The image as the tree holds it now.
std::vector<std::uint8_t> TreeImage(CZ30Doc& doc) {
    doc.GetCloneManager()->TreeToImage();
    return doc.ImageBytes();
}

QStringList AllCells(CListSheet& sheet) {
    QStringList cells;
    for (int row = 0; row < sheet.RowCount(); ++row)
        for (int column = 0; column < sheet.Desc().columns; ++column)
            cells << sheet.CellText(row, column);
    return cells;
}

// A row editor hand: sets the receive (and, when given, transmit) frequency and presses OK.
std::function<bool(QWidget*)> EditFrequencies(const char* rx, const char* tx = nullptr) {
    return [rx, tx](QWidget* w) {
        auto* dialog = qobject_cast<CZ30MchEditDlg*>(w);
        if (!dialog) {
            ModalHand::Click(w, QMessageBox::Ok);
            return true;
        }
        dialog->RxFreq()->setText(QString::fromLatin1(rx));
        if (dialog->FreqSimplex()->isChecked() != !tx) dialog->FreqSimplex()->click();
        if (tx) dialog->TxFreq()->setText(QString::fromLatin1(tx));
        dialog->Buttons()->button(QDialogButtonBox::Ok)->click();
        // A refused text keeps the editor open: leave it.
        if (dialog->isVisible()) dialog->reject();
        return true;
    };
}

} // namespace

TEST_F(SheetTest, EveryCommandUndoesAndRedoesToTheExactImage) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    CZ30Doc& doc = app->Document();
    Number(16);
    Set("Mch.PrioA", 7);
    Set("Mch.PrioB", 16);
    Set("Mch.Emr", 3);
    Set(Ch(3, "RPT"), 5);
    frame.RefreshCurrentSheet();
    doc.SetModifiedFlag(false);
    const std::vector<std::uint8_t> base = TreeImage(doc);
    const QStringList baseCells = AllCells(Sheet());
    // Copy puts a row on the clipboard and changes nothing.
    Sheet().SelectRow(2);
    frame.RouteCommand(cmd::kCopy);
    EXPECT_FALSE(frame.Action(cmd::kUndo)->isEnabled());

    ModalHand hand;
    const struct {
        int row;
        int id;
        const char* label;
    } commands[] = {
        {2, cmd::kEditMemory, "Edit CH 3"},       {5, cmd::kPaste, "Paste CH 6"},
        {1, cmd::kClear, "Clear CH 2"},           {2, cmd::kDelete, "Delete CH 3"},
        {4, cmd::kInsert, "Insert CH 5"},         {3, cmd::kPrioA, "Prio A CH 4"},
        {3, cmd::kPrioB, "Prio B CH 4"},          {3, cmd::kEmergency, "Emergency CH 4"},
        {3, cmd::kEmergencyOff, "Emergency OFF"},
    };
    // The keys of Undo and Redo, taken in turn.
    const QKeySequence undoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Z),
                                     QKeySequence(Qt::ALT | Qt::Key_Backspace)};
    const QKeySequence redoKeys[] = {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    int turn = 0;
    for (const auto& c : commands) {
        const QString label = QString::fromLatin1(c.label);
        hand.handler = c.id == cmd::kEditMemory ? EditFrequencies("146.52", "146.5")
                                                : Answer(QMessageBox::Yes);
        Sheet().SelectRow(c.row);
        ASSERT_TRUE(frame.RouteCommand(c.id)) << c.label;
        const std::vector<std::uint8_t> after = TreeImage(doc);
        const QStringList afterCells = AllCells(Sheet());
        EXPECT_NE(after, base) << c.label;
        EXPECT_NE(afterCells, baseCells) << c.label; // the sheet shows the change
        EXPECT_TRUE(doc.IsModified());
        EXPECT_TRUE(frame.windowTitle().endsWith(QStringLiteral("* - KT-Z30")));
        EXPECT_EQ(frame.Action(cmd::kUndo)->text(), "&Undo " + label + "\tCtrl+Z");

        // Undo: back to the exact image and to the state last saved, so not modified.
        Activate();
        QTest::keySequence(&frame, undoKeys[turn % 2]);
        EXPECT_EQ(TreeImage(doc), base) << c.label;
        EXPECT_EQ(AllCells(Sheet()), baseCells) << c.label;
        EXPECT_FALSE(doc.IsModified()) << c.label;
        EXPECT_EQ(frame.windowTitle(), QStringLiteral("Untitled - KT-Z30"));
        EXPECT_FALSE(frame.Action(cmd::kUndo)->isEnabled());
        EXPECT_EQ(frame.Action(cmd::kRedo)->text(), "&Redo " + label + "\tCtrl+Y");

        // Redo: the command's image again.
        QTest::keySequence(&frame, redoKeys[turn % 2]);
        EXPECT_EQ(TreeImage(doc), after) << c.label;
        EXPECT_EQ(AllCells(Sheet()), afterCells) << c.label;
        EXPECT_TRUE(doc.IsModified());
        frame.Action(cmd::kUndo)->trigger();
        ++turn;
    }
    // Cut does nothing, with or without a step to undo.
    frame.RouteCommand(cmd::kCut);
    EXPECT_EQ(TreeImage(doc), base);
    Finish();
}

TEST_F(SheetTest, ASaveIsTheStateUndoComesBackTo) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    CZ30Doc& doc = app->Document();
    const std::string path =
        (QDir::temp().filePath(QStringLiteral("kt_undo_save.hxq"))).toStdString();
    doc.askSavePath = [&] { return path; };
    Sheet().SelectRow(1);
    ModalHand hand;
    hand.handler = EditFrequencies("146.7");
    frame.RouteCommand(cmd::kEditMemory);
    frame.RouteCommand(cmd::kPrioA);
    frame.RouteCommand(cmd::kSaveAs);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("kt_undo_save.hxq - KT-Z30"));
    const struct {
        int id;
        bool modified;
        const char* letters;
        const char* rx;
    } steps[] = {{cmd::kUndo, true, "", "146.70000"},
                 {cmd::kUndo, true, "", ""},
                 {cmd::kRedo, true, "", "146.70000"},
                 {cmd::kRedo, false, "A", "146.70000"},
                 {cmd::kPrioB, true, "AB", "146.70000"}};
    for (const auto& s : steps) {
        EXPECT_TRUE(frame.RouteCommand(s.id));
        EXPECT_EQ(doc.IsModified(), s.modified) << s.id;
        EXPECT_EQ(frame.windowTitle().contains('*'), s.modified) << s.id;
        EXPECT_EQ(Sheet().CellText(1, 1), QString::fromLatin1(s.letters)) << s.id;
        EXPECT_EQ(Sheet().CellText(1, 3), QString::fromLatin1(s.rx)) << s.id;
    }
    // A step taken after undoing past the save: the saved state is gone from the history.
    frame.RouteCommand(cmd::kUndo);
    frame.RouteCommand(cmd::kUndo);
    frame.RouteCommand(cmd::kEmergency);
    EXPECT_FALSE(frame.Action(cmd::kRedo)->isEnabled());
    frame.RouteCommand(cmd::kUndo);
    frame.RouteCommand(cmd::kRedo);
    EXPECT_TRUE(doc.IsModified());
    // New empties the history.
    doc.SetModifiedFlag(false);
    frame.RouteCommand(cmd::kNew);
    EXPECT_FALSE(frame.Action(cmd::kUndo)->isEnabled());
    EXPECT_FALSE(frame.Action(cmd::kRedo)->isEnabled());
    // A file opened as a new document (a backup) is in no file of the user's: undoing back to
    // it leaves it modified.
    ASSERT_TRUE(app->OpenBackup(QString::fromStdString(path)));
    EXPECT_FALSE(frame.Action(cmd::kUndo)->isEnabled());
    frame.RouteCommand(cmd::kPrioB);
    frame.RouteCommand(cmd::kUndo);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(frame.windowTitle().startsWith(QStringLiteral("Untitled*")));
    std::remove(path.c_str());
    Finish();
}

TEST_F(SheetTest, RowEditorRefusesWhatNoRasterTakesAndTellsWhatItAdjusted) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    CZ30Doc& doc = app->Document();
    Number(3);
    doc.SetModifiedFlag(false);
    const struct {
        const char* rx;
        const char* tx;      // nullptr: Simplex
        const char* warning; // "" when the editor closes
        const char* status;  // "" when nothing was adjusted
    } cases[] = {
        {"abc", nullptr,
         "RX Frequency \"abc\": not a number.\nTX Frequency \"abc\": not a number.\n"
         "The channel is not changed.",
         ""},
        {"146.523", "146.52",
         "RX Frequency \"146.523\": fits no raster.\nThe channel is not changed.", ""},
        {"146.52", "1e400", "TX Frequency \"1e400\": not a number.\nThe channel is not changed.",
         ""},
        {"146.52", "", "TX Frequency \"\": not a number.\nThe channel is not changed.", ""},
        {"146.5", "146.52", "", ""},
        {"146.5201", nullptr, "",
         " CH 2: RX Frequency adjusted to 146.52000 (snapped to the channel raster or the tone "
         "step); TX Frequency adjusted to 146.52000 (snapped to the channel raster or the tone "
         "step)"},
        {"146.52", "146.5201", "",
         " CH 2: TX Frequency adjusted to 146.52000 (snapped to the channel raster or the tone "
         "step)"},
    };
    for (const auto& c : cases) {
        const std::vector<std::uint8_t> before = TreeImage(doc);
        const QString undoBefore = frame.Action(cmd::kUndo)->text();
        frame.SetStatusText(QString());
        ModalHand hand;
        hand.handler = EditFrequencies(c.rx, c.tx);
        Sheet().SelectRow(1);
        frame.RouteCommand(cmd::kEditMemory);
        const QString warning = hand.seen.size() > 1 ? hand.seen[1].section('|', 1) : QString();
        EXPECT_EQ(warning.toStdString(), c.warning) << c.rx;
        if (*c.warning) {
            EXPECT_EQ(TreeImage(doc), before) << c.rx; // nothing stored, no step
            EXPECT_EQ(frame.Action(cmd::kUndo)->text(), undoBefore) << c.rx;
        }
        EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt).toStdString(), c.status)
            << c.rx;
    }
    Finish();
}

// An edit's message on the status bar goes with the next edit (a clean one puts "Ready" back) or
// after a while; Edit > "Last Edit Notes..." still lists what was adjusted. A decimal comma is
// read as the point.
TEST_F(SheetTest, TheNextEditReplacesTheEditMessageAndTheNotesKeepIt) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    Number(3);
    auto status = [&frame] { return frame.StatusBar()->PaneText(CColorStatusBar::kPrompt); };
    const QString snapped = QStringLiteral(" CH 2: RX Frequency adjusted to 146.52000");
    const struct {
        const char* rx;
        QString status;
        const char* cell;
    } cases[] = {
        {"146.5201", snapped, "146.52000"},
        {"146.5", QStringLiteral("Ready"), "146.50000"},
        {"146,5201", snapped, "146.52000"},
        {"146,5", QStringLiteral("Ready"), "146.50000"},
    };
    for (const auto& c : cases) {
        ModalHand hand;
        hand.handler = EditFrequencies(c.rx);
        Sheet().SelectRow(1);
        frame.RouteCommand(cmd::kEditMemory);
        EXPECT_TRUE(status().startsWith(c.status)) << c.rx << ": " << status().toStdString();
        EXPECT_EQ(Sheet().CellText(1, 3).toStdString(), c.cell) << c.rx;
    }
    const QStringList notes = CEditNotes::Instance().Notes();
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].startsWith(snapped.trimmed())) << notes[0].toStdString();
    // The list in its dialog.
    {
        ModalHand look;
        int listed = -1;
        look.handler = [&listed](QWidget* w) {
            if (auto* list = w->findChild<QListWidget*>()) listed = list->count();
            static_cast<QDialog*>(w)->reject();
            return true;
        };
        frame.RouteCommand(cmd::kLastEditNotes);
        EXPECT_EQ(listed, 2);
    }
    // Left alone, the message goes by itself.
    CEditNotes::Instance().showMs = 50;
    ModalHand hand;
    hand.handler = EditFrequencies("146.5201");
    Sheet().SelectRow(1);
    frame.RouteCommand(cmd::kEditMemory);
    EXPECT_EQ(CEditNotes::Instance().Notes().size(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return status() == QStringLiteral("Ready"); }, 2000));
    CEditNotes::Instance().showMs = CEditNotes::kShowMs;
    Finish();
}

// The rows a 1CH or 2CH radio marks "*" are stored like any other, and the status bar says that
// the radio does not use them.
TEST_F(SheetTest, RowsMarkedUnusedAreStoredWithANote) {
    CZ30MainFrame& frame = StartWith(kLmr1);
    CZ30Doc& doc = app->Document();
    for (const auto& [row, command, status, stored] :
         {std::tuple{2, cmd::kEditMemory, " CH 3: stored, the radio does not use that channel",
                     "146.50000"},
          {0, cmd::kEditMemory, "", "146.50000"},
          {2, cmd::kClear, " CH 3: stored, the radio does not use that channel", "0.00000"}}) {
        frame.SetStatusText(QString());
        ModalHand hand;
        hand.handler = EditFrequencies("146.5");
        Sheet().SelectRow(row);
        frame.RouteCommand(command);
        EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt).toStdString(), status);
        doc.GetCloneManager()->ImageToTree(); // what the image holds
        EXPECT_EQ(GetNode(Root(), Ch(row + 1, "FreqRx"))->GetText(), stored) << row;
    }
    Finish();
}
