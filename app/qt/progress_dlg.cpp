#include "app/qt/progress_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

CCloneProgressDlg::CCloneProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      m_bar(new QProgressBar(this)), m_percent(new QLabel(QStringLiteral(" 0 %"), this)),
      m_cancelButton(new QPushButton(tr("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Cloning"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_percent->hide();
    m_cancelButton->hide();
    m_cancelButton->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(m_bar);
    setFixedSize(260, 48);
    // Escape cancels wherever the keyboard focus is while the transfer runs.
    qApp->installEventFilter(this);
}

void CCloneProgressDlg::SetPercent(int percent) {
    percent = qBound(0, percent, 100);
    m_bar->setValue(percent);
    const QString text = QString::asprintf("%d%c", percent == 100 ? 100 : percent % 100, '%');
    if (m_percent->text() != text) m_percent->setText(text);
}

int CCloneProgressDlg::Percent() const { return m_bar->value(); }

QString CCloneProgressDlg::PercentText() const { return m_percent->text(); }

bool CCloneProgressDlg::TakeCancelRequest() {
    const bool was = m_cancel;
    m_cancel = false;
    return was;
}

bool CCloneProgressDlg::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_cancel = true;
        return true;
    }
    return false;
}

void CCloneProgressDlg::closeEvent(QCloseEvent* event) {
    m_cancel = true;
    event->ignore();
}

CQtTransferProgress::CQtTransferProgress(QWidget* mainWindow)
    : m_main(mainWindow), m_dialog(new CCloneProgressDlg) {
    if (m_main) {
        // Kept above the main window by the window manager, though not its child (a child of
        // the disabled main window would be disabled with it).
        m_dialog->winId();
        if (QWidget* top = m_main->window(); top->windowHandle())
            m_dialog->windowHandle()->setTransientParent(top->windowHandle());
        const QRect frame = m_main->frameGeometry();
        m_dialog->move(frame.center() - QPoint(m_dialog->width() / 2, m_dialog->height() / 2));
        m_main->setEnabled(false);
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    QApplication::processEvents();
}

CQtTransferProgress::~CQtTransferProgress() {
    delete m_dialog;
    if (m_main) {
        m_main->setEnabled(true);
        m_main->activateWindow();
    }
}

void CQtTransferProgress::SetPercent(int percent) {
    PumpMessages();
    m_dialog->SetPercent(percent);
}

void CQtTransferProgress::PumpMessages() { QApplication::processEvents(QEventLoop::AllEvents); }

bool CQtTransferProgress::TakeCancelRequest() {
    PumpMessages();
    return m_dialog->TakeCancelRequest();
}
