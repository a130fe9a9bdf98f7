// The progress window of a clone read or write: a bar alone; Escape asks to cancel.
#pragma once

#include "core/platform.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;

class CCloneProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CCloneProgressDlg(QWidget* parent = nullptr);

    void SetPercent(int percent);
    int Percent() const;
    QString PercentText() const;
    // True when cancel was asked for since the last call; clears the request.
    bool TakeCancelRequest();
    bool CancelRequested() const { return m_cancel; }

    // Escape or the close button: only asks to cancel; the transfer ends the dialog.
    void reject() override { m_cancel = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QProgressBar* m_bar;
    QLabel* m_percent;
    QPushButton* m_cancelButton;
    bool m_cancel = false;
};

// The transfer's progress on the dialog: shows it over the main window, which stays disabled
// until the transfer ends.
class CQtTransferProgress final : public ITransferProgress {
public:
    explicit CQtTransferProgress(QWidget* mainWindow);
    ~CQtTransferProgress() override;
    CQtTransferProgress(const CQtTransferProgress&) = delete;
    CQtTransferProgress& operator=(const CQtTransferProgress&) = delete;

    void SetPercent(int percent) override;
    void PumpMessages() override;
    bool TakeCancelRequest() override;
    CCloneProgressDlg* Dialog() const { return m_dialog; }

private:
    QPointer<QWidget> m_main;
    CCloneProgressDlg* m_dialog;
};
