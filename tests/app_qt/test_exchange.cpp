// The File menu's exchange with the rest of a shop, on real widgets: a channel list imported as one
// undo step with its report, exported, and new documents from the stock configurations.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "app/qt/csv_import_dlg.h"
#include "app/qt/csv_report_dlg.h"
#include "app/qt/exchange_cmds.h"
#include "params/node_access.h"
#include "sheets/channel_csv.h"
#include "sheets/channel_ops.h"
#include "tests/support/file_text.h"
#include "views/command_ids.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUndoStack>

namespace {

constexpr int kPmr16 = 5;

class ExchangeTest : public SheetAppTest {
protected:
    CZ30Doc& Doc() { return app->Document(); }
    int Value(const std::string& path) { return GetNode(Doc().GetRoot(), path)->GetValue(); }
    static std::string Ch(int n, const char* field) {
        return "Mch.CH" + std::to_string(n) + "." + field;
    }
    QString Status() { return app->MainFrame()->StatusBar()->PaneText(CColorStatusBar::kPrompt); }
    // The report the import shows: its summary and its notes, row by row.
    struct CSeen {
        QString summary;
        QStringList notes;
    };
    CSeen Import(const std::string& csv) {
        const QString path = dir.filePath(QStringLiteral("in.csv"));
        WriteAll(path.toStdString(), csv);
        app->Exchange()->askImportPath = [path] { return path; };
        CSeen seen;
        ModalHand hand;
        hand.handler = [&seen, this](QWidget* w) {
            if (auto* options = qobject_cast<CCsvImportDlg*>(w)) {
                if (chooseRows) chooseRows(options);
                if (options->isVisible()) options->accept();
                return true;
            }
            auto* report = qobject_cast<CCsvReportDlg*>(w);
            if (!report) return false;
            seen.summary = report->Summary()->text();
            for (int r = 0; report->Notes()->isVisible() && r < report->Notes()->rowCount(); ++r)
                seen.notes << report->Notes()->item(r, 0)->text() + "|" +
                                  report->Notes()->item(r, 1)->text() + "|" +
                                  report->Notes()->item(r, 2)->text();
            report->accept();
            return true;
        };
        EXPECT_TRUE(app->MainFrame()->RouteCommand(cmd::kImportChannels));
        return seen;
    }
    QTemporaryDir dir;
    std::function<void(CCsvImportDlg*)> chooseRows; // what the import dialog is given
};

const std::string kHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                            "DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,"
                            "Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

} // namespace

TEST_F(ExchangeTest, ImportIsOneUndoStepWithItsReport) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Doc().GetCloneManager()->TreeToImage();
    const std::vector<std::uint8_t> before = Doc().ImageBytes();
    const CSeen seen = Import(kHeader + "3,,446.031250,,,TSQL,,94.8,,,,,NFM,,,,,,,,\r\n"
                                        "4,,446.0437,,,,,,,,,,NFM,,,,,,,,\r\n"
                                        "17,,446.0,,,,,,,,,,FM,,,,,,,,\r\n");
    EXPECT_EQ(seen.summary.section(QStringLiteral("<br>"), 0, 0),
              "in.csv: 2 channels imported (CH 3, 4), 1 row skipped, 1 row adjusted.");
    EXPECT_EQ(seen.notes,
              QStringList({"3|Frequency|446.043700 MHz snapped to 446.043750 MHz; adjusted",
                           "4|Location|channel 17: this radio has 16 channels; row skipped"}));
    EXPECT_EQ(Status(),
              " 2 channels imported (CH 3, 4), 1 row skipped, 1 row adjusted from in.csv.");
    EXPECT_EQ(Value(Ch(3, "ChOn")), 1);
    EXPECT_EQ(Value(Ch(3, "CTonRx")), 11);
    EXPECT_EQ(Value(Ch(4, "FreqRx")), 446043750);
    // The sheet shows the imported channels.
    EXPECT_EQ(Sheet().Model()->index(2, 3).data().toString(), "446.03125");
    // One step on the undo stack takes all of it back to the byte.
    QUndoStack* undo = UndoStackOf(Doc());
    ASSERT_EQ(undo->count(), 1);
    EXPECT_EQ(undo->undoText(), "Import Channels");
    frame.RouteCommand(cmd::kUndo);
    Doc().GetCloneManager()->TreeToImage();
    EXPECT_EQ(Doc().ImageBytes(), before);
    EXPECT_EQ(Sheet().Model()->index(2, 3).data().toString(), "");

    // A file that is no channel list: a warning, and no step.
    ModalHand hand;
    hand.handler = [](QWidget* w) {
        if (auto* options = qobject_cast<CCsvImportDlg*>(w)) options->accept();
        return qobject_cast<CCsvImportDlg*>(w) != nullptr;
    };
    WriteAll(dir.filePath("in.csv").toStdString(), "Name,Frequency\r\nx,446.0\r\n");
    frame.RouteCommand(cmd::kImportChannels);
    ASSERT_EQ(hand.seen.size(), 2);
    EXPECT_TRUE(hand.seen[1].contains("Nothing was imported from in.csv:\nthe file has no "
                                      "Location column"))
        << hand.seen[1].toStdString();
    EXPECT_EQ(undo->count(), 1);
    Doc().SetModifiedFlag(false);
    Close();
}

TEST_F(ExchangeTest, ExportWritesTheChannelsInUse) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    Import(kHeader +
           "1,,446.006250,,,,,,,,,,NFM,,,,,,,,\r\n2,,446.018750,,,,,,,,,,NFM,,,,,,,,\r\n");
    const QString path = dir.filePath(QStringLiteral("out"));
    app->Exchange()->askExportPath = [path] { return path; };
    EXPECT_TRUE(frame.RouteCommand(cmd::kExportChannels));
    EXPECT_EQ(ReadAll(path.toStdString()), ExportChannelCsv(Doc().GetRoot(), kPmr16));
    EXPECT_TRUE(ReadAll(path.toStdString()).find("\r\n2,,446.018750,") != std::string::npos);
    EXPECT_EQ(Status(), " 2 channels exported to out.");
    Doc().SetModifiedFlag(false);
    Close();
}

TEST_F(ExchangeTest, NewFromTemplateIsAnUntitledDocumentOfTheTemplatesVariant) {
    CZ30MainFrame& frame = StartWith(0);
    QMenu* menu = frame.TemplateMenu();
    ASSERT_TRUE(menu->isEnabled());
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    EXPECT_EQ(texts.size(), 4);
    EXPECT_EQ(
        texts,
        QStringList({"PMR446 analogue channels (PMR 1CH)", "PMR446 analogue channels (PMR 2CH)",
                     "PMR446 analogue channels (PMR 16CH)", "PMR446 16-channel plan (PMR 16CH)"}));
    const auto& templates = app->Exchange()->Templates();
    const auto eight = std::find_if(templates.begin(), templates.end(), [](const CTemplate& t) {
        return t.name == "pmr446" && t.variant == kPmr16;
    });
    ASSERT_NE(eight, templates.end());
    // A modified document is offered for saving first; No goes on.
    Doc().SetModifiedFlag(true);
    ModalHand hand;
    hand.handler = [](QWidget* box) {
        ModalHand::Click(box, QMessageBox::No);
        return true;
    };
    menu->actions().at(static_cast<int>(eight - templates.begin()))->trigger();
    ASSERT_EQ(hand.seen.size(), 1);
    EXPECT_TRUE(hand.seen[0].contains("Save changes to")) << hand.seen[0].toStdString();
    EXPECT_EQ(Doc().GetVariant(), kPmr16);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(Doc().GetPathName().empty());
    EXPECT_EQ(UndoStackOf(Doc())->count(), 0);
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(Value(Ch(n, "ChOn")), n <= 8 ? 1 : 0) << n;
    EXPECT_EQ(Value(Ch(8, "FreqRx")), 446093750);
    EXPECT_EQ(Value(Ch(8, "WidNar")), 1);
    EXPECT_EQ(Sheet().Model()->rowCount(), 16);
    EXPECT_TRUE(Status().startsWith(" New document from the template PMR446"))
        << Status().toStdString();
    Close();
}

// The import dialog's two choices: renumbering in file order, and a range of Locations.
TEST_F(ExchangeTest, ImportDialogRenumbersAndTakesARangeOfLocations) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    const std::string list = "# CHIRP\r\nLocation,Name,Frequency\r\n0,Call,446.00625\r\n"
                             "1,,446.01875\r\n# next\r\n7,,446.03125\r\n9,,446.04375\r\n";
    struct Case {
        bool renumber, range;
        int first, last;
        QString summary;
        std::vector<int> freqOf1To4And7; // kHz, 0 for off
    };
    const Case cases[] = {
        {true,
         false,
         0,
         0,
         "in.csv: 4 channels imported (CH 1 to 4).",
         {446006, 446018, 446031, 446043, 0}},
        {false,
         true,
         1,
         7,
         "in.csv: 2 channels imported (CH 1, 7), 2 rows outside the locations.",
         {446018, 0, 0, 0, 446031}},
        {true,
         true,
         1,
         9,
         "in.csv: 3 channels imported (CH 1 to 3), 1 row outside the locations.",
         {446018, 446031, 446043, 0, 0}},
    };
    for (const Case& c : cases) {
        chooseRows = [&c](CCsvImportDlg* d) {
            d->Renumber()->setChecked(c.renumber);
            d->Range()->setChecked(c.range);
            d->Last()->setValue(c.last);
            d->First()->setValue(c.first);
        };
        const CSeen seen = Import(list);
        EXPECT_EQ(seen.summary.section(QStringLiteral("<br>"), 0, 0), c.summary);
        EXPECT_EQ(seen.summary.contains("Note: the radio stores no channel names"), !c.range)
            << c.summary.toStdString();
        std::vector<int> got;
        for (int n : {1, 2, 3, 4, 7})
            got.push_back(Value(Ch(n, "ChOn")) ? Value(Ch(n, "FreqRx")) / 1000 : 0);
        EXPECT_EQ(got, c.freqOf1To4And7) << c.summary.toStdString();
        frame.RouteCommand(cmd::kUndo);
    }
    // Cancel imports nothing.
    const int steps = UndoStackOf(Doc())->count();
    chooseRows = [](CCsvImportDlg* d) { d->reject(); };
    Import(list);
    EXPECT_EQ(UndoStackOf(Doc())->count(), steps);
    Doc().SetModifiedFlag(false);
    Close();
}
