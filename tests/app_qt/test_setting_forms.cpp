// The settings forms on real widgets, opened from their tree items: the pages of "Common
// Setting", "Scan Setting", "DTMF Autodial" and "Maker Reserved"; what OK writes into the image,
// what Cancel leaves, the undo step and the status line.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "clone/model_manager.h"
#include "params/node_access.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"
#include "views/setting_dlg.h"
#include "views/tree_items.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;
using Bytes = std::vector<std::uint8_t>;

// The page shown by a form: the current page of "Common Setting", the page of a dialog.
CFormPage* ShownPage(QWidget* form) {
    if (auto* sheet = qobject_cast<CCommonSettingSheet*>(form))
        return sheet->Page(sheet->Tabs()->currentIndex());
    if (auto* dialog = qobject_cast<CSettingDlg*>(form)) return dialog->Page();
    return nullptr;
}

template <class W> W* ControlOf(QWidget* form, const char* path) {
    CFormPage* page = ShownPage(form);
    return page ? qobject_cast<W*>(page->Control(path)) : nullptr;
}

class FormTest : public AppTest {
protected:
    CZ30MainFrame& StartWith(int variant, bool makerReserve = false) {
        Platform().settings->SetInt("Model", "ModelVer", variant);
        CZ30MainFrame& frame = Start();
        if (makerReserve) {
            Doc().GetCloneManager()->GetModelManager()->SetMakerReserve(true);
            frame.RebuildTree();
        }
        return frame;
    }
    CCloneSupportDoc& Doc() { return app->Document(); }
    CNode* Node(const std::string& path) { return GetNode(Doc().GetRoot(), path); }
    // Sets values as a loaded file would hold them: image and tree, the document unmodified.
    void Prepare(const std::function<void(CNode& root)>& change) {
        Doc().Edit("prepare", [&](CNode& root, CEditReport&) { change(root); });
        Doc().SetModifiedFlag(false);
    }
    // Activates the tree item; act works on the form that opens and returns true for OK.
    // Returns the title of the window that opened ("" for none).
    QString Open(int code, const std::function<bool(QWidget*)>& act) {
        ModalHand hand;
        hand.handler = [&](QWidget* form) {
            auto* dialog = qobject_cast<QDialog*>(form);
            if (!dialog) return false;
            if (act(form))
                dialog->accept();
            else
                dialog->reject();
            return true;
        };
        CZ30TreeView* tree = app->MainFrame()->Tree();
        EXPECT_TRUE(tree->FindCode(code)) << code;
        emit tree->itemActivatedCode(code);
        return hand.seen.value(0);
    }
    QUndoStack& Undo() { return *UndoStackOf(Doc()); }
    void Finish() {
        Doc().SetModifiedFlag(false);
        Close();
    }
};

// The addresses at which two images differ.
std::vector<int> Differences(const Bytes& a, const Bytes& b) {
    std::vector<int> at;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) at.push_back(static_cast<int>(i));
    return at;
}

} // namespace

TEST_F(FormTest, CommonSettingOpensOnTheItemsPageAndOnlyVisitedPagesWrite) {
    StartWith(kLmr16);
    // A comment with DEL (kept by the image, not by the page's filter): a Common 1 page that
    // writes shows itself in the comment bytes.
    Prepare([](CNode& root) {
        GetNode(&root, "CommonSet.Common1.Comment1")
            ->SetText("A\x7f"
                      "B");
    });
    using namespace treecode;
    const int items[] = {kKeyDisplay, kCommon1, kCommon2, kExpert};
    for (int page = 0; page < 4; ++page) {
        int shown = -1;
        EXPECT_EQ(Open(items[page],
                       [&](QWidget* form) {
                           auto* sheet = qobject_cast<CCommonSettingSheet*>(form);
                           shown = sheet ? sheet->Tabs()->currentIndex() : -2;
                           return false;
                       }),
                  QStringLiteral("Common Setting"));
        EXPECT_EQ(shown, page);
    }

    const struct {
        std::vector<int> visits; // tabs clicked before OK
        std::vector<int> changed;
    } cases[] = {{{}, {0x0096}}, {{1, 2}, {0x0096, 0x0101, 0x0102}}, {{0, 3, 2}, {0x0096}}};
    for (const auto& c : cases) {
        const Bytes before = Doc().ImageBytes();
        const int steps = Undo().count();
        Open(kCommon2, [&](QWidget* form) {
            auto* sheet = qobject_cast<CCommonSettingSheet*>(form);
            for (int tab : c.visits)
                sheet->Tabs()->setCurrentIndex(tab);
            auto* edit = ControlOf<QLineEdit>(form, "LckOutPenTim");
            edit->setText(QString::number(before[0x0096] + 1));
            return true;
        });
        EXPECT_EQ(Differences(before, Doc().ImageBytes()), c.changed) << c.visits.size();
        EXPECT_EQ(Undo().count(), steps + 1);
        EXPECT_EQ(Undo().undoText(), QStringLiteral("Common Setting"));
        EXPECT_TRUE(Doc().IsModified());
    }
    Finish();
}

TEST_F(FormTest, CancelOnEveryFormLeavesImageAndModifiedFlag) {
    CZ30MainFrame& frame = StartWith(kPmr16, true);
    using namespace treecode;
    const struct {
        int code;
        const char* edit; // a field changed before Cancel
        const char* title;
    } forms[] = {{kKeyDisplay, "RFPwrSel", "Common Setting"},
                 {kCommon1, "SqlLvl", "Common Setting"},
                 {kCommon2, "RevBurst", "Common Setting"},
                 {kExpert, "BeepFreqL", "Common Setting"},
                 {kMakerReserved, "DtcsDec", "Maker Reserved"},
                 {kDtmfAutodial, "DTMFDial.AD1.Code", "DTMF Autodial"},
                 {kScanSetting, "StopTim", "Scan Setting"}};
    for (bool modified : {false, true}) {
        Doc().SetModifiedFlag(modified);
        const Bytes before = Doc().ImageBytes();
        for (const auto& f : forms) {
            bool found = false;
            EXPECT_EQ(Open(f.code,
                           [&](QWidget* form) {
                               CFormPage* page = ShownPage(form);
                               QWidget* control = page ? page->Control(f.edit) : nullptr;
                               found = control != nullptr;
                               if (auto* edit = qobject_cast<QLineEdit*>(control))
                                   edit->setText(QStringLiteral("77"));
                               if (auto* list = qobject_cast<QComboBox*>(control))
                                   list->setCurrentIndex(1 - list->currentIndex());
                               return false;
                           }),
                      QString::fromUtf8(f.title));
            EXPECT_TRUE(found) << f.edit;
            EXPECT_EQ(Doc().ImageBytes(), before) << f.title;
            EXPECT_EQ(Doc().IsModified(), modified) << f.title;
            EXPECT_EQ(Undo().count(), 0);
        }
    }
    // Without maker reserve the maker form does not open, even when asked for by name.
    Doc().GetCloneManager()->GetModelManager()->SetMakerReserve(false);
    ModalHand hand;
    const EditorOpener* maker = FindEditor(editor::kMakerReserved);
    ASSERT_TRUE(maker);
    EXPECT_FALSE((*maker)(&frame, Doc(), 0));
    EXPECT_TRUE(hand.seen.isEmpty());
    Finish();
}

TEST_F(FormTest, TimerOffRoundTripAndAdjustedValuesShownAsStored) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Prepare([](CNode& root) { GetNode(&root, "CommonSet.Common1.AutoResTimA")->SetValue(0); });
    const struct {
        const char* shown; // when the page opens
        const char* typed; // null: left as shown
        int stored;
        bool step;
    } cases[] = {{"OFF", nullptr, 0, false},
                 {"OFF", "12", 12, true},
                 {"12.000", "300", 255, true},
                 {"255.000", "OFF", 0, true},
                 {"OFF", "off", 0, false}};
    for (const auto& c : cases) {
        const int steps = Undo().count();
        QString shown, tip;
        Open(treecode::kCommon1, [&](QWidget* form) {
            auto* edit = ControlOf<QLineEdit>(form, "AutoResTimA");
            shown = edit->text();
            tip = edit->toolTip();
            if (c.typed) edit->setText(QString::fromUtf8(c.typed));
            return true;
        });
        EXPECT_EQ(shown, QString::fromUtf8(c.shown));
        EXPECT_EQ(tip, QStringLiteral("1 to 255 s; OFF = 0"));
        EXPECT_EQ(Node("CommonSet.Common1.AutoResTimA")->GetValue(), c.stored);
        EXPECT_EQ(Undo().count(), steps + (c.step ? 1 : 0)) << c.typed;
        if (c.stored == 255) {
            EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
                      QStringLiteral("Adjusted: Auto Reset Timer A 255 s"));
        }
    }
    // The clean edit after it took the message away.
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt), QStringLiteral("Ready"));
    Finish();
}

TEST_F(FormTest, CodesAndCommentsDropWhatTheRadioCannotHold) {
    StartWith(kPmr16);
    QString code, comment;
    int caret = -1;
    Open(treecode::kDtmfAutodial, [&](QWidget* form) {
        auto* edit = ControlOf<QLineEdit>(form, "DTMFDial.AD1.Code");
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("12#x"));
        code = edit->text();
        return true;
    });
    EXPECT_EQ(code, QStringLiteral("12#"));
    EXPECT_EQ(Node("DTMFAutoD.DTMFDial.AD1.Code")->GetText(), "12#");
    // Letters in lower case are none of the DTMF digits: removed, not converted.
    Open(treecode::kDtmfAutodial, [&](QWidget* form) {
        auto* edit = ControlOf<QLineEdit>(form, "DTMFDial.AD1.Code");
        edit->setCursorPosition(1);
        QTest::keyClicks(edit, QStringLiteral("azDd"));
        code = edit->text();
        caret = edit->cursorPosition();
        return true;
    });
    EXPECT_EQ(code, QStringLiteral("1D2#"));
    EXPECT_EQ(caret, 2);
    EXPECT_EQ(Node("DTMFAutoD.DTMFDial.AD1.Code")->GetText(), "1D2#");
    // A paste loses what the field does not take before the field's length is counted.
    Open(treecode::kDtmfAutodial, [&](QWidget* form) {
        auto* edit = ControlOf<QLineEdit>(form, "DTMFDial.AD1.Code");
        edit->selectAll();
        QGuiApplication::clipboard()->setText(
            QStringLiteral("1-2-3-4-5-6-7-8-9-0-1-2-3-4-5-6-7-8-9-0-1-2-3-4-5"));
        edit->paste();
        return true;
    });
    Doc().GetCloneManager()->ImageToTree(); // what the image holds
    EXPECT_EQ(Node("DTMFAutoD.DTMFDial.AD1.Code")->GetText(), "123456789012345678901234");

    Open(treecode::kCommon1, [&](QWidget* form) {
        auto* edit = ControlOf<QLineEdit>(form, "Comment1");
        edit->setText(QStringLiteral("ABCD"));
        edit->setCursorPosition(2);
        QTest::keyClicks(edit, QStringLiteral("x"));
        edit->insert(QString::fromUtf8("\xc3\xa9\x7f")); // as a paste would
        QTest::keyClicks(edit, QStringLiteral("y"));
        comment = edit->text();
        caret = edit->cursorPosition();
        return true;
    });
    EXPECT_EQ(comment, QStringLiteral("ABxyCD"));
    EXPECT_EQ(caret, 4);
    EXPECT_EQ(Node("CommonSet.Common1.Comment1")->GetText(), "ABxyCD");
    Finish();
}

TEST_F(FormTest, KeyListsShowMoniAndStoreItBack) {
    for (int variant : {kLmr16, kPmr16}) {
        StartWith(variant);
        Prepare([](CNode& root) {
            CNode* keys = GetNode(&root, "CommonSet.KeyDisp");
            SetValueByName(keys, "KeyF0Conv", 14); // Moni(Audi)
            SetValueByName(keys, "KeyF1Conv", 7);  // Prio A
            SetValueByName(keys, "KeyF2Conv", 49); // no text
            SetValueByName(keys, "KeyMicAConv", 0);
        });
        const QString moni =
            variant == kPmr16 ? QStringLiteral("Moni(Audi)") : QStringLiteral("Moni");
        QString red, upper;
        int lower = 0, entries = 0;
        Open(treecode::kKeyDisplay, [&](QWidget* form) {
            red = ControlOf<QComboBox>(form, "KeyF0Conv")->currentText();
            upper = ControlOf<QComboBox>(form, "KeyF1Conv")->currentText();
            lower = ControlOf<QComboBox>(form, "KeyF2Conv")->currentIndex();
            auto* micA = ControlOf<QComboBox>(form, "KeyMicAConv");
            entries = micA->count();
            micA->setCurrentIndex(micA->findText(moni));
            return true;
        });
        EXPECT_EQ(red, moni);
        EXPECT_EQ(upper, QStringLiteral("Prio A"));
        EXPECT_EQ(lower, -1);
        EXPECT_EQ(entries, variant == kPmr16 ? 22 : 20);
        CNode* keys = Node("CommonSet.KeyDisp");
        EXPECT_EQ(GetValueByName(keys, "KeyF0Conv"), 14);
        EXPECT_EQ(GetValueByName(keys, "KeyF1Conv"), 7);
        EXPECT_EQ(GetValueByName(keys, "KeyF2Conv"), 49);
        EXPECT_EQ(GetValueByName(keys, "KeyMicAConv"), 14);
        EXPECT_EQ(Doc().ImageBytes()[0x00A1], 14);
        Finish();
    }
}

TEST_F(FormTest, FieldsOfTheOtherFamilyAreDisabled) {
    using namespace treecode;
    const struct {
        int variant, code;
        const char* path;
        bool enabled;
        const char* label; // of the control or its label
    } cases[] = {
        {kLmr16, kCommon1, "InATim", false, "Inactive Timer"},
        {kPmr16, kCommon1, "InATim", true, "Inactive Timer"},
        {kLmr16, kCommon1, "IdOut", true, "ID Out (DTMF)"},
        {kPmr16, kCommon1, "IdOut", true, "ID Out"},
        {kLmr16, kScanSetting, "AutChCal", false, "Auto CH Call"},
        {kPmr16, kScanSetting, "AutChCal", true, "Auto CH Call"},
        {kPmr16, kDtmfAutodial, "DTMFDial.AD2.Code", false, "Emergency"},
        {kPmr16, kDtmfAutodial, "DTMFDial.AD3.Code", false, "Log / ID"},
        {kLmr16, kDtmfAutodial, "DTMFDial.AD3.Code", true, "Log / ID"},
        {kPmr16, kDtmfAutodial, "DTMFDial.AD1.Code", true, "Autodial 1"},
    };
    for (const auto& c : cases) {
        StartWith(c.variant);
        Prepare([](CNode& root) { GetNode(&root, "ScanList.ScanCom.AutChCal")->SetValue(1); });
        bool enabled = !c.enabled, labelEnabled = !c.enabled, checked = false;
        QString label;
        Open(c.code, [&](QWidget* form) {
            CFormPage* page = ShownPage(form);
            QWidget* control = page->Control(c.path);
            enabled = control->isEnabled();
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                label = box->text();
                labelEnabled = enabled;
                checked = box->isChecked();
            } else {
                label = qobject_cast<QLabel*>(page->LabelOf(c.path))->text();
                labelEnabled = page->LabelOf(c.path)->isEnabled();
            }
            return false;
        });
        EXPECT_EQ(enabled, c.enabled) << c.path << c.variant;
        EXPECT_EQ(labelEnabled, c.enabled) << c.path << c.variant;
        EXPECT_EQ(label, QString::fromUtf8(c.label));
        if (std::string_view(c.path) == "AutChCal") {
            EXPECT_TRUE(checked); // the stored value
        }
        Finish();
    }
}

TEST_F(FormTest, OneUndoOfAPageOkRestoresTheExactImage) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    const Bytes before = Doc().ImageBytes();
    QStringList tabs;
    Open(treecode::kExpert, [&](QWidget* form) {
        auto* sheet = qobject_cast<CCommonSettingSheet*>(form);
        for (int i = 0; i < sheet->Tabs()->count(); ++i)
            tabs << sheet->Tabs()->tabText(i);
        ControlOf<QLineEdit>(form, "BeepFreqH")->setText(QStringLiteral("2900"));
        ControlOf<QLineEdit>(form, "FastScnTim")->setText(QStringLiteral("0.123"));
        return true;
    });
    EXPECT_EQ(tabs,
              QStringList({QStringLiteral("Key && Display Assign  "), QStringLiteral("Common 1"),
                           QStringLiteral("Common 2"), QStringLiteral("Expert")}));
    EXPECT_EQ(frame.StatusBar()->PaneText(CColorStatusBar::kPrompt),
              QStringLiteral("Adjusted: High Beep Frequency 2880 Hz"));
    EXPECT_EQ(Differences(before, Doc().ImageBytes()), std::vector<int>({0x0071, 0x0080}));
    QString shown;
    Open(treecode::kExpert, [&](QWidget* form) {
        shown = ControlOf<QLineEdit>(form, "BeepFreqH")->text();
        return false;
    });
    EXPECT_EQ(shown, QStringLiteral("2880.00000"));

    ASSERT_EQ(Undo().count(), 1);
    Undo().undo();
    EXPECT_EQ(Doc().ImageBytes(), before);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_EQ(Node("CommonSet.Expert.FastScnTim")->GetValue(), before[0x0080]);
    Undo().redo();
    EXPECT_EQ(Differences(before, Doc().ImageBytes()), std::vector<int>({0x0071, 0x0080}));
    Finish();
}
