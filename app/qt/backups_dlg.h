// "Backups": the images every read and every write left, newest first and sortable by each
// column; Open takes the one chosen as a new document.
#pragma once

#include "clone/clone_backups.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QPushButton;
class QTreeWidget;

class CBackupsDlg : public QDialog {
    Q_OBJECT
public:
    enum Column { kDate, kOperation, kVariant, kComment };

    // keep: whether a backup is made of every read and write (the check box).
    CBackupsDlg(const std::vector<CBackupEntry>& backups, const QString& folder, bool keep,
                QWidget* parent = nullptr);

    // The file to open (after Open or a double click), else empty.
    QString Chosen() const { return m_chosen; }
    bool KeepBackups() const;
    QTreeWidget* List() const { return m_list; }
    QPushButton* OpenButton() const { return m_open; }

private:
    void OpenCurrent();

    QTreeWidget* m_list;
    QCheckBox* m_keep;
    QPushButton* m_open;
    QString m_chosen;
};
