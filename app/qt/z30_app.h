// The cloning program's application: one running copy, the settings, the document and its
// main frame, the splash window, the About box with its service codes, and the application's
// commands (New, Open, Print, About, Exit, the recent files).
#pragma once

#include "app/qt/prompts_qt.h"
#include "views/command_target.h"

#include <QObject>
#include <QStringList>
#include <memory>

class CAlsaBeeper;
class CCloneTrace;
class CCompareCommands;
class CExchangeCommands;
class CZ30Doc;
class CInstanceGuard;
class CPrintCommands;
class CZ30MainFrame;

// The document template's seven fields.
struct CDocTemplateStrings {
    const char* windowTitle = "KT-Z30";
    const char* docName = "";
    const char* fileNewName = "KT-Z30 Data";
    const char* filterName = "Data Files (*.HXQ)";
    const char* filterExt = ".hxq";
    const char* regFileTypeId = "KT-Z30.Document";
    const char* regFileTypeName = "KT-Z30 Document";
};
inline constexpr CDocTemplateStrings kDocTemplate{};

// The command line: the start code switches maker reserve on; "--port DEVICE" picks the device
// for this run (the remembered port stays); "--trace FILE" records every frame of the run's
// transfers; "--nosplash" leaves the splash out; "--help" and "--version" print and end the
// program before any window opens. File names are not opened.
struct CZ30CommandLineInfo {
    enum class Outcome { Run, Help, Version, Error };
    bool makerReserveAtStart = false;
    bool showSplash = true;
    QString portDevice;
    QString traceFile;
    Outcome outcome = Outcome::Run;
    QString error;                            // with Outcome::Error
    void Parse(const QStringList& arguments); // without the program name
    // The text of --help (needs the application object).
    static QString HelpText();
};

// The document as the first stop after the sheets: COM port, clone commands, Save, Save As.
class CDocCommands final : public ICommandTarget {
public:
    explicit CDocCommands(CZ30Doc& doc) : m_doc(doc) {}
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;
    // After a save under a new name (for the recent files).
    std::function<void(const QString&)> onSaved;

private:
    // Before a write: channels that would transmit on 0 MHz are named and the user asked; true
    // to go on.
    bool WriteWithChannelsWithoutTx();
    CZ30Doc& m_doc;
};

struct CZ30AppOptions {
    bool singleInstance = true; // hold the per-user lock; a second copy ends
    bool useQtSettings = true;  // QSettings("Norq", "KT-Z30"); off: keep Platform().settings
    bool useSerialPorts = true; // QSerialPort devices; off: keep Platform().serialFactory
    bool useSound = true;       // ALSA beeper; off: keep Platform().beeper
};

// Lines of the serial trace the program keeps for "Save Serial Trace..." (the newest).
inline constexpr std::size_t kTraceLinesKept = 50000;

class CZ30App : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    explicit CZ30App(CZ30AppOptions options = {});
    ~CZ30App() override;

    // Start-up; false ends the process (a second copy, or no frame).
    bool InitInstance(const QStringList& arguments);
    bool OpenDocumentFile(const QString& path);
    void EnableMakerReserve();
    void EnableManufacture();
    // The About box (modal, under the guard).
    void OnAppAbout();

    CZ30Doc& Document() const { return *m_doc; }
    CZ30MainFrame* MainFrame() const { return m_frame.get(); }
    // Channel lists in and out, new documents from templates (the File menu).
    CExchangeCommands* Exchange() const { return m_exchange.get(); }
    CCompareCommands* Compare() const { return m_compare.get(); }
    CQtPrompts& Prompts() { return m_prompts; }
    // File > Print, Print Preview and Export PDF.
    CPrintCommands* Printing() const { return m_print.get(); }
    const CZ30CommandLineInfo& CommandLine() const { return m_cmdInfo; }
    CCloneTrace& Trace() const { return *m_trace; }
    // Opens a backup as a new document.
    bool OpenBackup(const QString& path);

    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

    // The lock file that keeps a second copy out (per user).
    static QString InstanceLockPath();

private:
    void OnFileNew();
    void OnFileOpen();
    void OnAssignPorts();
    void OnBackups();
    void OnSaveTrace();

    CZ30AppOptions m_options;
    CZ30CommandLineInfo m_cmdInfo;
    std::unique_ptr<CInstanceGuard> m_lock;
    std::unique_ptr<ISettingsStore> m_settings;
    std::unique_ptr<CAlsaBeeper> m_beeper;
    std::unique_ptr<CCloneTrace> m_trace;
    CQtPrompts m_prompts;
    std::unique_ptr<CZ30Doc> m_doc;
    std::unique_ptr<CDocCommands> m_docCommands;
    std::unique_ptr<CZ30MainFrame> m_frame;
    std::unique_ptr<CPrintCommands> m_print;
    std::unique_ptr<CExchangeCommands> m_exchange;
    std::unique_ptr<CCompareCommands> m_compare;
};
