// The views of the sheet frame. Each sheet is a command target that passes what it does not
// handle on to the document.
#pragma once

#include "views/command_target.h"

#include <QWidget>
#include <string>

class CSheetView : public QWidget, public ICommandTarget {
    Q_OBJECT
public:
    CSheetView(int index, QString title, QWidget* parent = nullptr);

    int Index() const { return m_index; }
    QString Title() const { return m_title; }
    // Where the commands this sheet does not handle go (the document).
    void SetDocumentTarget(ICommandTarget* target) { m_document = target; }

    virtual void SetRowCount(int rows) { m_rows = rows; }
    int RowCount() const { return m_rows; }
    // Column widths from the settings.
    virtual void ReloadColumnWidths() {}
    // Re-reads every row from the document's tree.
    virtual void RefreshRows() {}
    // The document changed where path says ("Mch.CH5"; empty: anywhere): re-reads what shows it.
    virtual void FollowChange(const std::string& /*path*/) { RefreshRows(); }

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

signals:
    // The selected row changed; the text is the caption suffix.
    void selectionTextChanged(const QString& text);
    // Tab in the sheet: the tree takes the focus.
    void focusTreeRequested();
    // The context menu of that id opens at a screen position; its commands come back through
    // the frame's routing.
    void contextMenuRequested(int menu, const QPoint& globalPos);

protected:
    // The sheet's own commands; the defaults handle nothing.
    virtual bool HandleCommand(int) { return false; }
    virtual bool UpdateCommand(int, CCmdUI&) { return false; }

private:
    int m_index;
    QString m_title;
    int m_rows = 0;
    ICommandTarget* m_document = nullptr;
};

// Sheet 0: an empty view without a border.
class CNullView : public CSheetView {
    Q_OBJECT
public:
    explicit CNullView(QWidget* parent = nullptr);
};

// A sheet whose editor is not there yet: an empty white page with the sheet's title.
class CPendingSheet : public CSheetView {
    Q_OBJECT
public:
    CPendingSheet(int index, QString title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
