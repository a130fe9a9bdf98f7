#include "views/tone_combo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

CToneEntryCombo::CToneEntryCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // a typed "23" must not complete to "233.6"
    setMaxVisibleItems(16);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        m_typed = text;
        m_chosen = false;
    });
    connect(this, qOverload<int>(&QComboBox::activated), this, [this] { m_chosen = true; });
}

QStringList CToneEntryCombo::Entries() const {
    QStringList entries;
    for (int i = 0; i < count(); ++i)
        entries << itemText(i);
    return entries;
}

void CToneEntryCombo::PutBackLater() {
    QTimer::singleShot(kPutBackMs, this, [this] {
        if (m_typed.isEmpty() || m_chosen) return;
        setEditText(m_typed);
        lineEdit()->selectAll();
    });
}

void CToneEntryCombo::hidePopup() {
    QComboBox::hidePopup();
    // Closed without a choice: the typed code comes back.
    if (!IsEntry(m_typed)) PutBackLater();
}

void CToneEntryCombo::keyPressEvent(QKeyEvent* event) {
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    if (plain && event->key() == Qt::Key_Down && !IsEntry(currentText())) {
        // A typed code sits above the first entry.
        m_typed = currentText();
        m_chosen = false;
        setCurrentIndex(0);
        setEditText(itemText(0));
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_Up) {
        event->accept();
        if (!IsEntry(currentText())) return; // nothing above a typed code
        if (findText(currentText(), Qt::MatchExactly) == 0) {
            if (!m_typed.isEmpty() && !IsEntry(m_typed)) {
                m_chosen = false;
                PutBackLater();
            }
            return;
        }
    }
    QComboBox::keyPressEvent(event);
}
