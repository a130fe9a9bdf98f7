// The differences window: what differs between the open document and another image (a file or
// the radio), one row each, kept up to date with the document while it is open; the memory
// sheets' cells that differ are marked until it closes.
#pragma once

#include "app/image_compare.h"

#include <QAbstractTableModel>
#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class CZ30Doc;
class QLabel;
class QPushButton;
class QTableView;

// The rows: where, this document, the other.
class CDifferenceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetDifferences(std::vector<CDifference> list);
    const std::vector<CDifference>& Differences() const { return m_list; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<CDifference> m_list;
};

class CDifferencesWnd : public QDialog {
    Q_OBJECT
public:
    // other: the image compared with; otherName: what it is ("radio.hxq", "the radio").
    CDifferencesWnd(CZ30Doc& doc, std::vector<std::uint8_t> other, QString otherName,
                    QWidget* parent = nullptr);
    ~CDifferencesWnd() override;

    const std::vector<CDifference>& Differences() const { return m_model->Differences(); }
    QTableView* Table() const { return m_table; }
    // The listing as `ktz30cli diff` prints it, with a heading line.
    QString Text() const;
    // "Take Other Value" on the rows selected: one edit, one undo step.
    void TakeOtherValues();
    void SaveAsText(const QString& path);
    void Print();
    // Compares the document with the other image again and marks the cells.
    void Refresh();

    // Where a channel's difference is shown (the memory sheet, the channel's row selected) and
    // how the cells of a memory sheet row are marked; the application connects them.
    std::function<void(int channel)> showChannel;
    // markCells(markOf): markOf(channel, column) gives a cell's tool tip; null clears the marks.
    std::function<void(std::function<QString(int channel, int column)>)> markCells;
    // The file dialog of "Save as Text"; tests replace it.
    std::function<QString()> askTextPath;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void Activated(const QModelIndex& index);
    void ClearMarks();

    CZ30Doc& m_doc;
    std::vector<std::uint8_t> m_other;
    QString m_otherName;
    std::unique_ptr<CImageComparer> m_comparer;
    CDifferenceModel* m_model;
    QTableView* m_table;
    QLabel* m_summary;
    QPushButton* m_take;
    int m_notice = 0;
};
