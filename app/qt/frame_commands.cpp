// The main window's commands: one table gives each command its menu, text, prompt, accelerators
// and flags, in menu order; the menus, the toolbar, the context menus and the accelerators are
// made from it. Below it, the frame's own handlers and their enabling rules. A new command is a
// row here and a handler in the target that owns it (a sheet, the document, the frame, the
// application).
#include "app/qt/main_frame.h"

#include "app/clone_support_doc.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/tool_icons.h"
#include "clone/model_info.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "sheets/sheet_desc.h"
#include "views/command_ids.h"
#include "views/doc_edit.h"
#include "views/edit_notes.h"
#include "views/list_frame.h"

#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>
#include <cstring>
#include <vector>

namespace {

enum CCommandFlag : unsigned {
    kCheckable = 1,      // its item shows a check mark
    kSeparated = 2,      // a separator before its item
    kToolButton = 4,     // on the toolbar, in table order; buttons of two menus are separated
    kSignallingMenu = 8, // an Edit item the signalling sheets' context menu repeats
    kOnOffer = 16,       // shown only while its target offers it (CCmdUI::visible)
    kMenuBarOnly = 32    // an item no context menu repeats
};

struct CCommandDef {
    const char* menu; // null: an accelerator alone
    int id;           // or one of the places below
    const char* text;
    const char* prompt; // status prompt, newline, tool tip
    QList<QKeySequence> keys = {};
    unsigned flags = 0;
};

// Items the frame fills in: the stock configurations and the recent files.
constexpr int kTemplatePlace = -1;
constexpr int kRecentPlace = -2;

constexpr const char* kFile = "&File";
constexpr const char* kEdit = " &Edit"; // context menu 131 of the memory sheets repeats it
constexpr const char* kView = "&View";
constexpr const char* kPort = "COM &Port";
constexpr const char* kClone = "&Clone";
constexpr const char* kModel = "&Model";
constexpr const char* kHelp = "&Help";

QKeySequence Key(QKeyCombination key) { return QKeySequence(key); }

// clang-format off
const std::vector<CCommandDef>& Commands() {
    using Qt::CTRL, Qt::SHIFT, Qt::ALT;
    static const std::vector<CCommandDef> defs = {
        {kFile, cmd::kNew, "&New\tCtrl+N", "Create a new document.\nNew", {Key(CTRL | Qt::Key_N)}, kToolButton},
        {kFile, kTemplatePlace, "New from &Template", ""},
        {kFile, cmd::kOpen, "&Open...\tCtrl+O", "Open an existing document.\nOpen", {Key(CTRL | Qt::Key_O)}, kToolButton},
        {kFile, cmd::kSave, "&Save\tCtrl+S", "Save the active document.\nSave", {Key(CTRL | Qt::Key_S)}, kToolButton},
        {kFile, cmd::kSaveAs, "Save &As...", "Save the active document with a new name.\nSave As"},
        {kFile, cmd::kBackups, "&Backups...",
         "List the backups of reads and writes and open one as a new document.\nBackups"},
        {kFile, cmd::kImportChannels, "&Import Channels (CSV)...",
         "Set channels from a channel list in CHIRP's comma-separated layout.\nImport Channels", {}, kSeparated},
        {kFile, cmd::kExportChannels, "&Export Channels (CSV)...",
         "Write the channels in use as a channel list in CHIRP's comma-separated layout.\n"
         "Export Channels"},
        {kFile, cmd::kCompareFile, "Compare with &File...",
         "List what differs between this document and a clone data file.\nCompare with File", {},
         kSeparated},
        {kFile, cmd::kPrint, "&Print...\tCtrl+P", "Print the active document.\nPrint", {Key(CTRL | Qt::Key_P)},
         kSeparated | kToolButton},
        {kFile, cmd::kPrintPreview, "Print Pre&view...", "Show the pages as they will print.\nPrint Preview"},
        {kFile, cmd::kExportPdf, "&Export PDF...", "Write the printout into a PDF file.\nExport PDF"},
        {kFile, kRecentPlace, "Recent File", "", {}, kSeparated},
        {kFile, cmd::kExit, "E&xit", "Quit the application; prompts to save documents.\nExit", {}, kSeparated},

        {kEdit, cmd::kUndo, "&Undo\tCtrl+Z", "Undo the last action.\nUndo",
         {Key(CTRL | Qt::Key_Z), Key(ALT | Qt::Key_Backspace)}, kSignallingMenu},
        {kEdit, cmd::kRedo, "&Redo\tCtrl+Y", "Redo the previously undone action.\nRedo",
         {Key(CTRL | Qt::Key_Y), Key(CTRL | SHIFT | Qt::Key_Z)}, kSignallingMenu},
        {kEdit, cmd::kEditMemory, "&Edit Memory...\tEnter", "Edit the selected memory channel.\nEdit Memory", {},
         kSeparated | kSignallingMenu},
        {kEdit, cmd::kPrioA, "Prio A", "Make the selected channel priority channel A.\nPrio A", {},
         kSeparated | kCheckable},
        {kEdit, cmd::kPrioB, "Prio B", "Make the selected channel priority channel B.\nPrio B", {}, kCheckable},
        {kEdit, cmd::kEmergency, "Emergency", "Make the selected channel the emergency channel.\nEmergency", {},
         kCheckable},
        {kEdit, cmd::kEmergencyOff, "Emergency OFF", "Turn the emergency channel off.\nEmergency OFF"},
        {kEdit, cmd::kCopy, "Copy\tCtrl+C", "Copy the selection and put it on the Clipboard.\nCopy",
         {Key(CTRL | Qt::Key_C), Key(CTRL | Qt::Key_Insert)}, kSeparated},
        {kEdit, cmd::kPaste, "Paste\tCtrl+V", "Insert Clipboard contents.\nPaste",
         {Key(CTRL | Qt::Key_V), Key(SHIFT | Qt::Key_Insert)}},
        {kEdit, cmd::kClear, "Clear", "Erase the selection.\nClear", {}, kSeparated},
        {kEdit, cmd::kDelete, "Delete\tDelete", "Delete the selected channel.\nDelete", {Key(Qt::Key_Delete)}},
        {kEdit, cmd::kInsert, "Insert\tInsert", "Insert a channel before the selected one.\nInsert",
         {Key(Qt::Key_Insert)}},
        {kEdit, cmd::kFillDown, "Fill Down\tCtrl+D",
         "Copy the value of the first selected row into the other selected rows.\nFill Down",
         {Key(CTRL | Qt::Key_D)}, kOnOffer},
        {kEdit, cmd::kFillSeries, "Fill Series...",
         "Set the selected rows' frequencies in steps from the first one.\nFill Series", {}, kOnOffer},
        {nullptr, cmd::kPasteText, "Paste Text",
         "Paste the clipboard's text as a table of channels.\nPaste Text", {Key(CTRL | SHIFT | Qt::Key_V)}},
        {kEdit, cmd::kLastEditNotes, "Last Edit &Notes...",
         "List the values the last edits adjusted or did not take.\nLast Edit Notes", {},
         kSeparated | kMenuBarOnly},
        {nullptr, cmd::kCut, "Cu&t", "Cut the selection and put it on the Clipboard.\nCut",
         {Key(CTRL | Qt::Key_X), Key(SHIFT | Qt::Key_Delete)}},

        {kView, cmd::kCommonSetting, "&Common Setting...", "Edit the common settings.\nCommon Setting", {},
         kToolButton},
        {kView, cmd::kToolbar, "&Toolbar", "Show or hide the toolbar.\nToggle ToolBar", {}, kSeparated | kCheckable},
        {kView, cmd::kStatusBar, "&Status Bar", "Show or hide the status bar.\nToggle StatusBar", {}, kCheckable},

        {kPort, cmd::kCom1, "COM&1", "Use COM1 for cloning.\nCOM1", {}, kCheckable | kToolButton},
        {kPort, cmd::kCom1 + 1, "COM&2", "Use COM2 for cloning.\nCOM2", {}, kCheckable | kToolButton},
        {kPort, cmd::kCom1 + 2, "COM&3", "Use COM3 for cloning.\nCOM3", {}, kCheckable | kToolButton},
        {kPort, cmd::kCom4, "COM&4", "Use COM4 for cloning.\nCOM4", {}, kCheckable | kToolButton},
        {kPort, cmd::kAssignPorts, "&Assign Devices...",
         "Choose the serial device behind each COM port.\nAssign Devices", {}, kSeparated},
        {kPort, cmd::kSaveTrace, "Save Serial &Trace...",
         "Save every frame of this session's transfers to a file.\nSave Serial Trace", {}, kSeparated},

        {kClone, cmd::kCloneRead, "&Read <- TR", "Read from transceiver.\nClone Read", {}, kToolButton},
        {kClone, cmd::kCloneWrite, "&Write -> TR", "Write to transceiver.\nClone Write", {}, kToolButton},
        {kClone, cmd::kCloneInfo, "&Information...", "Read the transceiver's information.\nInformation", {},
         kSeparated | kToolButton},
        {kClone, cmd::kCompareRadio, "&Compare with Radio...",
         "Read the transceiver and list what differs from this document.\nCompare with Radio", {},
         kSeparated},
        {kClone, cmd::kFleetWrite, "Write to &Several Radios...",
         "Write the document to several radios, each with its own values, and report what each got.\nWrite to Several Radios"},
        {kClone, cmd::kVerifyAfterWrite, "&Verify after Write",
         "Read the transceiver back after a write and compare every byte.\nVerify after Write", {},
         kSeparated | kCheckable},

        {kModel, cmd::kModel[0], kVariantMenuTexts[0], "Switch to \"LMR 1CH (2Tone)\" model.", {}, kCheckable},
        {kModel, cmd::kModel[1], kVariantMenuTexts[1], "Switch to \"PMR 1CH (5Tone/DTMF)\" model.", {}, kCheckable},
        {kModel, cmd::kModel[2], kVariantMenuTexts[2], "Switch to \"LMR 2CH (2Tone)\" model.", {}, kCheckable},
        {kModel, cmd::kModel[3], kVariantMenuTexts[3], "Switch to \"PMR 2CH (5Tone/DTMF)\" model.", {}, kCheckable},
        {kModel, cmd::kModel[4], kVariantMenuTexts[4], "Switch to \"LMR 16CH (2Tone)\" model.", {}, kCheckable},
        {kModel, cmd::kModel[5], kVariantMenuTexts[5], "Switch to \"PMR 16CH (5Tone/DTMF)\" model.", {}, kCheckable},

        {kHelp, cmd::kHelpContents, "&Contents\tF1", "List Help topics.\nHelp Topics", {Key(Qt::Key_F1)}},
        {kHelp, cmd::kAbout, "&About KT-Z30...", "Display program information, version number and copyright.\nAbout",
         {}, kSeparated},
        {nullptr, cmd::kNextPane, "Next Pane", "Switch to the next window pane.\nNext Pane", {Key(Qt::Key_F6)}},
        {nullptr, cmd::kPrevPane, "Previous Pane", "Switch back to the previous window pane.\nPrevious Pane",
         {Key(SHIFT | Qt::Key_F6)}},
    };
    return defs;
}
// clang-format on

QString PromptOf(const char* prompt) { return QString::fromUtf8(prompt).section('\n', 0, 0); }
QString TipOf(const char* prompt) { return QString::fromUtf8(prompt).section('\n', 1, 1); }

bool InMenu(const CCommandDef& def, const char* menu) {
    return def.menu && std::strcmp(def.menu, menu) == 0;
}

// The menu text of Undo or Redo naming the step it would take back or again.
QString UndoActionText(const char* verb, const QString& step, const char* key) {
    return step.isEmpty()
               ? QStringLiteral("&%1\t%2").arg(QLatin1String(verb), QLatin1String(key))
               : QStringLiteral("&%1 %2\t%3").arg(QLatin1String(verb), step, QLatin1String(key));
}

// The recent-file list in the settings.
constexpr const char* kRecent = "Recent File List";
constexpr int kRecentCount = 4;

void StoreRecent(const QStringList& files) {
    for (int i = 1; i <= kRecentCount; ++i)
        Platform().settings->SetString(kRecent, "File" + std::to_string(i),
                                       i <= files.size() ? files[i - 1].toStdString()
                                                         : std::string());
}

} // namespace

QStringList RecentFiles() {
    QStringList files;
    for (int i = 1; i <= kRecentCount; ++i) {
        const std::string f =
            Platform().settings->GetString(kRecent, "File" + std::to_string(i), "");
        if (!f.empty()) files << QString::fromStdString(f);
    }
    return files;
}

void AddRecentFile(const QString& path) {
    if (path.isEmpty()) return;
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > kRecentCount)
        files.removeLast();
    StoreRecent(files);
}

void RemoveRecentFile(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    StoreRecent(files);
}

// --- Menus, toolbar, accelerators ---------------------------------------------------------------

void CCloneSoftMainFrm::CreateActions() {
    for (const CCommandDef& def : Commands()) {
        if (def.id < 0) continue;
        auto* action = new QAction(QString::fromUtf8(def.text), this);
        action->setStatusTip(PromptOf(def.prompt));
        action->setToolTip(TipOf(def.prompt));
        action->setShortcuts(def.keys);
        action->setCheckable((def.flags & kCheckable) != 0);
        const int id = def.id;
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        if (QIcon icon = ToolIcon(id); !icon.isNull()) action->setIcon(icon);
        m_actions[id] = action;
        addAction(action); // accelerators work without a menu entry
        if (def.flags & kOnOffer) m_onOffer.insert(id);
    }
    for (int i = 0; i < kRecentCount; ++i) {
        const int id = cmd::kRecentFirst + i;
        auto* action = new QAction(this);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions[id] = action;
    }
}

void CCloneSoftMainFrm::AddMenuItems(QMenu* menu, const char* title, unsigned flags,
                                     bool offeredOnly) {
    for (const CCommandDef& def : Commands()) {
        if (!InMenu(def, title) || (def.flags & flags) != flags) continue;
        // A context menu holds the items shown only while offered when they are.
        if (offeredOnly && (def.flags & kOnOffer) && !m_actions.at(def.id)->isVisible()) continue;
        if ((def.flags & kMenuBarOnly) && menu->parent() != menuBar()) continue;
        if ((def.flags & kSeparated) && !menu->isEmpty()) menu->addSeparator();
        switch (def.id) {
        case kTemplatePlace:
            m_templateMenu = menu->addMenu(QString::fromUtf8(def.text));
            m_templateMenu->setEnabled(false);
            break;
        case kRecentPlace:
            m_recentAnchor = menu->addAction(QString::fromUtf8(def.text));
            m_recentAnchor->setEnabled(false);
            for (int i = 0; i < kRecentCount; ++i)
                menu->addAction(m_actions.at(cmd::kRecentFirst + i));
            connect(menu, &QMenu::aboutToShow, this, &CCloneSoftMainFrm::UpdateRecentMenu);
            break;
        default:
            menu->addAction(m_actions.at(def.id));
            break;
        }
    }
}

void CCloneSoftMainFrm::CreateMenus() {
    std::vector<QMenu*> menus;
    const char* title = nullptr;
    for (const CCommandDef& def : Commands()) {
        if (!def.menu || (title && std::strcmp(def.menu, title) == 0)) continue;
        title = def.menu;
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
        AddMenuItems(menu, title, 0);
        if (std::strcmp(title, kPort) == 0)
            connect(menu, &QMenu::aboutToShow, this, &CCloneSoftMainFrm::LabelPorts);
        menus.push_back(menu);
    }
    LabelPorts();
    for (QMenu* menu : menus)
        connect(menu, &QMenu::aboutToShow, this, &CCloneSoftMainFrm::UpdateCommandUI);
    UpdateRecentMenu();
}

void CCloneSoftMainFrm::LabelPorts() {
    for (int n = 1; n <= 4; ++n)
        m_actions.at(cmd::kCom1 + n - 1)
            ->setText(
                QStringLiteral("COM&%1 (%2)").arg(n).arg(QString::fromStdString(PortDevice(n))));
}

void CCloneSoftMainFrm::UpdateRecentMenu() {
    const QStringList files = RecentFiles();
    m_recentAnchor->setVisible(files.isEmpty());
    for (int i = 0; i < kRecentCount; ++i) {
        QAction* action = m_actions.at(cmd::kRecentFirst + i);
        action->setVisible(i < files.size());
        if (i < files.size())
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(
                QFileInfo(files[i]).fileName().replace('&', QStringLiteral("&&"))));
    }
}

void CCloneSoftMainFrm::CreateToolBar() {
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
    m_toolBar->setIconSize(QSize(16, 15));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const char* menu = nullptr;
    for (const CCommandDef& def : Commands()) {
        if (!(def.flags & kToolButton)) continue;
        if (menu && std::strcmp(menu, def.menu) != 0) m_toolBar->addSeparator();
        menu = def.menu;
        m_toolBar->addAction(m_actions.at(def.id));
    }
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &CCloneSoftMainFrm::UpdateCommandUI);
}

void CCloneSoftMainFrm::SetTemplateMenu(const QStringList& texts) {
    for (int id = cmd::kTemplateFirst; id <= cmd::kTemplateLast; ++id)
        m_actions.erase(id);
    m_templateMenu->clear();
    for (int i = 0; i < texts.size() && cmd::kTemplateFirst + i <= cmd::kTemplateLast; ++i) {
        const int id = cmd::kTemplateFirst + i;
        auto* action =
            m_templateMenu->addAction(QString(texts[i]).replace('&', QStringLiteral("&&")));
        action->setStatusTip(
            QStringLiteral("Create a new document from this stock configuration."));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions[id] = action;
    }
    m_templateMenu->setEnabled(!texts.isEmpty());
}

void CCloneSoftMainFrm::ShowContextMenu(int menu, const QPoint& globalPos) {
    QMenu popup(this);
    popup.setObjectName(QStringLiteral("ContextMenu%1").arg(menu));
    UpdateCommandUI();
    if (menu == kMenuMemorySheet)
        AddMenuItems(&popup, kEdit, 0, true);
    else if (menu == kMenuSignallingSheet)
        AddMenuItems(&popup, kEdit, kSignallingMenu, true);
    else
        return;
    popup.exec(globalPos);
}

void CCloneSoftMainFrm::UpdateCommandUI() {
    for (auto& [id, action] : m_actions) {
        const CCmdUI ui = RouteUpdate(id);
        action->setEnabled(ui.enabled);
        if (action->isCheckable()) action->setChecked(ui.checked);
        if (m_onOffer.count(id)) action->setVisible(ui.visible);
    }
    QUndoStack* undo = UndoStackOf(m_doc);
    m_actions.at(cmd::kUndo)->setText(UndoActionText("Undo", undo->undoText(), "Ctrl+Z"));
    m_actions.at(cmd::kRedo)->setText(UndoActionText("Redo", undo->redoText(), "Ctrl+Y"));
    // The document's title, marked while it holds changes not saved.
    setWindowTitle(QString::fromStdString(m_doc.GetTitle()) +
                   (m_doc.IsModified() ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - KT-Z30"));
}

// --- The frame's own commands --------------------------------------------------------------------

bool CCloneSoftMainFrm::OnCmdMsg(int id) {
    switch (id) {
    case cmd::kToolbar:
        m_toolBar->setVisible(!m_toolBar->isVisible());
        return true;
    case cmd::kStatusBar:
        m_statusBar->setVisible(!m_statusBar->isVisible());
        return true;
    case cmd::kNextPane:
    case cmd::kPrevPane:
        FocusOtherPane(id == cmd::kNextPane);
        return true;
    case cmd::kUndo:
    case cmd::kRedo: {
        // Not while a dialog or a transfer holds the document.
        CModalScope guard;
        if (!guard.Entered()) return true;
        QUndoStack* undo = UndoStackOf(m_doc);
        if (id == cmd::kUndo)
            undo->undo();
        else
            undo->redo();
        return true;
    }
    default:
        return OnFrameCommand(id);
    }
}

bool CCloneSoftMainFrm::OnUpdateCmdUI(int id, CCmdUI& ui) {
    switch (id) {
    case cmd::kToolbar:
        ui.checked = m_toolBar->isVisibleTo(this);
        return true;
    case cmd::kStatusBar:
        ui.checked = m_statusBar->isVisibleTo(this);
        return true;
    case cmd::kNextPane:
    case cmd::kPrevPane:
        return true;
    case cmd::kUndo:
        ui.enabled = UndoStackOf(m_doc)->canUndo();
        return true;
    case cmd::kRedo:
        ui.enabled = UndoStackOf(m_doc)->canRedo();
        return true;
    default:
        return OnFrameUpdate(id, ui);
    }
}

bool CZ30MainFrame::OnFrameCommand(int id) {
    if (id == cmd::kCommonSetting) {
        OpenCommonSetting(0);
        return true;
    }
    if (id == cmd::kHelpContents) {
        OpenHelpContents();
        return true;
    }
    if (id == cmd::kLastEditNotes) {
        ShowLastEditNotes(this);
        return true;
    }
    for (int v = 0; v < kVariantCount; ++v) {
        if (cmd::kModel[v] == id) {
            ChangeModel(v);
            return true;
        }
    }
    return false;
}

bool CZ30MainFrame::OnFrameUpdate(int id, CCmdUI& ui) {
    if (id == cmd::kCommonSetting || id == cmd::kHelpContents || id == cmd::kLastEditNotes)
        return true;
    for (int v = 0; v < kVariantCount; ++v) {
        if (cmd::kModel[v] == id) {
            ui.checked = m_doc.GetVariant() == v;
            return true;
        }
    }
    return false;
}

void CZ30MainFrame::ChangeModel(int variant) {
    CModelManager* model = m_doc.GetCloneManager()->GetModelManager();
    if (!model || model->GetVariant() == variant) return;
    {
        CModalScope guard;
        if (!guard.Entered()) return;
        if (Platform().prompts->MessageBox(kChangeModelPrompt, "KT-Z30", KtButtons::YesNo,
                                           KtIcon::Exclamation) != KtAnswer::Yes)
            return;
    }
    model->ChangeModel(variant, false); // the change notice rebuilds the views
}
