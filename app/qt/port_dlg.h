// "Assign Devices": which serial device stands behind each COM port number.
#pragma once

#include <QDialog>

class QComboBox;

class CPortAssignDlg : public QDialog {
    Q_OBJECT
public:
    // port: the COM number chosen at first (1 to 4).
    explicit CPortAssignDlg(unsigned port, QWidget* parent = nullptr);

    unsigned Port() const;
    QString Device() const;
    // Stores the device under "CommPort"/"Device<n>" (an empty device removes the choice).
    void Store() const;

private:
    void ShowAssigned();
    QComboBox* m_port;
    QComboBox* m_device;
};
