// File > Print, Print Preview and Export PDF: the sections picked in the "Print" dialog, drawn
// from the document's tree by the one page renderer on a printer, in the preview or into a PDF
// file. The sheets shown, their captions and selections are not touched.
#pragma once

#include "sheets/print_job.h"
#include "views/command_target.h"

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CCloneSupportDoc;
class QPrinter;
class QWidget;

class CPrintCommands final : public ICommandTarget {
public:
    static constexpr const char* kNoPrinter =
        "There is no printer.\nBefore you can print, you need to install a printer.";

    // window: the parent of the dialogs.
    CPrintCommands(CCloneSupportDoc& doc, QWidget* window);
    ~CPrintCommands() override;

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

    // Each asks for the sections first ("Print"), under the modal guard.
    void Print();
    void PrintPreview();
    void ExportPdf();

    // The printer chosen under "Printer Setting", kept for the session; null: none chosen.
    void SetPrinter(std::unique_ptr<QPrinter> printer);
    QPrinter* Printer() const { return m_printer.get(); }
    // The sections of a job as they print now.
    std::vector<CPrintSection> Sections(const std::vector<CPrintItem>& items) const;

    // Where Export PDF writes, asked with a suggested path; empty cancels. Null: a file dialog.
    std::function<QString(const QString& suggested)> askPdfPath;

private:
    // The "Print" dialog: the job of its boxes (stored in the settings), nothing on Cancel.
    std::optional<std::vector<CPrintItem>> AskSelection();
    void PrinterSetting(QWidget* parent);
    // True when the job went out (printed, or the PDF written).
    bool PrintOn(QPrinter& printer, const std::vector<CPrintItem>& items);
    bool ExportItems(const std::vector<CPrintItem>& items);
    bool MakerReserve() const;

    CCloneSupportDoc& m_doc;
    QWidget* m_window;
    std::unique_ptr<QPrinter> m_printer;
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait; // the "Print" dialog's
};
