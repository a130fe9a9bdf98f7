// Printing from the program: File > Print, Print Preview and Export PDF after the "Print"
// dialog, on a printer, in the preview and into a PDF file, the sheet shown left as it was.
#include "app_fixture.h"

#include "app/qt/color_status_bar.h"
#include "clone/model_manager.h"
#include "tests/support/file_text.h"
#include "views/command_ids.h"
#include "views/message_view.h"
#include "views/print_commands.h"
#include "views/print_dlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <vector>

namespace {

constexpr int kLmr16 = 4, kPmr16 = 5;
using Box = CPrintSelectDlg::Box;

class PrintTest : public SheetAppTest {
protected:
    CPrintCommands& Printing() { return *app->Printing(); }
    // What the user sees of the sheet shown.
    struct CShown {
        int sheet;
        QString caption, suffix;
        int row;
        bool operator==(const CShown&) const = default;
    };
    CShown Shown() {
        CZ30MainFrame& frame = *app->MainFrame();
        return {frame.CurrentSheetIndex(), frame.SheetCaptionPane()->Text(),
                frame.SheetCaptionPane()->Suffix(), Sheet().SelectedRow()};
    }
    QString Status() { return app->MainFrame()->StatusBar()->PaneText(0); }
    QTemporaryDir dir;
};

// The "Print" dialog answered with these boxes checked (and no other), then OK.
bool Choose(QWidget* window, const std::vector<Box>& boxes) {
    auto* dialog = qobject_cast<CPrintSelectDlg*>(window);
    if (!dialog) return false;
    for (int b = 0; b < CPrintSelectDlg::kBoxes; ++b)
        dialog->BoxAt(Box(b))->setChecked(std::find(boxes.begin(), boxes.end(), b) != boxes.end());
    dialog->accept();
    return true;
}

} // namespace

TEST_F(PrintTest, PrintingAndExportLeaveTheSheetAsItWasAndKeepTheBoxes) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    frame.ShowSheet(4); // 5Tone:RX Code, which the job prints too
    Sheet().SelectRow(2);
    const CShown before = Shown();
    ASSERT_EQ(before.row, 2);
    ModalHand hand;
    hand.handler = [](QWidget* w) {
        if (w->objectName() == QStringLiteral("NowPrinting")) return true; // runs by itself
        return Choose(w, {Box::MemoryCh, Box::Signalling});
    };

    const QString exported = dir.filePath(QStringLiteral("export.pdf"));
    QString suggested;
    Printing().askPdfPath = [&](const QString& s) {
        suggested = s;
        return exported;
    };
    frame.RouteCommand(cmd::kExportPdf);
    EXPECT_TRUE(QFileInfo(exported).size() > 0);
    EXPECT_TRUE(suggested.endsWith(QStringLiteral(".pdf"))) << suggested.toStdString();
    EXPECT_EQ(Shown(), before);

    // A printer chosen under "Printer Setting" (here one that writes a PDF).
    const QString printed = dir.filePath(QStringLiteral("printer.pdf"));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printed);
    Printing().SetPrinter(std::move(printer));
    frame.RouteCommand(cmd::kPrint);
    EXPECT_TRUE(QFileInfo(printed).size() > 0);
    EXPECT_TRUE(Status().startsWith(QStringLiteral(" Printed "))) << Status().toStdString();
    EXPECT_EQ(Printing().Printer()->docName(), QStringLiteral("KT-Z30"));
    EXPECT_EQ(Shown(), before);

    // The boxes as they were left, for the next time.
    ISettingsStore& s = *Platform().settings;
    EXPECT_EQ(s.GetInt("Print", "All", -1), 0);
    EXPECT_EQ(s.GetInt("Print", "Mch", -1), 1);
    EXPECT_EQ(s.GetInt("Print", "5Tone", -1), 1);
    EXPECT_EQ(s.GetInt("Print", "2Tone", -1), -1);
    Close();
}

TEST_F(PrintTest, TheDialogFollowsTheVariantAllAndMakerReserve) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    for (int id : {cmd::kPrint, cmd::kPrintPreview, cmd::kExportPdf})
        EXPECT_TRUE(frame.Action(id)->isEnabled()) << id;

    const struct {
        bool pmr, makerReserve, all;
        const char* sixth;
        bool othersEnabled, makerEnabled;
    } cases[] = {
        {false, false, true, "2Tone", false, false},
        {true, false, false, "5Tone", true, false},
        {true, true, false, "5Tone", true, true},
        {false, true, true, "2Tone", false, false},
    };
    for (const auto& c : cases) {
        CPrintSelectDlg dialog(c.pmr, c.makerReserve);
        CPrintSelection s;
        s.all = c.all;
        dialog.SetSelection(s);
        EXPECT_EQ(dialog.BoxAt(Box::Signalling)->text(), QString::fromLatin1(c.sixth));
        EXPECT_TRUE(dialog.BoxAt(Box::All)->isEnabled());
        for (Box b : {Box::CommonSetting, Box::MemoryCh, Box::DtmfAutodial, Box::ScanSetting,
                      Box::Signalling})
            EXPECT_EQ(dialog.BoxAt(b)->isEnabled(), c.othersEnabled) << b;
        EXPECT_EQ(dialog.BoxAt(Box::Maker)->isEnabled(), c.makerEnabled);
        // Unchecking "All" frees the others at once.
        dialog.BoxAt(Box::All)->setChecked(false);
        EXPECT_TRUE(dialog.BoxAt(Box::MemoryCh)->isEnabled());
        EXPECT_EQ(dialog.BoxAt(Box::Maker)->isEnabled(), c.makerReserve);
    }
    Close();
}

TEST_F(PrintTest, PrinterSettingChoosesThePrinterForTheSession) {
    CZ30MainFrame& frame = StartWith(kPmr16);
    ModalHand hand;
    hand.handler = [](QWidget* w) {
        if (auto* dialog = qobject_cast<CPrintSelectDlg*>(w)) {
            dialog->findChild<QPushButton*>(QStringLiteral("PrinterSetting"))->click();
            dialog->reject();
            return true;
        }
        if (auto* setting = qobject_cast<QDialog*>(w)) setting->accept();
        return true;
    };
    ASSERT_EQ(Printing().Printer(), nullptr);
    frame.RouteCommand(cmd::kPrint);
    ASSERT_EQ(hand.seen.size(), 2);
    EXPECT_EQ(hand.seen[1], QStringLiteral("Printer Setting"));
    EXPECT_NE(Printing().Printer(), nullptr) << "kept although the job was cancelled";
    Close();
}

TEST_F(PrintTest, WithoutAPrinterPrintOffersExportPdfInTheSameBox) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
    CZ30MainFrame& frame = StartWith(kLmr16);
    ModalHand hand;
    QString message;
    hand.handler = [&message](QWidget* w) {
        if (Choose(w, {Box::All})) return true;
        auto* box = qobject_cast<QMessageBox*>(w);
        if (!box) return false;
        message = box->text();
        for (QAbstractButton* b : box->buttons())
            if (b->text() == QStringLiteral("Export PDF...")) b->click();
        return true;
    };
    const QString path = dir.filePath(QStringLiteral("instead"));
    Printing().askPdfPath = [&path](const QString&) { return path; };
    frame.RouteCommand(cmd::kPrint);
    EXPECT_EQ(message, QString::fromLatin1(CPrintCommands::kNoPrinter));
    EXPECT_TRUE(QFileInfo(path + QStringLiteral(".pdf")).size() > 0) << "the suffix is added";
    Close();
}

TEST_F(PrintTest, ExportPdfAsksBeforeItReplacesAFileTheDialogDidNotNameAndNeverTheDocument) {
    StartWith(kLmr16);
    const QString document = dir.filePath(QStringLiteral("radio.hxq"));
    ASSERT_TRUE(app->Document().DoSave(document.toStdString()));
    const QString old = dir.filePath(QStringLiteral("old.pdf"));
    const struct {
        QString chosen;     // what the file dialog gave
        const char* answer; // to the question that comes, nullptr: none may come
        QString written;    // the file that must hold the PDF afterwards, empty: none
    } cases[] = {
        {dir.filePath(QStringLiteral("old")), "No", {}},
        {dir.filePath(QStringLiteral("old")), "Yes", old},
        {document, nullptr, {}},
        {dir.filePath(QStringLiteral("fresh")), nullptr, dir.filePath(QStringLiteral("fresh.pdf"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString() + " " + (c.answer ? c.answer : "-"));
        QFile::remove(old);
        WriteAll(old.toStdString(), "kept");
        QFile image(document);
        ASSERT_TRUE(image.open(QIODevice::ReadOnly));
        const QByteArray before = image.readAll();
        image.close();
        QStringList asked;
        ModalHand hand;
        hand.handler = [&](QWidget* w) {
            if (Choose(w, {Box::DtmfAutodial})) return true;
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box) return false;
            asked << box->text();
            const bool yes = c.answer && std::string(c.answer) == "Yes";
            ModalHand::Click(box, !box->button(QMessageBox::Yes) ? QMessageBox::Ok
                                  : yes                          ? QMessageBox::Yes
                                                                 : QMessageBox::No);
            return true;
        };
        Printing().askPdfPath = [&c](const QString&) { return c.chosen; };
        app->MainFrame()->RouteCommand(cmd::kExportPdf);
        EXPECT_EQ(asked.size(), c.answer || c.chosen == document ? 1 : 0)
            << asked.join(';').toStdString();
        ASSERT_TRUE(image.open(QIODevice::ReadOnly));
        EXPECT_EQ(image.readAll(), before) << "the clone data file stays as it is";
        image.close();
        QFile kept(old);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll().startsWith("%PDF"), c.written == old);
        if (!c.written.isEmpty()) {
            EXPECT_GT(QFileInfo(c.written).size(), 0);
        }
    }
    Close();
}

TEST_F(PrintTest, PreviewShowsTheJobsPagesAndNothingWithoutASection) {
    CZ30MainFrame& frame = StartWith(kLmr16);
    app->Document().GetCloneManager()->GetModelManager()->SetManufacture(true);
    ModalHand hand;
    int pages = -1;
    std::vector<Box> boxes = {Box::MemoryCh};
    hand.handler = [&](QWidget* w) {
        if (Choose(w, boxes)) return true;
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(w)) {
            QApplication::processEvents();
            if (auto* pagesWidget = preview->findChild<QPrintPreviewWidget*>())
                pages = pagesWidget->pageCount();
            preview->reject();
            return true;
        }
        return false;
    };
    frame.RouteCommand(cmd::kPrintPreview);
    EXPECT_GT(pages, 2) << "36 rows and 17 columns take several pages";

    // Nothing checked: no preview, a word in the status bar.
    pages = -1;
    boxes = {};
    frame.RouteCommand(cmd::kPrintPreview);
    EXPECT_EQ(pages, -1);
    EXPECT_EQ(Status(), QStringLiteral(" Nothing to print: no section is checked."));
    Close();
}

// The preview's print button without a printer writes the PDF as Export PDF does: named by the
// same question, never over the clone data file, the preview closed once it is written.
TEST_F(PrintTest, PreviewsPrintButtonGoesThroughExportPdfsGuard) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a printer is installed";
    StartWith(kLmr16);
    const QString document = dir.filePath(QStringLiteral("radio.hxq"));
    ASSERT_TRUE(app->Document().DoSave(document.toStdString()));
    const QByteArray before = QByteArray::fromStdString(ReadAll(document.toStdString()));
    const struct {
        QString chosen;
        QString refusal; // the message that must come, empty: none
        bool closed;     // the preview closed by the button
        QString written; // the PDF written, empty: none
    } cases[] = {
        {document,
         " Err: The PDF cannot take the place of the clone data file it prints.",
         false,
         {}},
        {dir.filePath(QStringLiteral("job")), {}, true, dir.filePath(QStringLiteral("job.pdf"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        QStringList said;
        bool closed = false;
        ModalHand hand;
        hand.handler = [&](QWidget* w) {
            if (Choose(w, {Box::MemoryCh})) return true;
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                said << box->text();
                ModalHand::Click(box, QMessageBox::Ok);
                return true;
            }
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            if (!preview) return false;
            for (QAction* a : preview->findChildren<QAction*>())
                if (a->text() == QStringLiteral("Print")) a->trigger();
            closed = !preview->isVisible();
            if (!closed) preview->reject();
            return true;
        };
        Printing().askPdfPath = [&c](const QString&) { return c.chosen; };
        app->MainFrame()->RouteCommand(cmd::kPrintPreview);
        EXPECT_EQ(said.join(';').section('\n', 0, 0), c.refusal);
        EXPECT_EQ(closed, c.closed);
        EXPECT_EQ(QByteArray::fromStdString(ReadAll(document.toStdString())), before);
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(ReadAll(c.written.toStdString()).starts_with("%PDF"));
        }
    }
    Close();
}
