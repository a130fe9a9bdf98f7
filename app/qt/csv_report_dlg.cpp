#include "app/qt/csv_report_dlg.h"

#include "sheets/channel_csv.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

CCsvReportDlg::CCsvReportDlg(const CCsvImport& import, const QString& file, QWidget* parent)
    : QDialog(parent), m_summary(new QLabel(this)), m_notes(new QTableWidget(this)) {
    setObjectName(QStringLiteral("CsvReport"));
    setWindowTitle(QStringLiteral("Import Channels"));
    QString summary = QStringLiteral("%1: %2.").arg(
        file.toHtmlEscaped(), QString::fromStdString(CsvImportSummary(import)).toHtmlEscaped());
    if (!import.Clean())
        summary += QStringLiteral("<br>Skipped rows left their channels as they were. "
                                  "Edit &gt; Undo takes the whole import back.");
    if (import.namesLeftAside)
        summary += QStringLiteral("<br>Note: %1.").arg(QString(kCsvNamesNote).toHtmlEscaped());
    m_summary->setText(summary);
    m_summary->setWordWrap(true);

    const auto rows = static_cast<int>(import.notes.size() + (import.notesLeftOut ? 1 : 0));
    m_notes->setColumnCount(3);
    m_notes->setRowCount(rows);
    m_notes->setHorizontalHeaderLabels(
        {QStringLiteral("Row"), QStringLiteral("Column"), QStringLiteral("What was done")});
    m_notes->verticalHeader()->hide();
    m_notes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_notes->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_notes->setWordWrap(false);
    int r = 0;
    for (const CCsvNote& note : import.notes) {
        QString what = QString::fromStdString(note.text);
        what += !note.skipped   ? QStringLiteral("; adjusted")
                : note.rows > 1 ? QStringLiteral("; rows skipped")
                                : QStringLiteral("; row skipped");
        const QString cells[] = {QString::number(note.row), QString::fromStdString(note.column),
                                 what};
        for (int c = 0; c < 3; ++c)
            m_notes->setItem(r, c, new QTableWidgetItem(cells[c]));
        ++r;
    }
    if (import.notesLeftOut)
        m_notes->setItem(
            r, 2, new QTableWidgetItem(QStringLiteral("... and %1 more").arg(import.notesLeftOut)));
    m_notes->resizeColumnsToContents();
    m_notes->resizeRowsToContents();
    m_notes->horizontalHeader()->setStretchLastSection(true);
    m_notes->setVisible(rows > 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_notes, 1);
    layout->addWidget(buttons);
    resize(rows > 0 ? QSize(720, 360) : sizeHint().expandedTo(QSize(420, 0)));
}
