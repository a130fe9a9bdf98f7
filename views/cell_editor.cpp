#include "views/cell_editor.h"

#include "views/tone_combo.h"

#include <QComboBox>
#include <QLineEdit>

QWidget* CreateCellEditor(const CCellEditor& editor, QWidget* parent) {
    switch (editor.kind) {
    case CCellEditor::Line: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        return edit;
    }
    case CCellEditor::Tone: {
        auto* box = new CToneEntryCombo(parent);
        box->addItems(editor.choices);
        return box;
    }
    case CCellEditor::List: {
        auto* box = new QComboBox(parent);
        box->addItems(editor.choices);
        return box;
    }
    case CCellEditor::None:
        break;
    }
    return nullptr;
}

void FillCellEditor(QWidget* widget, const CCellEditor& editor) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(editor.text);
        edit->selectAll();
    } else if (auto* tone = qobject_cast<CToneEntryCombo*>(widget)) {
        tone->setEditText(editor.text);
        tone->lineEdit()->selectAll();
    } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
        box->setCurrentIndex(box->findText(editor.text, Qt::MatchFixedString));
    }
}

QString CellEditorText(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
    if (const auto* box = qobject_cast<const QComboBox*>(widget)) return box->currentText();
    return {};
}
