#include "app/qt/z30_app.h"

#include "app/clone_support_doc.h"
#include "app/qt/about_dlg.h"
#include "app/qt/backups_dlg.h"
#include "app/qt/clone_info_dlg.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/compare_cmds.h"
#include "app/qt/exchange_cmds.h"
#include "app/qt/fleet_dlg.h"
#include "app/qt/key_codes.h"
#include "app/qt/main_frame.h"
#include "app/qt/port_dlg.h"
#include "app/qt/progress_dlg.h"
#include "app/qt/splash_wnd.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/clone_trace.h"
#include "clone/model_manager.h"
#include "platform/beeper_alsa.h"
#include "platform/instance_guard.h"
#include "platform/serial_device.h"
#include "platform/settings_store.h"
#include "sheets/channel_tx.h"
#include "views/command_ids.h"
#include "views/doc_edit.h"
#include "views/edit_notes.h"
#include "views/print_commands.h"
#include "views/save_name.h"
#include "views/setting_dlg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUndoStack>

#include <cstdio>

namespace {
QString FileFilter() { return QStringLiteral("Data Files (*.HXQ *.hxq);;All Files (*)"); }
} // namespace

// --- CZ30CommandLineInfo -------------------------------------------------------------------------

namespace {
// The options of ktz30; the start code is not among them (it is taken out before parsing).
struct CParser {
    QCommandLineParser parser;
    QCommandLineOption port{QStringLiteral("port"),
                            QStringLiteral("The cloning port for this run: a device such as "
                                           "/dev/ttyUSB0; the remembered port stays."),
                            QStringLiteral("DEVICE")};
    QCommandLineOption noSplash{QStringLiteral("nosplash"),
                                QStringLiteral("Start without the splash window.")};
    QCommandLineOption trace{QStringLiteral("trace"),
                             QStringLiteral("Record every frame of the transfers in FILE: time, "
                                            "direction, command, result and bytes."),
                             QStringLiteral("FILE")};
    QCommandLineOption help = parser.addHelpOption();
    QCommandLineOption version = parser.addVersionOption();
    CParser() {
        parser.setApplicationDescription(QStringLiteral("KT-Z30: the NQ-Z30 cloning program."));
        parser.addOption(port);
        parser.addOption(noSplash);
        parser.addOption(trace);
        parser.addPositionalArgument(QStringLiteral("file"),
                                     QStringLiteral("Ignored: the program starts with a new "
                                                    "document (open files with File > Open)."),
                                     QStringLiteral("[file]"));
    }
};
} // namespace

void CZ30CommandLineInfo::Parse(const QStringList& arguments) {
    QStringList rest{QStringLiteral("ktz30")};
    for (const QString& arg : arguments) {
        if (IsStartCode(arg.toStdString()))
            makerReserveAtStart = true;
        else
            rest << arg;
    }
    CParser p;
    const bool ok = p.parser.parse(rest);
    if (p.parser.isSet(p.help) || p.parser.isSet(QStringLiteral("help-all")))
        outcome = Outcome::Help;
    else if (p.parser.isSet(p.version))
        outcome = Outcome::Version;
    else if (!ok) {
        outcome = Outcome::Error;
        error = p.parser.errorText();
        return;
    }
    if (p.parser.isSet(p.port)) portDevice = p.parser.value(p.port);
    if (p.parser.isSet(p.trace)) traceFile = p.parser.value(p.trace);
    showSplash = !p.parser.isSet(p.noSplash);
}

QString CZ30CommandLineInfo::HelpText() { return CParser().parser.helpText(); }

// --- CDocCommands --------------------------------------------------------------------------------

bool CDocCommands::WriteWithChannelsWithoutTx() {
    const std::vector<int> zero = ChannelsWithoutTx(m_doc.GetRoot(), m_doc.GetVariant());
    if (zero.empty()) return true;
    CModalScope guard;
    if (!guard.Entered()) return false;
    return Platform().prompts->MessageBox(
               ChannelsWithoutTxText(zero) + ".\n\nWrite to the transceiver all the same?",
               "KT-Z30", KtButtons::YesNo, KtIcon::Exclamation) == KtAnswer::Yes;
}

bool CDocCommands::OnCmdMsg(int id) {
    if (id >= cmd::kCom1 && id <= cmd::kCom4) {
        m_doc.OnSetPort(static_cast<unsigned>(id - cmd::kCom1 + 1));
        return true;
    }
    switch (id) {
    case cmd::kCloneRead:
        m_doc.OnCloneRead();
        return true;
    case cmd::kCloneWrite:
        if (WriteWithChannelsWithoutTx()) m_doc.OnCloneWrite();
        return true;
    case cmd::kCloneInfo:
        m_doc.OnCloneInfo();
        return true;
    case cmd::kVerifyAfterWrite:
        if (CCloneRsIoManager* io = m_doc.GetCloneManager()->GetCloneRsIoManager())
            io->SetVerifyAfterWrite(!io->VerifyAfterWrite(), true);
        return true;
    case cmd::kSave:
        if (m_doc.OnFileSave() && onSaved) onSaved(QString::fromStdString(m_doc.GetPathName()));
        return true;
    case cmd::kSaveAs:
        if (m_doc.OnFileSaveAs() && onSaved) onSaved(QString::fromStdString(m_doc.GetPathName()));
        return true;
    default:
        return false;
    }
}

bool CDocCommands::OnUpdateCmdUI(int id, CCmdUI& ui) {
    if (id >= cmd::kCom1 && id <= cmd::kCom4) {
        const CCloneRsIoManager* io = m_doc.GetCloneManager()->GetCloneRsIoManager();
        // A device given for this run stands in for the numbered ports.
        ui.checked = io && io->PortName().rfind("COM", 0) == 0 &&
                     m_doc.IsPortChecked(static_cast<unsigned>(id - cmd::kCom1 + 1));
        return true;
    }
    switch (id) {
    case cmd::kVerifyAfterWrite: {
        const CCloneRsIoManager* io = m_doc.GetCloneManager()->GetCloneRsIoManager();
        ui.checked = io && io->VerifyAfterWrite();
        return true;
    }
    case cmd::kCloneRead:
    case cmd::kCloneWrite:
    case cmd::kCloneInfo:
    case cmd::kSave:
    case cmd::kSaveAs:
        return true;
    default:
        return false;
    }
}

// --- CZ30App -------------------------------------------------------------------------------------

CZ30App::CZ30App(CZ30AppOptions options)
    : m_options(options), m_trace(std::make_unique<CCloneTrace>()) {
    m_trace->KeepInMemory(kTraceLinesKept);
}

CZ30App::~CZ30App() {
    CEditNotes::Instance().statusNow = nullptr;
    m_print.reset();
    m_compare.reset();
    m_exchange.reset();
    m_frame.reset();
    m_docCommands.reset();
    m_doc.reset();
    if (Platform().prompts == &m_prompts) ResetPlatform();
}

namespace {
const QString kLockName = QStringLiteral("ktz30-app.lock");
} // namespace

QString CZ30App::InstanceLockPath() { return CInstanceGuard::LockPath(kLockName); }

bool CZ30App::InitInstance(const QStringList& arguments) {
    if (m_options.singleInstance) {
        m_lock = std::make_unique<CInstanceGuard>(kLockName);
        if (!m_lock->TryLock()) return false; // another copy runs: end without a word
    }
    CPlatformServices& p = Platform();
    if (m_options.useQtSettings) {
        auto settings = std::make_unique<CQtSettingsStore>();
        settings->SetReporter([](const std::string& problem) {
            std::fprintf(stderr, "ktz30: %s\n", problem.c_str());
        });
        m_settings = std::move(settings);
        p.settings = m_settings.get();
    }
    if (m_options.useSound) {
        m_beeper = std::make_unique<CAlsaBeeper>();
        p.beeper = m_beeper.get();
    }
    if (m_options.useSerialPorts) p.serialFactory = [] { return MakeQtSerialDevice(); };
    p.prompts = &m_prompts;
    p.progressFactory = [this]() -> std::unique_ptr<ITransferProgress> {
        return std::make_unique<CQtTransferProgress>(m_frame.get());
    };

    m_cmdInfo.Parse(arguments);
    RegisterSettingForms();
    // Every window of the program, the parentless splash and progress windows among them.
    QApplication::setWindowIcon(ProductIcon());

    m_doc = std::make_unique<CZ30Doc>();
    m_docCommands = std::make_unique<CDocCommands>(*m_doc);
    // A save makes the state saved the undo history's clean one.
    m_docCommands->onSaved = [this](const QString& path) {
        AddRecentFile(path);
        UndoStackOf(*m_doc)->setClean();
    };
    std::string traceError;
    if (!m_cmdInfo.traceFile.isEmpty())
        m_trace->OpenFile(QDir::toNativeSeparators(m_cmdInfo.traceFile).toStdString(), &traceError);
    if (CCloneRsIoManager* io = m_doc->GetCloneManager()->GetCloneRsIoManager()) {
        if (!m_cmdInfo.portDevice.isEmpty()) io->SetPortName(m_cmdInfo.portDevice.toStdString());
        io->Engine().SetFrameObserver(m_trace.get());
        io->SetBackupFolder(CloneBackupFolder());
        io->onShowInfo = [this](const CModelInfo& radio, bool manufacture) {
            CCloneInfoDlg dialog(CloneInfoFields(radio, manufacture), m_frame.get());
            dialog.exec();
        };
    }

    m_frame = std::make_unique<CZ30MainFrame>(*m_doc, m_docCommands.get(), this);
    m_print = std::make_unique<CPrintCommands>(*m_doc, m_frame.get());
    m_prompts.SetParent(m_frame.get());
    m_prompts.statusSink = [this](const std::string& text) {
        if (m_frame) m_frame->SetStatusText(QString::fromStdString(MessageText(text)));
    };
    CEditNotes::Instance().Clear();
    CEditNotes::Instance().statusNow = [this] {
        return m_frame ? m_frame->StatusBar()->PaneText(CColorStatusBar::kPrompt) : QString();
    };
    m_doc->askSavePath = [this]() -> std::string {
        return SaveNameWithSuffix(QFileDialog::getSaveFileName(
                                      m_frame.get(), QStringLiteral("Save As"),
                                      QString::fromStdString(m_doc->GetTitle()), FileFilter()),
                                  QString::fromLatin1(kDocTemplate.filterExt))
            .toStdString();
    };
    m_exchange = std::make_unique<CExchangeCommands>(*m_doc, m_frame.get());
    m_frame->SetTemplateMenu(m_exchange->TemplateMenuTexts());
    m_compare = std::make_unique<CCompareCommands>(*m_doc, m_frame.get());
    m_frame->RebuildTree();
    CSplashWnd::ShowSplashScreen(m_frame.get(), CCloneSoftMainFrm::kSplashMs, m_cmdInfo.showSplash);
    if (m_frame->StartMaximized())
        m_frame->showMaximized();
    else
        m_frame->show();
    m_frame->FocusSheet();
    if (!traceError.empty()) {
        CSplashWnd::HideSplashScreen();
        m_prompts.MessageBox("The serial trace is kept for this session only: " + traceError,
                             "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
    }
    if (m_cmdInfo.makerReserveAtStart) {
        CSplashWnd::HideSplashScreen();
        EnableMakerReserve();
    }
    return true;
}

bool CZ30App::OpenDocumentFile(const QString& path) {
    if (path.isEmpty()) return false;
    if (!m_doc->OnOpenDocument(QDir::toNativeSeparators(path).toStdString())) {
        if (!QFileInfo::exists(path)) RemoveRecentFile(path);
        return false;
    }
    AddRecentFile(QString::fromStdString(m_doc->GetPathName()));
    m_frame->UpdateCommandUI(); // the new name; the change notice has rebuilt the views
    return true;
}

bool CZ30App::OpenBackup(const QString& path) {
    if (!m_doc->OnOpenAsNew(QDir::toNativeSeparators(path).toStdString())) return false;
    m_frame->UpdateCommandUI(); // the untitled name; the change notice has rebuilt the views
    return true;
}

void CZ30App::EnableMakerReserve() {
    CCloneManager* hub = m_doc->GetCloneManager();
    CModelManager* model = hub->GetModelManager();
    if (!model || model->IsMakerReserve()) return;
    if (hub->ActivateMakerReserve() != 1) return;
    CColorStatusBar* bar = m_frame->StatusBar();
    m_frame->SetModeText(QStringLiteral("****** Maker Reserved ******"));
    bar->SetPaneColors(CCloneSoftMainFrm::kModePane, QColor(128, 0, 0), Qt::black);
    bar->update();
    m_frame->RebuildTree();
}

void CZ30App::EnableManufacture() {
    CCloneManager* hub = m_doc->GetCloneManager();
    CModelManager* model = hub->GetModelManager();
    if (!model || model->IsManufacture()) return;
    if (hub->ActivateManufacture() == 2) return;
    m_frame->RebuildTree();
}

void CZ30App::OnAppAbout() {
    CModalScope guard;
    if (!guard.Entered()) return;
    CAboutDlg about(m_frame.get());
    about.onCode = [this](CKeyCodeBuffer::Match match) {
        switch (match) {
        case CKeyCodeBuffer::Match::MakerReserve:
            EnableMakerReserve();
            break;
        case CKeyCodeBuffer::Match::Manufacture:
            EnableManufacture();
            break;
        case CKeyCodeBuffer::Match::Information:
            m_prompts.MessageBox(CKeyCodeBuffer::InformationText(), "KT-Z30", KtButtons::Ok,
                                 KtIcon::Information);
            break;
        case CKeyCodeBuffer::Match::None:
            break;
        }
    };
    about.exec();
}

void CZ30App::OnFileNew() {
    m_doc->OnFileNew(); // the change notice rebuilds the views
}

void CZ30App::OnFileOpen() {
    CModalScope guard;
    if (!guard.Entered()) return;
    const QString path = QFileDialog::getOpenFileName(m_frame.get(), QStringLiteral("Open"),
                                                      QString(), FileFilter());
    OpenDocumentFile(path);
}

void CZ30App::OnAssignPorts() {
    CModalScope guard;
    if (!guard.Entered()) return;
    CCloneRsIoManager* io = m_doc->GetCloneManager()->GetCloneRsIoManager();
    CPortAssignDlg dialog(io ? io->GetPort() : 1, m_frame.get());
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.Store();
    m_doc->OnSetPort(dialog.Port());
}

void CZ30App::OnBackups() {
    CModalScope guard;
    if (!guard.Entered()) return;
    CCloneRsIoManager* io = m_doc->GetCloneManager()->GetCloneRsIoManager();
    if (!io) return;
    const CBackupStore store(io->BackupFolder());
    CBackupsDlg dialog(store.List(), QString::fromStdString(store.Folder()), io->Backups(),
                       m_frame.get());
    dialog.exec();
    if (dialog.KeepBackups() != io->Backups()) io->SetBackups(dialog.KeepBackups(), true);
    if (!dialog.Chosen().isEmpty()) OpenBackup(dialog.Chosen());
}

namespace {

QString FleetProgram() {
    // Beside the program once installed; in the build tree, where the build puts it.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/ktz30cli");
    if (QFileInfo(beside).isExecutable()) return beside;
    if (QFileInfo(QStringLiteral(KT_KTZ30CLI_BUILT)).isExecutable())
        return QStringLiteral(KT_KTZ30CLI_BUILT);
    return QStringLiteral("ktz30cli");
}

} // namespace

void CZ30App::OnFleetWrite() {
    CModalScope guard;
    if (!guard.Entered()) return;
    CFleetDlg dialog(*m_doc, FleetProgram(), m_frame.get());
    dialog.exec();
}

void CZ30App::OnSaveTrace() {
    CModalScope guard;
    if (!guard.Entered()) return;
    QString path = QFileDialog::getSaveFileName(
        m_frame.get(), QStringLiteral("Save Serial Trace"), QStringLiteral("ktz30-trace.txt"),
        QStringLiteral("Text Files (*.txt);;All Files (*)"));
    if (path.isEmpty()) return;
    std::string error;
    if (m_trace->SaveTo(QDir::toNativeSeparators(path).toStdString(), &error)) {
        m_frame->SetStatusText(QStringLiteral(" Serial trace saved: %1 lines.")
                                   .arg(static_cast<qulonglong>(m_trace->Lines().size())));
        return;
    }
    m_prompts.MessageBox("The serial trace could not be saved:\n" + path.toStdString() + "\n" +
                             error,
                         "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
}

bool CZ30App::OnCmdMsg(int id) {
    if (m_exchange && m_exchange->OnCmdMsg(id)) return true;
    if (m_compare && m_compare->OnCmdMsg(id)) return true;
    if (id >= cmd::kRecentFirst && id <= cmd::kRecentLast) {
        const QStringList files = RecentFiles();
        const int index = id - cmd::kRecentFirst;
        if (index < files.size()) OpenDocumentFile(files[index]);
        return true;
    }
    switch (id) {
    case cmd::kNew:
        OnFileNew();
        return true;
    case cmd::kFileNew: {
        CModalScope guard;
        if (guard.Entered()) m_doc->OnNewDocument();
        return true;
    }
    case cmd::kOpen:
        OnFileOpen();
        return true;
    case cmd::kAbout:
        OnAppAbout();
        return true;
    case cmd::kExit:
        m_frame->close();
        return true;
    case cmd::kAssignPorts:
        OnAssignPorts();
        return true;
    case cmd::kBackups:
        OnBackups();
        return true;
    case cmd::kFleetWrite:
        OnFleetWrite();
        return true;
    case cmd::kSaveTrace:
        OnSaveTrace();
        return true;
    default:
        return m_print && m_print->OnCmdMsg(id);
    }
}

bool CZ30App::OnUpdateCmdUI(int id, CCmdUI& ui) {
    if (m_exchange && m_exchange->OnUpdateCmdUI(id, ui)) return true;
    if (m_compare && m_compare->OnUpdateCmdUI(id, ui)) return true;
    if (id >= cmd::kRecentFirst && id <= cmd::kRecentLast) return true;
    switch (id) {
    case cmd::kNew:
    case cmd::kFileNew:
    case cmd::kOpen:
    case cmd::kAbout:
    case cmd::kExit:
    case cmd::kAssignPorts:
    case cmd::kBackups:
    case cmd::kSaveTrace:
    case cmd::kFleetWrite:
        return true;
    default:
        return m_print && m_print->OnUpdateCmdUI(id, ui);
    }
}
