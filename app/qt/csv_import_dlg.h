// Which rows of a channel list an import takes: all of them by their Location, or renumbered in
// file order into channels 1, 2, 3 ..., and optionally only those whose Location is in a range.
#pragma once

#include "sheets/channel_csv.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

class CCsvImportDlg : public QDialog {
    Q_OBJECT
public:
    CCsvImportDlg(const QString& file, QWidget* parent = nullptr);
    CCsvImportOptions Options() const;

    QCheckBox* Renumber() const { return m_renumber; }
    QCheckBox* Range() const { return m_range; }
    QSpinBox* First() const { return m_first; }
    QSpinBox* Last() const { return m_last; }

private:
    QCheckBox* m_renumber;
    QCheckBox* m_range;
    QSpinBox* m_first;
    QSpinBox* m_last;
};
