#include "views/print_commands.h"

#include "app/clone_support_doc.h"
#include "clone/model_info.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "print/page_renderer.h"
#include "print/pdf_output.h"
#include "sheets/mch_rows.h"
#include "views/command_ids.h"
#include "views/print_dlg.h"
#include "views/save_name.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <filesystem>
#include <system_error>

namespace {

constexpr const char* kDocumentName = CPageRenderer::kDocumentName;

void Status(const QString& text) {
    if (IUserPrompts* prompts = Platform().prompts) prompts->SetStatusText(text.toStdString());
}

// The no-printer message, with Export PDF in the same box; true when that was chosen.
bool OfferPdfInstead(QWidget* parent) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kDocumentName),
                    QString::fromLatin1(CPrintCommands::kNoPrinter), QMessageBox::Ok, parent);
    QPushButton* pdf = box.addButton(QStringLiteral("Export PDF..."), QMessageBox::AcceptRole);
    box.setDefaultButton(pdf);
    box.exec();
    return box.clickedButton() == pdf;
}

// Whether a printout written to path would take the place of the open clone data file; says so.
bool TakesTheDocumentsPlace(const QString& path, const QString& document) {
    std::error_code ec;
    if (document.isEmpty() || path.isEmpty() ||
        !std::filesystem::equivalent(path.toStdString(), document.toStdString(), ec))
        return false;
    Platform().prompts->MessageBox(" Err: The PDF cannot take the place of the clone data file it "
                                   "prints.\n" +
                                       path.toStdString(),
                                   kDocumentName, KtButtons::Ok, KtIcon::Exclamation);
    return true;
}

// The printer a job goes to: the session's, else the system's default one (held in owned).
QPrinter* JobPrinter(QPrinter* chosen, std::unique_ptr<QPrinter>& owned) {
    if (chosen) return chosen;
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    owned = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return owned.get();
}

} // namespace

CPrintCommands::CPrintCommands(CCloneSupportDoc& doc, QWidget* window)
    : m_doc(doc), m_window(window) {}

CPrintCommands::~CPrintCommands() = default;

bool CPrintCommands::OnCmdMsg(int id) {
    switch (id) {
    case cmd::kPrint:
        Print();
        return true;
    case cmd::kPrintPreview:
        PrintPreview();
        return true;
    case cmd::kExportPdf:
        ExportPdf();
        return true;
    default:
        return false;
    }
}

bool CPrintCommands::OnUpdateCmdUI(int id, CCmdUI&) {
    return id == cmd::kPrint || id == cmd::kPrintPreview || id == cmd::kExportPdf;
}

void CPrintCommands::SetPrinter(std::unique_ptr<QPrinter> printer) {
    m_printer = std::move(printer);
}

bool CPrintCommands::MakerReserve() const {
    const CModelManager* model = m_doc.GetCloneManager()->GetModelManager();
    return model && model->IsMakerReserve();
}

std::vector<CPrintSection> CPrintCommands::Sections(const std::vector<CPrintItem>& items) const {
    const CModelManager* model = m_doc.GetCloneManager()->GetModelManager();
    const int variant = m_doc.GetVariant();
    return PrintSections(
        {m_doc.GetRoot(), variant, MchSheetRows(variant, model && model->IsManufacture())}, items);
}

std::optional<std::vector<CPrintItem>> CPrintCommands::AskSelection() {
    const bool pmr = IsPmrVariant(m_doc.GetVariant());
    ISettingsStore& settings = *Platform().settings;
    CPrintSelectDlg dialog(pmr, MakerReserve(), m_window);
    dialog.SetSelection(LoadPrintSelection(settings, pmr));
    dialog.onPrinterSetting = [this, &dialog] { PrinterSetting(&dialog); };
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const CPrintSelection selection = dialog.Selection();
    StorePrintSelection(settings, selection, pmr);
    m_orientation = selection.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    std::vector<CPrintItem> items = BuildPrintJob(selection, pmr, MakerReserve());
    if (items.empty()) Status(QStringLiteral(" Nothing to print: no section is checked."));
    return items;
}

void CPrintCommands::PrinterSetting(QWidget* parent) {
    std::unique_ptr<QPrinter> fresh;
    QPrinter* printer = m_printer.get();
    if (!printer) printer = JobPrinter(nullptr, fresh);
    if (!printer) {
        fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = fresh.get();
    }
    QPrintDialog dialog(printer, parent);
    dialog.setWindowTitle(QStringLiteral("Printer Setting"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                      QAbstractPrintDialog::PrintCollateCopies);
    // It chooses the printer; the printing starts from the "Print" dialog.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    if (dialog.exec() == QDialog::Accepted && fresh) m_printer = std::move(fresh);
}

void CPrintCommands::Print() {
    CModalScope guard;
    if (!guard.Entered()) return;
    const auto items = AskSelection();
    if (!items || items->empty()) return;
    std::unique_ptr<QPrinter> owned;
    QPrinter* printer = JobPrinter(m_printer.get(), owned);
    if (!printer) {
        if (OfferPdfInstead(m_window)) ExportItems(*items);
        return;
    }
    PrintOn(*printer, *items);
}

bool CPrintCommands::PrintOn(QPrinter& printer, const std::vector<CPrintItem>& items) {
    // A printer that prints to a file never writes over the clone data file.
    if (TakesTheDocumentsPlace(printer.outputFileName(),
                               QString::fromStdString(m_doc.GetPathName())))
        return false;
    const std::vector<CPrintSection> sections = Sections(items);
    printer.setDocName(QString::fromLatin1(kDocumentName));
    printer.setPageOrientation(m_orientation);
    // Modeless: the main window goes on answering between pages, and Cancel stops the job.
    CPrintingDlg progress(m_window);
    progress.show();
    QApplication::processEvents();
    QPainter painter;
    if (!painter.begin(&printer)) {
        progress.hide();
        Platform().prompts->MessageBox(" Err: The printer could not be started.", kDocumentName,
                                       KtButtons::Ok, KtIcon::Exclamation);
        return false;
    }
    CPageRenderer renderer(painter, printer);
    const CPrintOutcome outcome = renderer.Render(sections, [&progress] {
        QApplication::processEvents();
        return progress.Cancelled();
    });
    if (outcome == CPrintOutcome::Cancelled) printer.abort();
    painter.end();
    // A printer that writes a file cannot abort it: a cancelled job leaves no half document.
    if (outcome != CPrintOutcome::Done && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
    progress.hide();
    switch (outcome) {
    case CPrintOutcome::Done:
        Status(QStringLiteral(" Printed %1 pages.").arg(renderer.Pages()));
        break;
    case CPrintOutcome::Cancelled:
        Status(QStringLiteral(" Printing cancelled."));
        break;
    case CPrintOutcome::PageFailed:
        Platform().prompts->MessageBox(" Err: The printer refused a page; printing stopped.",
                                       kDocumentName, KtButtons::Ok, KtIcon::Exclamation);
        break;
    }
    return true;
}

void CPrintCommands::PrintPreview() {
    CModalScope guard;
    if (!guard.Entered()) return;
    const auto items = AskSelection();
    if (!items || items->empty()) return;
    const std::vector<CPrintSection> sections = Sections(*items);
    std::unique_ptr<QPrinter> owned;
    QPrinter* printer = JobPrinter(m_printer.get(), owned);
    if (!printer) {
        // No printer: the preview shows the PDF's pages, and its print button writes a PDF.
        owned = std::make_unique<QPrinter>(QPrinter::HighResolution);
        owned->setOutputFormat(QPrinter::PdfFormat);
        owned->setPageSize(LocalePageSize());
        printer = owned.get();
    }
    printer->setDocName(QString::fromLatin1(kDocumentName));
    printer->setPageOrientation(m_orientation);
    QPrintPreviewDialog preview(printer, m_window);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Print Preview"));
    // Its print button goes the way of Print and Export PDF (the PDF named as Export PDF names
    // it, never over the clone data file); the preview closes once the job is out.
    const bool toPdf =
        owned && printer == owned.get() && printer->outputFormat() == QPrinter::PdfFormat;
    for (QAction* action : preview.findChildren<QAction*>()) {
        if (action->text() != QStringLiteral("Print")) continue;
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, &preview, [&, toPdf] {
            if (toPdf ? ExportItems(*items) : PrintOn(*printer, *items)) preview.accept();
        });
    }
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&sections](QPrinter* device) {
                         QPainter painter(device);
                         CPageRenderer(painter, *device).Render(sections);
                     });
    preview.resize(m_window ? m_window->size().expandedTo(QSize(800, 700)) : QSize(800, 700));
    preview.exec();
}

void CPrintCommands::ExportPdf() {
    CModalScope guard;
    if (!guard.Entered()) return;
    const auto items = AskSelection();
    if (items && !items->empty()) ExportItems(*items);
}

bool CPrintCommands::ExportItems(const std::vector<CPrintItem>& items) {
    const QString document = QString::fromStdString(m_doc.GetPathName());
    const QString suggested =
        document.isEmpty() ? QString::fromStdString(m_doc.GetTitle()) + QStringLiteral(".pdf")
                           : QFileInfo(document).path() + '/' +
                                 QFileInfo(document).completeBaseName() + QStringLiteral(".pdf");
    QString path =
        askPdfPath ? askPdfPath(suggested)
                   : QFileDialog::getSaveFileName(m_window, QStringLiteral("Export PDF"), suggested,
                                                  QStringLiteral("PDF Files (*.pdf)"));
    path = SaveNameWithSuffix(path, QStringLiteral(".pdf"));
    if (path.isEmpty() || TakesTheDocumentsPlace(path, document)) return false;
    IUserPrompts& prompts = *Platform().prompts;
    std::string error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool written =
        WritePdf(path.toStdString(), Sections(items), LocalePageSize(), &error, m_orientation);
    QApplication::restoreOverrideCursor();
    if (written)
        Status(QStringLiteral(" Exported to %1.").arg(QFileInfo(path).fileName()));
    else
        prompts.MessageBox(" Err: The PDF could not be written.\n" + error, kDocumentName,
                           KtButtons::Ok, KtIcon::Exclamation);
    return written;
}
