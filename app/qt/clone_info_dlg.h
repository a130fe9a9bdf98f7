// "Information": who the radio said it is, after a successful clone info.
#pragma once

#include <QDialog>

class CModelInfo;
class QLabel;

struct CCloneInfoFields {
    QString model;
    QString revision;
    QString comment;
    QString pllRef;
    QString service; // Manufacture mode only: transceiver type and faults
};

// The fields for a radio's record; service text only when manufacture is on.
CCloneInfoFields CloneInfoFields(const CModelInfo& radio, bool manufacture);

class CCloneInfoDlg : public QDialog {
    Q_OBJECT
public:
    CCloneInfoDlg(const CCloneInfoFields& fields, QWidget* parent = nullptr);
    const CCloneInfoFields& Fields() const { return m_fields; }

private:
    CCloneInfoFields m_fields;
};
