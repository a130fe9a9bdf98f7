// The grid sheet engine: a read-only table of one row per channel or code, built from a static
// sheet description. Cells show the texts the sheet computes for each row; rows are edited,
// copied, pasted, cleared, deleted and inserted whole through commands.
//
// A concrete sheet supplies RowTexts and the row operations it allows (EditRow, CopyRow,
// PasteRow, ClearRow, DeleteRow, InsertRow, ResetChannel). Every change it makes to the
// document goes through RunEdit.
#pragma once

#include "sheets/sheet_desc.h"
#include "views/doc_edit.h"
#include "views/sheet_view.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CCloneSupportDoc;
class CNode;

// The cells of a sheet: the row texts as the sheet last computed them.
class CSheetRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    CSheetRowModel(const CSheetDesc& desc, QObject* parent = nullptr);

    // Replaces every row by rows empty ones.
    void SetRowCount(int rows);
    void SetRow(int row, const std::vector<std::string>& cells);
    QString Cell(int row, int column) const;
    // Cells marked from outside the sheet (the differences window): markOf gives a cell's tool
    // tip, empty for none; a marked cell is drawn in kMarkColor. Null: no marks.
    void SetCellMarks(std::function<QString(int row, int column)> markOf);
    static constexpr QRgb kMarkColor = 0xFFE8A0;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const CSheetDesc& m_desc;
    std::vector<QStringList> m_rows;
    std::function<QString(int, int)> m_markOf;
};

// Draws the cells of a row: the highlight with and without focus, per-column colours, and the
// text cut with "..." to fit its cell.
class CListSheetDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CListSheetDelegate(const CSheetDesc& desc, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const CSheetDesc& m_desc;
};

// The owner-drawn report list under a sheet: full-row selection of one row, a current column
// moved by Left and Right, the highlight reaching the right edge.
class CListViewExs : public QTableView {
    Q_OBJECT
public:
    CListViewExs(const CSheetDesc& desc, QWidget* parent = nullptr);

    int CurrentColumn() const { return m_currentColumn; }
    void SetCurrentColumn(int column);
    // The selected row, -1 for none.
    int SelectedRow() const;
    // Selects and focuses one row and scrolls it into view; a row that does not exist is ignored.
    void SelectRow(int row);
    // The highlight colours of the selected row (with or without the focus).
    QColor HighlightColor() const;

signals:
    void editRequested(); // Enter, or a double-click on a row
    void tabPressed();    // Tab or Shift+Tab
    void contextMenuAt(const QPoint& globalPos);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Column under a viewport point for the current column (column 0 counts as 1).
    int ColumnForCurrent(const QPoint& pos) const;
    void RedrawSelectedRow();

    const CSheetDesc& m_desc;
    int m_currentColumn = 1;
};

class CListSheet : public CSheetView {
    Q_OBJECT
public:
    // doc: the document whose tree the rows show; rowOperations: Copy, Paste, Clear, Delete,
    // Insert and the channel attributes are allowed; clipboardFormat: the sheet's clipboard
    // format ("" for none).
    CListSheet(int index, QString title, const CSheetDesc& desc, CCloneSupportDoc* doc,
               bool rowOperations, QString clipboardFormat, QWidget* parent = nullptr);

    const CSheetDesc& Desc() const { return m_desc; }
    CListViewExs* View() const { return m_view; }
    CSheetRowModel* Model() const { return m_model; }

    // CSheetView
    void SetRowCount(int rows) override { SetRowCount(rows, 0); }
    void ReloadColumnWidths() override;
    void RefreshRows() override { RefreshAll(); }
    void FollowChange(const std::string& path) override;

    // Replaces the rows, keeping the selected row when it still exists, else selecting row 0.
    void SetRowCount(int rows, int channelBase);
    // Every row from the tree again, then the selected row scrolled into view.
    void RefreshAll();
    void SelectRow(int row) { m_view->SelectRow(row); }
    int SelectedRow() const { return m_view->SelectedRow(); }
    // Channel number of a row (from 1), and of the selected row (0 for none).
    int ChannelOfRow(int row) const { return m_channelBase + row + 1; }
    int SelectedChannel() const;
    QString CellText(int row, int column) const { return m_model->Cell(row, column); }
    QString ClipboardFormat() const { return m_clipboardFormat; }

    // The one door for every change a sheet or its row editor makes to the document: runs
    // change on the document's tree as one edit named label ("Delete CH 5"), with one step on
    // the undo stack. The document's change notice refreshes the row given (-1: every row).
    // The step tells what became of the values change set through the report.
    CEditStep RunEdit(const QString& label, const CEditChange& change, int changedRow = -1);
    CEditStep RunEdit(const QString& label, const std::function<void(CNode& root)>& change,
                      int changedRow = -1);
    // The name of an edit on one channel: "Delete CH 5".
    static QString EditLabel(const char* action, int channel);

    // Printing.
    virtual QString GetPrintTitle() const { return QString::fromUtf8(m_desc.title); }
    virtual int GetPrintRowCount() const { return RowCount(); }

signals:
    // An edit ran through RunEdit.
    void editRun(const QString& label);

protected:
    // The node a row shows ("Mch.CH5"), and the row showing a path; the defaults know no rows,
    // so that every change refreshes every row.
    virtual std::string PathOfRow(int) const { return {}; }
    virtual int RowOfPath(const std::string&) const { return -1; }
    // The cells of a row; the default is an empty row.
    virtual std::vector<std::string> RowTexts(int) const { return {}; }
    virtual void RefreshRow(int row);
    virtual void EditRow() {}
    virtual void CopyRow() {}
    virtual void ResetChannel(int /*channel*/) {}
    virtual void ClearRow() {}
    virtual void PasteRow() {}
    virtual void DeleteRow() {}
    virtual void InsertRow() {}
    // The caption suffix for the selection: " - CH %d", or five blanks without one.
    virtual QString UpdateCaption() const;
    virtual void SetCaptionSuffix(const QString& text) { emit selectionTextChanged(text); }
    // Whether the clipboard holds what PasteRow takes (asked again after each clipboard change).
    virtual bool CanPaste() const;

    bool HandleCommand(int id) override;
    bool UpdateCommand(int id, CCmdUI& ui) override;

    CCloneSupportDoc* Document() const { return m_doc; }
    CNode* Root() const;
    int Variant() const;
    // Yes/No through the program's prompts; true for Yes.
    static bool AskYesNo(const char* text, bool exclamation);

private:
    void SetChannelAttributeCommand(int id);
    void ApplyColumnWidth(int column, int width);
    void OnSectionResized(int column, int oldWidth, int newWidth);
    void OnSelectionChanged();

    const CSheetDesc& m_desc;
    CCloneSupportDoc* m_doc;
    bool m_rowOperations;
    QString m_clipboardFormat;
    int m_channelBase = 0;
    bool m_applyingWidths = false;
    mutable std::optional<bool> m_pasteable; // CanPaste for the clipboard as it is
    CSheetRowModel* m_model;
    CListViewExs* m_view;
};
