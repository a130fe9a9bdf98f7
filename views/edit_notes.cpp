#include "views/edit_notes.h"

#include "app/clone_support_doc.h"
#include "core/platform.h"
#include "views/doc_edit.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr const char* kReady = "Ready";
}

CEditNotes& CEditNotes::Instance() {
    static CEditNotes notes;
    return notes;
}

void CEditNotes::EditRan(const CEditStep& step) {
    ++m_edits;
    const QString text =
        EditOutcomeText(step, [](const std::string& path) { return QString::fromStdString(path); });
    Withdraw();
    if (text.isEmpty()) return;
    m_notes.push_back({m_edits, text});
    while (m_notes.size() > kKeptEdits)
        m_notes.pop_front();
}

void CEditNotes::Tell(const QString& text) {
    const bool listed = !m_notes.empty() && m_notes.back().edit == m_edits;
    if (text.trimmed().isEmpty()) {
        if (listed) m_notes.pop_back(); // the window found nothing to tell
        return;
    }
    if (listed)
        m_notes.back().text = text.trimmed();
    else
        m_notes.push_back({m_edits, text.trimmed()});
    while (m_notes.size() > kKeptEdits)
        m_notes.pop_front();
    Show(text);
}

QStringList CEditNotes::Notes() const {
    QStringList list;
    for (const CNote& n : m_notes)
        list << n.text;
    return list;
}

void CEditNotes::Clear() {
    m_notes.clear();
    m_shown.clear();
}

void CEditNotes::Show(const QString& text) {
    if (IUserPrompts* prompts = Platform().prompts) prompts->SetStatusText(text.toStdString());
    m_shown = text;
    if (!m_timer) {
        m_timer = new QTimer;
        m_timer->setSingleShot(true);
        QObject::connect(m_timer, &QTimer::timeout, [this] { Withdraw(); });
    }
    m_timer->start(showMs);
}

void CEditNotes::Withdraw() {
    if (m_timer) m_timer->stop();
    if (m_shown.isEmpty()) return;
    const bool stillShown = !statusNow || statusNow() == m_shown;
    m_shown.clear();
    if (!stillShown) return;
    if (IUserPrompts* prompts = Platform().prompts) prompts->SetStatusText(kReady);
}

void ShowLastEditNotes(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("LastEditNotes"));
    dialog.setWindowTitle(QStringLiteral("Last Edit Notes"));
    auto* layout = new QVBoxLayout(&dialog);
    const QStringList notes = CEditNotes::Instance().Notes();
    if (notes.isEmpty()) {
        layout->addWidget(new QLabel(
            QStringLiteral("Every value of the last edits was stored as given."), &dialog));
    } else {
        layout->addWidget(new QLabel(
            QStringLiteral("Values the last edits adjusted or did not take, the latest last:"),
            &dialog));
        auto* list = new QListWidget(&dialog);
        list->addItems(notes);
        list->setWordWrap(true);
        list->scrollToBottom();
        layout->addWidget(list);
        dialog.resize(640, 320);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}
