// The start of ktz30adj: its command line, the one running copy, the platform services, the
// settings file "KTZ30ADJ.rs", "Const.ini" and the main window.
#pragma once

#include "core/platform.h"

#include <QCommandLineParser>
#include <QString>
#include <memory>

class CAlsaBeeper;
class CInstanceGuard;
class CQtSettingsStore;
class clsAdjustApp;
class frmMain;
class QWidget;

// "ktz30adj [--port DEVICE]", "--help" and "--version". Parsing needs no application object;
// printing the help text does.
class clsAdjCommandLine {
public:
    clsAdjCommandLine();
    // arguments with the program name first. True when the program should run.
    bool Parse(const QStringList& arguments);
    // For a run that ends at once: the text for standard output or standard error, the exit code.
    QString Output() const;
    bool ToStdErr() const { return !m_error.isEmpty(); }
    int ExitCode() const { return m_error.isEmpty() ? 0 : 2; }
    QString PortDevice() const { return m_port; }

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_portOption;
    QString m_error;
    QString m_port;
    bool m_version = false;
};

// Message boxes of the adjust utility (warning icon and the program's title come from the
// caller), the wait cursor.
class clsQtPrompts final : public IUserPrompts {
public:
    QWidget* parent = nullptr;
    KtAnswer MessageBox(const std::string& text, const std::string& caption, KtButtons buttons,
                        KtIcon icon) override;
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
};

struct clsAdjOptions {
    bool singleInstance = true; // a second copy shows the message and ends
    bool useSound = true;       // beeps through ALSA; off: Platform().beeper as it is
};

class clsAdjProgram {
public:
    static constexpr const char* kLockName = "ktz30adj-app.lock";

    explicit clsAdjProgram(clsAdjOptions options = {});
    ~clsAdjProgram();
    clsAdjProgram(const clsAdjProgram&) = delete;
    clsAdjProgram& operator=(const clsAdjProgram&) = delete;

    // The start of the program; false when it must end (another copy runs, no usable
    // "Const.ini").
    // portDevice: a device opened instead of the numbered ports for this run.
    bool Start(const QString& portDevice = {});
    // The exit status of a start that failed: 1 without a usable "Const.ini", else 0.
    int ExitCode() const { return m_exitCode; }
    clsAdjustApp& App() { return *m_app; }
    frmMain* Window() { return m_window.get(); }
    CQtSettingsStore* Settings() { return m_settings.get(); }

private:
    clsAdjOptions m_options;
    std::unique_ptr<CInstanceGuard> m_guard;
    clsQtPrompts m_prompts;
    std::unique_ptr<CAlsaBeeper> m_beeper;
    std::unique_ptr<clsAdjustApp> m_app;
    std::unique_ptr<CQtSettingsStore> m_settings;
    std::unique_ptr<frmMain> m_window;
    int m_exitCode = 0;
};
