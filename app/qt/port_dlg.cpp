#include "app/qt/port_dlg.h"

#include "core/platform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace {
constexpr unsigned kPorts = 4;
std::string KeyOf(unsigned n) { return "Device" + std::to_string(n); }
} // namespace

CPortAssignDlg::CPortAssignDlg(unsigned port, QWidget* parent)
    : QDialog(parent), m_port(new QComboBox(this)), m_device(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Assign Devices"));
    for (unsigned n = 1; n <= kPorts; ++n)
        m_port->addItem(QStringLiteral("COM%1").arg(n), n);
    m_port->setCurrentIndex(port >= 1 && port <= kPorts ? int(port - 1) : 0);
    m_device->setEditable(true);
    m_device->setMinimumContentsLength(24);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        QString label = info.systemLocation();
        if (!info.description().isEmpty())
            label += QStringLiteral("  (%1)").arg(info.description());
        m_device->addItem(label, info.systemLocation());
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("COM &port:"), m_port);
    form->addRow(QStringLiteral("&Device:"), m_device);
    auto* hint =
        new QLabel(QStringLiteral("Choose a serial port of this computer, or type the path "
                                  "of a device (for example a simulator's terminal)."),
                   this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(hint);
    layout->addWidget(buttons);
    connect(m_port, &QComboBox::currentIndexChanged, this, &CPortAssignDlg::ShowAssigned);
    ShowAssigned();
}

unsigned CPortAssignDlg::Port() const { return m_port->currentData().toUInt(); }

QString CPortAssignDlg::Device() const {
    const int index = m_device->findText(m_device->currentText());
    if (index >= 0 && m_device->itemData(index).isValid())
        return m_device->itemData(index).toString();
    return m_device->currentText().trimmed();
}

void CPortAssignDlg::ShowAssigned() {
    const QString path = QString::fromStdString(PortDevice(static_cast<int>(Port())));
    const int index = m_device->findData(path);
    if (index >= 0)
        m_device->setCurrentIndex(index);
    else
        m_device->setEditText(path);
}

void CPortAssignDlg::Store() const {
    if (ISettingsStore* settings = Platform().settings)
        settings->SetString("CommPort", KeyOf(Port()), Device().toStdString());
}
