// The editors of the cells a sheet edits in place: a line edit for a frequency, the tone entry
// box for a tone, a drop-down list for a choice. The sheet says which cell takes which and
// stores what the editor gives through its one editing path.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

struct CCellEditor {
    enum Kind { None, Line, Tone, List } kind = None;
    QString text;        // what the cell holds now
    QStringList choices; // the entries of a tone box or a list
};

class ICellEditing {
public:
    virtual ~ICellEditing() = default;
    virtual bool CellEditable(int row, int column) const = 0;
    virtual CCellEditor CellEditor(int row, int column) const = 0;
    // The editor of the cell gave text (Enter, Tab, or the focus leaving it).
    virtual void CommitCell(int row, int column, const QString& text) = 0;
};

// The widget for an editor, made, filled and read.
QWidget* CreateCellEditor(const CCellEditor& editor, QWidget* parent);
void FillCellEditor(QWidget* widget, const CCellEditor& editor);
QString CellEditorText(const QWidget* widget);
