// What an import of a channel list did: the summary and, row by row, what was skipped or
// adjusted.
#pragma once

#include <QDialog>

struct CCsvImport;
class QLabel;
class QTableWidget;

class CCsvReportDlg : public QDialog {
    Q_OBJECT
public:
    CCsvReportDlg(const CCsvImport& import, const QString& file, QWidget* parent = nullptr);
    QLabel* Summary() const { return m_summary; }
    // Row, Column, What was done; hidden when every row was taken as given.
    QTableWidget* Notes() const { return m_notes; }

private:
    QLabel* m_summary;
    QTableWidget* m_notes;
};
