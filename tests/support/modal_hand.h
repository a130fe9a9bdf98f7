// A hand that answers the modal windows of a program under test (offscreen): it records what
// they say and answers them from outside their own event loop.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>

// Answers every modal window that comes up: handler decides (true = handled), else the window
// is rejected. Records the window titles and texts it saw.
class ModalHand {
public:
    std::function<bool(QWidget*)> handler;
    QStringList seen;

    ModalHand() {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    static void Click(QWidget* box, QMessageBox::StandardButton which) {
        if (auto* mb = qobject_cast<QMessageBox*>(box)) mb->button(which)->click();
    }

private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || m_handled.contains(modal)) return;
        m_handled << modal;
        QString text = modal->windowTitle();
        if (auto* mb = qobject_cast<QMessageBox*>(modal)) text += QStringLiteral("|") + mb->text();
        seen << text;
        // Answer outside this timer, so that a window opened by the answer is seen too.
        QPointer<QWidget> guard(modal);
        QTimer::singleShot(0, [this, guard] {
            if (!guard) return;
            if (handler && handler(guard)) return;
            if (auto* dialog = qobject_cast<QDialog*>(guard.data())) dialog->reject();
        });
    }
    QTimer m_timer;
    QList<QPointer<QWidget>> m_handled;
};
