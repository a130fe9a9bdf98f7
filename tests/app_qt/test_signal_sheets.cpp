// The signalling sheets and dialogs on real widgets: rows and captions, the fields a row lacks,
// codes filtered as typed, the stored decoder windows, and every editor as one undo step.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "params/node_access.h"
#include "views/command_ids.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/message_view.h"
#include "views/signal_form_dlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUndoStack>

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;

class SignalSheetTest : public SheetAppTest {
protected:
    CCloneSupportDoc& Doc() { return app->Document(); }
    std::vector<std::uint8_t> Image() {
        Doc().GetCloneManager()->TreeToImage();
        return Doc().ImageBytes();
    }
    std::string Text(const std::string& path) { return ValueText(*GetNode(Doc().GetRoot(), path)); }
    // Opens the row editor of a sheet row, or a dialog by name, and lets act handle it.
    void Open(int sheet, int row, const char* dialog,
              const std::function<void(CSignalFormDlg&)>& act) {
        ModalHand hand;
        hand.handler = [&](QWidget* w) {
            auto* form = qobject_cast<CSignalFormDlg*>(w);
            if (!form) return false;
            act(*form);
            return true;
        };
        if (dialog) {
            app->MainFrame()->OpenEditor(dialog);
        } else {
            app->MainFrame()->ShowSheet(sheet);
            Sheet().SelectRow(row);
            app->MainFrame()->RouteCommand(cmd::kEditMemory);
        }
        EXPECT_EQ(hand.seen.size(), 1) << sheet << " " << row;
    }
    static void Ok(CSignalFormDlg& form) { form.Buttons()->button(QDialogButtonBox::Ok)->click(); }
    static void SetText(CSignalFormDlg& form, const char* field, const char* text) {
        qobject_cast<QLineEdit*>(form.Field(field))->setText(QString::fromLatin1(text));
    }
    static void Choose(CSignalFormDlg& form, const char* field, const char* text) {
        auto* list = qobject_cast<QComboBox*>(form.Field(field));
        list->setCurrentIndex(list->findText(QString::fromLatin1(text)));
    }
    void Finish() {
        Doc().SetModifiedFlag(false);
        Close();
    }
};

} // namespace

TEST_F(SignalSheetTest, SheetsShowRowsAndCaptionsAndOnlyEditMemory) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    struct Case {
        int variant, sheet, row, column;
        const char* cell;
        const char* caption;
    };
    const Case cases[] = {
        {kLmr16, 3, 3, 1, "-----", "2Tone:RX Code - Group"},
        {kLmr16, 3, 3, 3, "---", "2Tone:RX Code - Group"},
        {kLmr16, 3, 0, 0, "1", "2Tone:RX Code - CH 1"},
        {kPmr16, 4, 3, 1, "-----", "5Tone:RX Code - Group"},
        {kPmr16, 4, 3, 5, "---", "5Tone:RX Code - Group"},
        {kPmr16, 5, 31, 0, "32", "5Tone:TX Code - CH 32"},
        {kPmr16, 6, 9, 3, "-----", "5Tone:Format - DTMF"},
        {kPmr16, 7, 14, 0, "E", "5Tone:User Tone - E"},
    };
    for (const Case& c : cases) {
        ChangeModelTo(c.variant);
        frame.ShowSheet(c.sheet);
        Sheet().SelectRow(c.row);
        EXPECT_EQ(Sheet().CellText(c.row, c.column), QString::fromLatin1(c.cell)) << c.sheet;
        EXPECT_EQ(frame.SheetCaptionPane()->Caption(), QString::fromLatin1(c.caption));
        EXPECT_TRUE(frame.RouteUpdate(cmd::kEditMemory).enabled) << c.sheet;
        for (int id : {cmd::kCopy, cmd::kPaste, cmd::kClear, cmd::kDelete, cmd::kInsert,
                       cmd::kPrioA, cmd::kPrioB, cmd::kEmergency, cmd::kEmergencyOff})
            EXPECT_FALSE(frame.RouteUpdate(id).enabled) << c.sheet << " " << id;
    }
    // The context menu has Undo, Redo and Edit Memory, no row operations.
    QStringList items;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                items << a->text();
            menu->close();
        }
    });
    QContextMenuEvent context(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              Sheet().View()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Sheet().View(), &context);
    EXPECT_EQ(items, (QStringList{QStringLiteral("&Undo\tCtrl+Z"), QStringLiteral("&Redo\tCtrl+Y"),
                                  QString(), QStringLiteral("&Edit Memory...\tEnter")}));
    Finish();
}

TEST_F(SignalSheetTest, RowsWithoutAFieldShowItDisabledAndKeepTheirDashes) {
    StartWith(kLmr16);
    struct Case {
        int variant, sheet, row;
        std::vector<const char*> disabled;
        const char* list; // an enabled list that is changed
        const char* choice;
        int column;
        const char* cell; // afterwards
        const char* label;
    };
    const Case cases[] = {
        {kLmr16, 3, 3, {"1stFreq", "2ndFreq", "Group"}, "Bell", "ON", 1, "-----", "Edit RX Code G"},
        {kPmr16, 4, 3, {"RxCode", "ABC"}, "Bell", "ON", 5, "---", "Edit RX Code G"},
        {kPmr16, 6, 9, {"TonLen"}, nullptr, nullptr, 3, "-----", "Edit Format DTMF"},
    };
    for (const Case& c : cases) {
        ChangeModelTo(c.variant);
        Open(c.sheet, c.row, nullptr, [&](CSignalFormDlg& form) {
            for (const char* field : c.disabled) {
                QWidget* control = form.Field(field);
                ASSERT_NE(control, nullptr) << field;
                EXPECT_FALSE(control->isEnabled()) << field;
                if (auto* edit = qobject_cast<QLineEdit*>(control)) {
                    EXPECT_TRUE(edit->text().isEmpty()) << field;
                }
            }
            if (c.list) Choose(form, c.list, c.choice);
            if (c.sheet == 6) SetText(form, "TonPeriod", "0.060");
            Ok(form);
        });
        EXPECT_EQ(Sheet().CellText(c.row, c.column), QString::fromLatin1(c.cell)) << c.sheet;
        EXPECT_EQ(UndoStackOf(Doc())->undoText(), QString::fromLatin1(c.label));
    }
    Finish();
}

TEST_F(SignalSheetTest, CodesLoseWhatTheyCannotHoldAsTheyAreTyped) {
    StartWith(kPmr16);
    struct Case {
        int sheet;
        const char* field;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {4, "RxCode", "12X+4", "12+4"},        // "X" goes, a wildcard stays
        {4, "RxCode", "123456789", "1234567"}, // seven digits at most
        {4, "RxCode", "1a2bg*", "12*"},        // letters in lower case are none of the code's
        {5, "TxCode", "1+2X*", "12*"},         // no wildcard in a transmit code
        {5, "TxCode", "e1x", "1"},
        {6, "TonPeriod", "0,1a5", "015"}, // numbers only
    };
    for (const Case& c : cases) {
        Open(c.sheet, 0, nullptr, [&](CSignalFormDlg& form) {
            auto* edit = qobject_cast<QLineEdit*>(form.Field(c.field));
            edit->clear();
            QTest::keyClicks(edit, QString::fromLatin1(c.typed));
            EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown)) << c.typed;
            form.reject();
        });
    }
    Finish();
}

TEST_F(SignalSheetTest, TxCodeOpenedAndConfirmedTwiceChangesNothing) {
    StartWith(kLmr16);
    Doc().SetModifiedFlag(false);
    const std::vector<std::uint8_t> before = Image();
    const int steps = UndoStackOf(Doc())->index();
    for (int round = 0; round < 2; ++round)
        Open(0, 0, editor::kTwoToneTxCode, Ok);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(UndoStackOf(Doc())->index(), steps);
    EXPECT_FALSE(Doc().IsModified());
    Finish();
}

TEST_F(SignalSheetTest, EveryEditorIsOneStepThatUndoTakesBackToTheByte) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    struct Case {
        int variant;
        int sheet; // 0 for a dialog
        int row;
        const char* dialog;
        std::function<void(CSignalFormDlg&)> change;
        const char* label;
        std::function<void()> check; // before undo
    };
    const Case cases[] = {
        {kLmr16, 3, 0, nullptr,
         [](CSignalFormDlg& f) {
             SetText(f, "1stFreq", "1000.0");
             SetText(f, "2ndFreq", "1500.0");
         },
         "Edit RX Code 1",
         [&] {
             // Each decoder window centred on its tone: 970-1030 and 1455-1545 Hz.
             const std::vector<std::uint8_t> image = Doc().ImageBytes();
             const std::vector<std::uint8_t> window(image.begin() + 0x013E, image.begin() + 0x0146);
             EXPECT_EQ(window,
                       (std::vector<std::uint8_t>{0x03, 0xCA, 0x04, 0x06, 0x05, 0xAF, 0x06, 0x09}));
             EXPECT_EQ(Sheet().CellText(0, 1), QStringLiteral("1000.00000"));
         }},
        {kLmr16, 0, 0, editor::kTwoToneSetting,
         [](CSignalFormDlg& f) { SetText(f, "NoTonTim", "0.075"); }, "2Tone Setting",
         [&] {
             // An even number of 10 ms steps, and the status bar says so.
             EXPECT_EQ(Text("2ToneCodeCH.RXCodeCom.NoTonTim"), "6");
             EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
                       QStringLiteral(" 2Tone Setting: Notone Timer adjusted to 0.06 s (rounded)"));
         }},
        {kLmr16, 0, 0, editor::kTwoToneTxCode,
         [](CSignalFormDlg& f) {
             auto* group = f.Field("CodeType")->findChildren<QRadioButton*>().value(1);
             group->click();
             EXPECT_FALSE(f.Group("2nd Tone")->isEnabled());
             SetText(f, "1stTonPeriod", "2.5");
         },
         "TX Code", [&] { EXPECT_EQ(Text("2ToneCodeCH.TXCode.CodeType"), "Group"); }},
        {kPmr16, 0, 0, editor::kFiveToneSetting,
         [](CSignalFormDlg& f) { Choose(f, "TxCodeCom.SpcTonGrp", "3"); }, "5Tone Setting",
         [&] { EXPECT_EQ(Text("5ToneCodeCH.TxCodeCom.SpcTonGrp"), "3"); }},
        {kPmr16, 4, 1, nullptr, [](CSignalFormDlg& f) { SetText(f, "RxCode", "1*2"); },
         "Edit RX Code 2",
         [&] {
             // "*" stands for the group tone.
             EXPECT_EQ(Text("5ToneCodeCH.RXCodeCH.CH2.RxCode"),
                       "1" + Text("5ToneCodeCH.TxCodeCom.SpcTonGrp") + "2");
             EXPECT_EQ(Sheet().CellText(1, 1), QStringLiteral("1*2"));
         }},
        {kPmr16, 5, 6, nullptr,
         [](CSignalFormDlg& f) { qobject_cast<QCheckBox*>(f.Field("ABCDec"))->click(); },
         "Edit TX Code 7", [] {}},
        {kPmr16, 6, 2, nullptr, [](CSignalFormDlg& f) { SetText(f, "TonLen", "2.327"); },
         "Edit Format ZVEI1", [&] { EXPECT_EQ(Sheet().CellText(2, 3), QStringLiteral("2.327")); }},
        {kPmr16, 7, 3, nullptr,
         [](CSignalFormDlg& f) {
             qobject_cast<QCheckBox*>(f.Field("Auto"))->click();
             EXPECT_FALSE(f.Group("Decode")->isEnabled());
             SetText(f, "Enc", "1500");
         },
         "Edit User Tone 3", [&] { EXPECT_EQ(Text("5ToneCodeCH.UsrTon.3.Enc"), "1500.00000"); }},
    };
    for (const Case& c : cases) {
        ChangeModelTo(c.variant);
        const std::vector<std::uint8_t> before = Image();
        QUndoStack* undo = UndoStackOf(Doc());
        const int steps = undo->index();
        Open(c.sheet, c.row, c.dialog, [&](CSignalFormDlg& form) {
            c.change(form);
            Ok(form);
        });
        EXPECT_EQ(undo->index(), steps + 1) << c.label;
        EXPECT_EQ(undo->undoText(), QString::fromLatin1(c.label));
        EXPECT_NE(Doc().ImageBytes(), before) << c.label;
        c.check();
        undo->undo();
        EXPECT_EQ(Doc().ImageBytes(), before) << c.label;
    }
    // Cancel runs nothing.
    const int steps = UndoStackOf(Doc())->index();
    Open(7, 0, nullptr, [](CSignalFormDlg& f) {
        SetText(f, "Enc", "2000");
        f.reject();
    });
    EXPECT_EQ(UndoStackOf(Doc())->index(), steps);
    Finish();
}

// What OK stored is what the sheet shows and the image holds, told by the field's label and row
// in its unit; a code keeps its set's characters before its limit cuts it, and an emptied
// receive code keeps its value. The edits say their ranges in tool tips.
TEST_F(SignalSheetTest, OkStoresWhatTheFieldTakesAndTellsItByItsName) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    struct Case {
        int variant, sheet, row, column; // sheet 0: the dialog; column: the field's cell
        const char *dialog, *field, *tip;
        const char *pasted, *shown; // the field's text as a paste replaced it
        const char *path, *stored;  // read back from the image
        const char *cell, *status;  // afterwards
    };
    const Case cases[] = {
        {kPmr16, 4, 1, 1, nullptr, "RxCode", "Up to 7 of ABCDEG0123456789*+", "", "",
         "RXCodeCH.CH2.RxCode", "22222", "22222",
         " CH 2: RX Code \"\" not taken (left empty, the value is kept)"},
        {kPmr16, 4, 0, 1, nullptr, "RxCode", nullptr, "1 2 3 4 5", "12345", "RXCodeCH.CH1.RxCode",
         "12345", "12345", ""},
        {kPmr16, 4, 0, 1, nullptr, "RxCode", nullptr, "12#xyz 9+G", "129+G", "RXCodeCH.CH1.RxCode",
         "129+A", "129+*", ""},
        {kPmr16, 5, 0, 1, nullptr, "TxCode", "Up to 7 of ABCDEG0123456789*", "1-2-3-4-5-6-7-8-9",
         "1234567", "TXCodeCH.CH1.TxCode", "1234567", "1234567", ""},
        {kPmr16, 6, 9, 2, nullptr, "NoTonTim", "0.02 to 0.30 s", "0.050", "0.050",
         "Format.DTMF.NoTonTim", "6", "0.060",
         " DTMF: Notone Timer adjusted to 0.06 s (as the radio stores it)"},
        {kLmr16, 3, 1, 1, nullptr, "1stFreq", "250 to 3300.2 Hz", "1500.3", "1500.3",
         "RXCodeCH.CH2.1stFreq", "1500.50000", "1500.50000",
         " CH 2: 1st Frequency adjusted to 1500.5 Hz (centred in its decode window)"},
        {kLmr16, 3, 1, 1, nullptr, "1stFreq", nullptr, "3300.2", "3300.2", "RXCodeCH.CH2.1stFreq",
         "3300.00000", "3300.00000",
         " CH 2: 1st Frequency adjusted to 3300 Hz (centred in its decode window)"},
        {kLmr16, 0, 0, 0, editor::kTwoToneSetting, "BeepRepTim", "0 to 60 s", "61", "61",
         "RXCodeCom.BeepRepTim", "60", nullptr,
         " 2Tone Setting: Beep Repeat Timer adjusted to 60 s (clamped into range)"},
    };
    for (const Case& c : cases) {
        if (Doc().GetVariant() != c.variant) ChangeModelTo(c.variant);
        frame.SetStatusText(QString());
        QString shown, tip;
        Open(c.sheet, c.row, c.dialog, [&](CSignalFormDlg& form) {
            auto* edit = qobject_cast<QLineEdit*>(form.Field(c.field));
            tip = edit->toolTip();
            edit->clear();
            QGuiApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
            edit->paste();
            shown = edit->text();
            Ok(form);
        });
        const std::string what = std::string(c.field) + " " + c.pasted;
        EXPECT_TRUE(!c.tip || tip.toStdString() == c.tip) << what << ": " << tip.toStdString();
        EXPECT_EQ(shown.toStdString(), c.shown) << what;
        const QString cell = c.cell ? Sheet().CellText(c.row, c.column) : QString();
        EXPECT_TRUE(!c.cell || cell.toStdString() == c.cell) << what << ": " << cell.toStdString();
        EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt).toStdString(), c.status)
            << what;
        Doc().GetCloneManager()->TreeToImage();
        Doc().GetCloneManager()->ImageToTree();
        EXPECT_EQ(
            Text((c.variant == kPmr16 ? "5ToneCodeCH." : "2ToneCodeCH.") + std::string(c.path)),
            c.stored)
            << what;
    }
    // A note longer than the bar ends in "..." there and is told whole in the tool tip.
    frame.resize(360, 400);
    QApplication::processEvents();
    const QLabel* pane = frame.StatusBar()->PaneLabel(CColorStatusBar::kPrompt);
    EXPECT_TRUE(pane->text().endsWith(QChar(0x2026))) << pane->text().toStdString();
    EXPECT_EQ(pane->toolTip(), frame.StatusBar()->PaneText(CColorStatusBar::kPrompt));
    Finish();
}
