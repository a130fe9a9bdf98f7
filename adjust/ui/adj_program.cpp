#include "adjust/ui/adj_program.h"

#include "adjust/adjust_app.h"
#include "adjust/common.h"
#include "adjust/ui/frm_main.h"
#include "platform/beeper_alsa.h"
#include "platform/instance_guard.h"
#include "platform/serial_device.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>

#include <cstdio>

// --- clsAdjCommandLine ---------------------------------------------------------------------------

clsAdjCommandLine::clsAdjCommandLine()
    : m_portOption(QStringList{QStringLiteral("port")},
                   QStringLiteral("Use DEVICE (such as /dev/ttyUSB0) instead of the numbered "
                                  "ports for this run."),
                   QStringLiteral("DEVICE")) {
    m_parser.setApplicationDescription(QStringLiteral(
        "KT-Z30 ADJ: the NQ-Z30 service adjust utility. Connect reads the radio; the console "
        "sends every change to it at once."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_portOption);
}

bool clsAdjCommandLine::Parse(const QStringList& arguments) {
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        return false;
    }
    if (!m_parser.positionalArguments().isEmpty()) {
        m_error =
            QStringLiteral("Unexpected argument '%1'.").arg(m_parser.positionalArguments()[0]);
        return false;
    }
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all")))
        return false;
    if (m_parser.isSet(QStringLiteral("version"))) {
        m_version = true;
        return false;
    }
    m_port = m_parser.value(m_portOption);
    return true;
}

QString clsAdjCommandLine::Output() const {
    if (!m_error.isEmpty())
        return QStringLiteral("ktz30adj: %1\nTry 'ktz30adj --help'.\n").arg(m_error);
    if (m_version)
        return QStringLiteral("%1 %2 (%3)\n")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 QString::fromLatin1(Common::kAppTitle));
    return m_parser.helpText();
}

// --- clsQtPrompts --------------------------------------------------------------------------------

KtAnswer clsQtPrompts::MessageBox(const std::string& text, const std::string& caption,
                                  KtButtons buttons, KtIcon icon) {
    const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                       QMessageBox::Warning, QMessageBox::Information,
                                       QMessageBox::Question};
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    switch (buttons) {
    case KtButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case KtButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case KtButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    default:
        break;
    }
    QMessageBox box(
        icons[static_cast<int>(icon)], QString::fromStdString(caption),
        QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), set,
        parent);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return KtAnswer::Cancel;
    case QMessageBox::Yes:
        return KtAnswer::Yes;
    case QMessageBox::No:
        return KtAnswer::No;
    default:
        return KtAnswer::Ok;
    }
}

void clsQtPrompts::BeginWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }

void clsQtPrompts::EndWaitCursor() { QGuiApplication::restoreOverrideCursor(); }

// --- clsAdjProgram -------------------------------------------------------------------------------

clsAdjProgram::clsAdjProgram(clsAdjOptions options) : m_options(options) {}

clsAdjProgram::~clsAdjProgram() {
    if (m_window) m_window->close();
    m_window.reset();
    m_app.reset();
    ResetPlatform();
}

bool clsAdjProgram::Start(const QString& portDevice) {
    CPlatformServices& p = Platform();
    p.prompts = &m_prompts;
    if (m_options.singleInstance) {
        m_guard = std::make_unique<CInstanceGuard>(QString::fromLatin1(kLockName));
        if (!m_guard->TryLock()) {
            Common::MsgBox("Cannot execute KT-Z30 ADJ Rev.1.0 repeatedly.\r\n"
                           "KT-Z30 ADJ Rev.1.0 is already executing.");
            m_exitCode = 1;
            return false;
        }
    }
    if (m_options.useSound) {
        m_beeper = std::make_unique<CAlsaBeeper>();
        p.beeper = m_beeper.get();
    }
    p.serialFactory = [] { return MakeQtSerialDevice(); };
    m_app = std::make_unique<clsAdjustApp>();
    // "KTZ30ADJ.rs" holds the options and the devices behind the port numbers.
    m_settings = std::make_unique<CQtSettingsStore>(m_app->com.profMain.GetMyProfile());
    m_settings->SetReporter([](const std::string& problem) {
        std::fprintf(stderr, "ktz30adj: %s\n", problem.c_str());
    });
    p.settings = m_settings.get();
    m_app->com.profMain.store = m_settings.get();
    if (!portDevice.isEmpty()) m_app->com.SetPortDevice(portDevice.toStdString());
    if (!m_app->Startup()) {
        m_settings->Sync();
        m_exitCode = 1;
        return false;
    }
    m_window = std::make_unique<frmMain>(*m_app);
    m_prompts.parent = m_window.get();
    m_window->show();
    m_window->Start();
    return true;
}
