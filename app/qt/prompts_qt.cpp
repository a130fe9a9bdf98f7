#include "app/qt/prompts_qt.h"

#include <QApplication>
#include <QMessageBox>

std::string MessageText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') continue;
            out.push_back('\n');
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

KtAnswer CQtPrompts::MessageBox(const std::string& text, const std::string& caption,
                                KtButtons buttons, KtIcon icon) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(MessageText(text)));
    switch (icon) {
    case KtIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case KtIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case KtIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case KtIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case KtIcon::None:
        break;
    }
    switch (buttons) {
    case KtButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case KtButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case KtButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case KtButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // A box must take the mouse even when it comes up under the wait cursor.
    const bool waiting = QApplication::overrideCursor() != nullptr;
    if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting) QApplication::restoreOverrideCursor();
    switch (answer) {
    case QMessageBox::Yes:
        return KtAnswer::Yes;
    case QMessageBox::No:
        return KtAnswer::No;
    case QMessageBox::Ok:
        return KtAnswer::Ok;
    default:
        // Escape or the close button: Cancel where there is one, else the only answer.
        if (buttons == KtButtons::Ok) return KtAnswer::Ok;
        if (buttons == KtButtons::YesNo) return KtAnswer::No;
        return KtAnswer::Cancel;
    }
}

void CQtPrompts::SetStatusText(const std::string& text) {
    if (statusSink) statusSink(text);
}

void CQtPrompts::BeginWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void CQtPrompts::EndWaitCursor() {
    if (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}
