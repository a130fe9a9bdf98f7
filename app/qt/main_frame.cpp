#include "app/qt/main_frame.h"

#include "app/clone_support_doc.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/help_window.h"
#include "app/qt/splash_wnd.h"
#include "app/qt/tool_icons.h"
#include "clone/model_info.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "sheets/mch_rows.h"
#include "sheets/sheet_desc.h"
#include "views/command_ids.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tree_items.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <algorithm>

namespace {

constexpr const char* kPlacement = "Window Position";
constexpr const char* kBarState = "ToolBarState";
constexpr const char* kRecent = "Recent File List";
constexpr int kRecentCount = 4;

ISettingsStore& Settings() { return *Platform().settings; }

struct CCommandDef {
    int id;
    const char* text;
    const char* prompt; // status prompt, newline, tool tip
    QList<QKeySequence> keys;
};

// The commands with their menu texts, prompts and accelerators.
// clang-format off
const std::vector<CCommandDef>& Commands() {
    static const std::vector<CCommandDef> defs = {
        {cmd::kNew, "&New\tCtrl+N", "Create a new document.\nNew", {QKeySequence(Qt::CTRL | Qt::Key_N)}},
        {cmd::kOpen, "&Open...\tCtrl+O", "Open an existing document.\nOpen",
         {QKeySequence(Qt::CTRL | Qt::Key_O)}},
        {cmd::kSave, "&Save\tCtrl+S", "Save the active document.\nSave",
         {QKeySequence(Qt::CTRL | Qt::Key_S)}},
        {cmd::kSaveAs, "Save &As...", "Save the active document with a new name.\nSave As", {}},
        {cmd::kImportChannels, "&Import Channels (CSV)...",
         "Set channels from a channel list in CHIRP's comma-separated layout.\nImport Channels", {}},
        {cmd::kExportChannels, "&Export Channels (CSV)...",
         "Write the channels in use as a channel list in CHIRP's comma-separated layout.\n"
         "Export Channels", {}},
        {cmd::kBackups, "&Backups...",
         "List the backups of reads and writes and open one as a new document.\nBackups", {}},
        {cmd::kPrint, "&Print...\tCtrl+P", "Print the active document.\nPrint",
         {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {cmd::kPrintPreview, "Print Pre&view...", "Show the pages as they will print.\nPrint Preview", {}},
        {cmd::kExportPdf, "&Export PDF...", "Write the printout into a PDF file.\nExport PDF", {}},
        {cmd::kExit, "E&xit", "Quit the application; prompts to save documents.\nExit", {}},
        {cmd::kEditMemory, "&Edit Memory...\tEnter", "Edit the selected memory channel.\nEdit Memory", {}},
        {cmd::kPrioA, "Prio A", "Make the selected channel priority channel A.\nPrio A", {}},
        {cmd::kPrioB, "Prio B", "Make the selected channel priority channel B.\nPrio B", {}},
        {cmd::kEmergency, "Emergency", "Make the selected channel the emergency channel.\nEmergency", {}},
        {cmd::kEmergencyOff, "Emergency OFF", "Turn the emergency channel off.\nEmergency OFF", {}},
        {cmd::kCopy, "Copy\tCtrl+C", "Copy the selection and put it on the Clipboard.\nCopy",
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)}},
        {cmd::kPaste, "Paste\tCtrl+V", "Insert Clipboard contents.\nPaste",
         {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}},
        {cmd::kClear, "Clear", "Erase the selection.\nClear", {}},
        {cmd::kDelete, "Delete\tDelete", "Delete the selected channel.\nDelete", {QKeySequence(Qt::Key_Delete)}},
        {cmd::kInsert, "Insert\tInsert", "Insert a channel before the selected one.\nInsert",
         {QKeySequence(Qt::Key_Insert)}},
        {cmd::kCut, "Cu&t", "Cut the selection and put it on the Clipboard.\nCut",
         {QKeySequence(Qt::CTRL | Qt::Key_X), QKeySequence(Qt::SHIFT | Qt::Key_Delete)}},
        {cmd::kUndo, "&Undo\tCtrl+Z", "Undo the last action.\nUndo",
         {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)}},
        {cmd::kRedo, "&Redo\tCtrl+Y", "Redo the previously undone action.\nRedo",
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}},
        {cmd::kCommonSetting, "&Common Setting...", "Edit the common settings.\nCommon Setting", {}},
        {cmd::kToolbar, "&Toolbar", "Show or hide the toolbar.\nToggle ToolBar", {}},
        {cmd::kStatusBar, "&Status Bar", "Show or hide the status bar.\nToggle StatusBar", {}},
        {cmd::kCom1, "COM&1", "Use COM1 for cloning.\nCOM1", {}},
        {cmd::kCom1 + 1, "COM&2", "Use COM2 for cloning.\nCOM2", {}},
        {cmd::kCom1 + 2, "COM&3", "Use COM3 for cloning.\nCOM3", {}},
        {cmd::kCom4, "COM&4", "Use COM4 for cloning.\nCOM4", {}},
        {cmd::kAssignPorts, "&Assign Devices...",
         "Choose the serial device behind each COM port.\nAssign Devices", {}},
        {cmd::kSaveTrace, "Save Serial &Trace...",
         "Save every frame of this session's transfers to a file.\nSave Serial Trace", {}},
        {cmd::kCloneRead, "&Read <- TR", "Read from transceiver.\nClone Read", {}},
        {cmd::kCloneWrite, "&Write -> TR", "Write to transceiver.\nClone Write", {}},
        {cmd::kCloneInfo, "&Information...", "Read the transceiver's information.\nInformation", {}},
        {cmd::kVerifyAfterWrite, "&Verify after Write",
         "Read the transceiver back after a write and compare every byte.\nVerify after Write", {}},
        {cmd::kHelpContents, "&Contents\tF1", "List Help topics.\nHelp Topics", {QKeySequence(Qt::Key_F1)}},
        {cmd::kAbout, "&About KT-Z30...",
         "Display program information, version number and copyright.\nAbout", {}},
        {cmd::kNextPane, "Next Pane", "Switch to the next window pane.\nNext Pane", {QKeySequence(Qt::Key_F6)}},
        {cmd::kPrevPane, "Previous Pane", "Switch back to the previous window pane.\nPrevious Pane",
         {QKeySequence(Qt::SHIFT | Qt::Key_F6)}},
    };
    return defs;
}
// clang-format on

// The model menu's status prompts, in variant order.
constexpr const char* kModelPrompts[kVariantCount] = {
    "Switch to \"LMR 1CH (2Tone)\" model.",  "Switch to \"PMR 1CH (5Tone/DTMF)\" model.",
    "Switch to \"LMR 2CH (2Tone)\" model.",  "Switch to \"PMR 2CH (5Tone/DTMF)\" model.",
    "Switch to \"LMR 16CH (2Tone)\" model.", "Switch to \"PMR 16CH (5Tone/DTMF)\" model.",
};

QString PromptOf(const char* prompt) { return QString::fromUtf8(prompt).section('\n', 0, 0); }
QString TipOf(const char* prompt) { return QString::fromUtf8(prompt).section('\n', 1, 1); }

// The Edit menu, which context menu 131 of the memory sheets repeats; 0 a separator.
// clang-format off
constexpr int kEditMenu[] = {
    cmd::kUndo, cmd::kRedo, 0,
    cmd::kEditMemory, 0,
    cmd::kPrioA, cmd::kPrioB, cmd::kEmergency, cmd::kEmergencyOff, 0,
    cmd::kCopy, cmd::kPaste, 0,
    cmd::kClear, cmd::kDelete, cmd::kInsert};
// clang-format on
// Context menu 132 of the signalling sheets.
constexpr int kSignallingMenu[] = {cmd::kUndo, cmd::kRedo, 0, cmd::kEditMemory};

// The menu text of Undo or Redo naming the step it would take back or again.
QString UndoActionText(const char* verb, const QString& step, const char* key) {
    return step.isEmpty()
               ? QStringLiteral("&%1\t%2").arg(QLatin1String(verb), QLatin1String(key))
               : QStringLiteral("&%1 %2\t%3").arg(QLatin1String(verb), step, QLatin1String(key));
}

// The tree column's width and the caption row's height as stored, or their defaults.
std::pair<int, int> StoredSplitter() {
    return {qBound(20, Settings().GetInt(kPlacement, "SplitterV", 180), 4000),
            qBound(8, Settings().GetInt(kPlacement, "SplitterH", 20), 400)};
}

// Rows of the memory sheet a first start makes room for.
constexpr int kFirstStartRows = 16;

// Toolbar 128: the buttons in order, 0 a separator.
constexpr int kToolButtons[] = {
    cmd::kNew,           cmd::kOpen, cmd::kSave,      cmd::kPrint,      0,
    cmd::kCommonSetting, 0,          cmd::kCom1,      cmd::kCom1 + 1,   cmd::kCom1 + 2,
    cmd::kCom4,          0,          cmd::kCloneRead, cmd::kCloneWrite, cmd::kCloneInfo};

} // namespace

QStringList RecentFiles() {
    QStringList files;
    for (int i = 1; i <= kRecentCount; ++i) {
        const std::string f = Settings().GetString(kRecent, "File" + std::to_string(i), "");
        if (!f.empty()) files << QString::fromStdString(f);
    }
    return files;
}

static void StoreRecent(const QStringList& files) {
    for (int i = 1; i <= kRecentCount; ++i)
        Settings().SetString(kRecent, "File" + std::to_string(i),
                             i <= files.size() ? files[i - 1].toStdString() : std::string());
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

// --- CCloneSoftMainFrm ---------------------------------------------------------------------------

CCloneSoftMainFrm::CCloneSoftMainFrm(CZ30Doc& doc, ICommandTarget* document,
                                     ICommandTarget* application)
    : m_doc(doc), m_application(application) {
    setObjectName(QStringLiteral("MainFrame"));
    LoadPlacement();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    m_statusBar = new CColorStatusBar(this);
    setStatusBar(m_statusBar);
    CreatePanes(document);
    RestoreBarState();
    setMinimumSize(kMinimumSize);
    if (!m_placementStored) FitFirstStart();

    // The views follow the document: every change, undo and redo, every new image, and the
    // undo stack's steps (menu texts, the modified mark in the title).
    QUndoStack* undo = UndoStackOf(m_doc);
    m_noticeId =
        m_doc.Subscribe([this](const CChangeNotice& notice) { OnDocumentChanged(notice); });
    connect(undo, &QUndoStack::indexChanged, this, &CCloneSoftMainFrm::UpdateCommandUI);
    connect(undo, &QUndoStack::cleanChanged, this, &CCloneSoftMainFrm::UpdateCommandUI);

    // Menu and toolbar states follow the document while the program idles.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CCloneSoftMainFrm::UpdateCommandUI);
    idle->start(250);
    UpdateCommandUI();
}

CCloneSoftMainFrm::~CCloneSoftMainFrm() { m_doc.Unsubscribe(m_noticeId); }

void CCloneSoftMainFrm::OnDocumentChanged(const CChangeNotice& notice) {
    switch (notice.reason) {
    case CChangeReason::Load:
    case CChangeReason::Read:
    case CChangeReason::ModelChange:
    case CChangeReason::New:
        // Another image, perhaps of another variant: the tree and the sheet it shows.
        RebuildTree();
        RefreshCurrentSheet();
        break;
    case CChangeReason::Edit:
    case CChangeReason::UndoRedo:
        if (CSheetView* sheet = m_sheets->CurrentSheet()) sheet->FollowChange(notice.path);
        break;
    }
    UpdateCommandUI();
}

void CCloneSoftMainFrm::FitFirstStart() {
    const auto* lmr = qobject_cast<const CListSheet*>(m_sheets->Sheet(1));
    if (!lmr) return;
    const CListViewExs* view = lmr->View();
    const int frame = 2 * view->frameWidth();
    const QSize sheet(view->horizontalHeader()->length() +
                          view->verticalScrollBar()->sizeHint().width() + frame,
                      view->horizontalHeader()->sizeHint().height() +
                          kFirstStartRows * view->verticalHeader()->defaultSectionSize() + frame);
    // The tree column and the caption row beside and above it, the bars around the panes.
    const int handle = m_bottom->handleWidth();
    const auto [columnWidth, rowHeight] = StoredSplitter();
    int width = columnWidth + handle + sheet.width();
    int height = menuBar()->sizeHint().height() + rowHeight + handle + sheet.height();
    if (!m_toolBar->isHidden()) height += m_toolBar->sizeHint().height();
    if (!m_statusBar->isHidden()) height += m_statusBar->sizeHint().height();
    // Within the screen, the window's frame and the default corner included.
    const QScreen* screen = QGuiApplication::screenAt(geometry().topLeft());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect room = screen->availableGeometry();
        const int widest = room.right() - geometry().left() - 5;
        // Columns cut off by the screen bring the sheet's horizontal scroll bar.
        if (width > widest) height += view->horizontalScrollBar()->sizeHint().height();
        width = std::min(width, widest);
        height = std::min(height, room.bottom() - geometry().top() - 30);
    }
    resize(std::max(width, kMinimumSize.width()), std::max(height, kMinimumSize.height()));
    ApplySplitterSizes();
}

void CCloneSoftMainFrm::CreateActions() {
    for (const CCommandDef& def : Commands()) {
        auto* action = new QAction(QString::fromUtf8(def.text), this);
        action->setStatusTip(PromptOf(def.prompt));
        action->setToolTip(TipOf(def.prompt));
        action->setShortcuts(def.keys);
        const int id = def.id;
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        if (QIcon icon = ToolIcon(id); !icon.isNull()) action->setIcon(icon);
        m_actions[id] = action;
        addAction(action); // accelerators work without a menu entry
    }
    for (int v = 0; v < kVariantCount; ++v) {
        auto* action = new QAction(QString::fromLatin1(kVariantMenuTexts[v]), this);
        action->setStatusTip(QString::fromLatin1(kModelPrompts[v]));
        action->setCheckable(true);
        const int id = cmd::kModel[v];
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions[id] = action;
    }
    for (int id : {cmd::kToolbar, cmd::kStatusBar, cmd::kCom1, cmd::kCom1 + 1, cmd::kCom1 + 2,
                   cmd::kCom4, cmd::kPrioA, cmd::kPrioB, cmd::kEmergency, cmd::kVerifyAfterWrite})
        m_actions[id]->setCheckable(true);
    for (int i = 0; i < kRecentCount; ++i) {
        const int id = cmd::kRecentFirst + i;
        auto* action = new QAction(this);
        action->setStatusTip(QStringLiteral("Open this document"));
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        m_actions[id] = action;
    }
}

void CCloneSoftMainFrm::AddMenuItems(QMenu* menu, std::span<const int> ids) const {
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else
            menu->addAction(m_actions.at(id));
    }
}

void CCloneSoftMainFrm::CreateMenus() {
    auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        AddMenuItems(menu, std::span(ids.begin(), ids.size()));
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    add(m_fileMenu, {cmd::kNew});
    m_templateMenu = m_fileMenu->addMenu(QStringLiteral("New from &Template"));
    m_templateMenu->setEnabled(false);
    add(m_fileMenu, {cmd::kOpen, cmd::kSave, cmd::kSaveAs, cmd::kBackups, 0, cmd::kImportChannels,
                     cmd::kExportChannels, 0, cmd::kPrint, cmd::kPrintPreview, cmd::kExportPdf, 0});
    m_recentAnchor = m_fileMenu->addAction(QStringLiteral("Recent File"));
    m_recentAnchor->setEnabled(false);
    for (int i = 0; i < kRecentCount; ++i)
        m_fileMenu->addAction(m_actions.at(cmd::kRecentFirst + i));
    add(m_fileMenu, {0, cmd::kExit});
    connect(m_fileMenu, &QMenu::aboutToShow, this, &CCloneSoftMainFrm::UpdateRecentMenu);

    QMenu* edit = menuBar()->addMenu(QStringLiteral(" &Edit"));
    AddMenuItems(edit, kEditMenu);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {cmd::kCommonSetting, 0, cmd::kToolbar, cmd::kStatusBar});
    QMenu* port = menuBar()->addMenu(QStringLiteral("COM &Port"));
    add(port, {cmd::kCom1, cmd::kCom1 + 1, cmd::kCom1 + 2, cmd::kCom4, 0, cmd::kAssignPorts, 0,
               cmd::kSaveTrace});
    connect(port, &QMenu::aboutToShow, this, &CCloneSoftMainFrm::LabelPorts);
    LabelPorts();
    QMenu* clone = menuBar()->addMenu(QStringLiteral("&Clone"));
    add(clone, {cmd::kCloneRead, cmd::kCloneWrite, 0, cmd::kCloneInfo, 0, cmd::kVerifyAfterWrite});
    QMenu* model = menuBar()->addMenu(QStringLiteral("&Model"));
    for (int id : cmd::kModel)
        model->addAction(m_actions.at(id));
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {cmd::kHelpContents, 0, cmd::kAbout});
    for (QMenu* menu : {m_fileMenu, edit, view, port, clone, model, help})
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
    for (int id : kToolButtons) {
        if (id == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(m_actions.at(id));
    }
    connect(m_toolBar, &QToolBar::visibilityChanged, this, &CCloneSoftMainFrm::UpdateCommandUI);
}

void CCloneSoftMainFrm::CreatePanes(ICommandTarget* document) {
    m_rows = new QSplitter(Qt::Vertical, this);
    m_top = new QSplitter(Qt::Horizontal, m_rows);
    m_bottom = new QSplitter(Qt::Horizontal, m_rows);
    m_leftCaption = new CMessageView(m_top);
    m_rightCaption = new CMessageView(m_top);
    m_tree = new CZ30TreeView(m_bottom);
    m_sheets = new CZ30ListFrame(document, &m_doc, m_bottom);
    for (QSplitter* s : {m_rows, m_top, m_bottom}) {
        s->setChildrenCollapsible(false);
        s->setStretchFactor(0, 0);
        s->setStretchFactor(1, 1);
        s->setHandleWidth(4);
    }
    m_rows->setChildrenCollapsible(false);
    // One column boundary for both rows, as in a two-by-two splitter.
    connect(m_top, &QSplitter::splitterMoved, this, [this] { m_bottom->setSizes(m_top->sizes()); });
    connect(m_bottom, &QSplitter::splitterMoved, this,
            [this] { m_top->setSizes(m_bottom->sizes()); });
    setCentralWidget(m_rows);
    ApplySplitterSizes();

    for (int i = 0; i < kSheetCount; ++i) {
        CSheetView* sheet = m_sheets->Sheet(i);
        // Only the sheet shown names its selection in the caption.
        connect(sheet, &CSheetView::selectionTextChanged, this, [this, sheet](const QString& text) {
            if (sheet == m_sheets->CurrentSheet()) SetSheetCaptionSuffix(text);
        });
        connect(sheet, &CSheetView::focusTreeRequested, this, &CCloneSoftMainFrm::FocusTree);
        connect(sheet, &CSheetView::contextMenuRequested, this,
                &CCloneSoftMainFrm::ShowContextMenu);
    }
    connect(m_sheets, &CZ30ListFrame::sheetShown, this,
            [this](int index) { SetSheetCaption(CZ30ListFrame::TitleOf(index)); });
    connect(m_tree, &CZ30TreeView::itemActivatedCode, this,
            [this](int code) { OnTreeActivate(code); });
    connect(m_tree, &CZ30TreeView::focusSheetRequested, this, &CCloneSoftMainFrm::FocusSheet);
    // A caption pane hands the focus on: back to the tree when it came from there.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now != m_leftCaption && now != m_rightCaption) return;
        if (old == m_tree)
            FocusTree();
        else
            FocusSheet();
    });
    SetSheetCaption(CZ30ListFrame::TitleOf(m_sheets->CurrentSheetIndex()));
    m_sheets->CurrentSheet()->setFocus();
}

void CCloneSoftMainFrm::ApplySplitterSizes() {
    const auto [columnWidth, rowHeight] = StoredSplitter();
    m_top->setSizes({columnWidth, qMax(1, width() - columnWidth)});
    m_bottom->setSizes({columnWidth, qMax(1, width() - columnWidth)});
    m_rows->setSizes({rowHeight, qMax(1, height() - rowHeight)});
}

void CCloneSoftMainFrm::LoadPlacement() {
    ISettingsStore& s = Settings();
    int left = s.GetInt(kPlacement, "Left", 5);
    int top = s.GetInt(kPlacement, "Top", 5);
    int width = s.GetInt(kPlacement, "Width", -1);
    int height = s.GetInt(kPlacement, "Height", -1);
    // Without a stored size the window opens as large as the memory sheet wants it.
    m_placementStored = width != -1 || height != -1;
    if (width == -1) width = 500;
    if (height == -1) height = 300;
    m_startMaximized = s.GetInt(kPlacement, "CmdShow", 5) == 3;
    width = qBound(kMinimumSize.width(), width, 16000);
    height = qBound(kMinimumSize.height(), height, 16000);
    QRect rect(left, top, width, height);
    // A window stored on a screen that is gone comes back at the default place.
    bool visible = QGuiApplication::screens().isEmpty();
    for (const QScreen* screen : QGuiApplication::screens())
        visible = visible || screen->availableVirtualGeometry().intersects(rect);
    if (!visible) rect.moveTo(5, 5);
    setGeometry(rect);
}

void CCloneSoftMainFrm::SavePlacement() {
    ISettingsStore& s = Settings();
    const QRect normal = (isMaximized() || isMinimized()) && normalGeometry().isValid()
                             ? normalGeometry()
                             : geometry();
    s.SetInt(kPlacement, "SplitterV", SplitterV());
    s.SetInt(kPlacement, "SplitterH", SplitterH());
    s.SetInt(kPlacement, "Left", normal.left());
    s.SetInt(kPlacement, "Top", normal.top());
    s.SetInt(kPlacement, "Width", normal.width());
    s.SetInt(kPlacement, "Height", normal.height());
    s.SetInt(kPlacement, "CmdShow", isMaximized() ? 3 : isMinimized() ? 2 : 1);
}

int CCloneSoftMainFrm::SplitterV() const { return m_bottom->sizes().value(0); }
int CCloneSoftMainFrm::SplitterH() const { return m_rows->sizes().value(0); }

void CCloneSoftMainFrm::RestoreBarState() {
    const std::string state = Settings().GetString(kBarState, "State", "");
    if (!state.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)));
    m_statusBar->setVisible(Settings().GetInt(kBarState, "StatusBar", 1) != 0);
}

void CCloneSoftMainFrm::SaveBarState() {
    Settings().SetString(kBarState, "State", saveState().toBase64().toStdString());
    Settings().SetInt(kBarState, "StatusBar", m_statusBar->isVisibleTo(this) ? 1 : 0);
}

QAction* CCloneSoftMainFrm::Action(int id) const {
    auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

ICommandTarget* CCloneSoftMainFrm::CurrentCommandTarget() const { return m_sheets->CurrentSheet(); }

bool CCloneSoftMainFrm::RouteCommand(int id) {
    if (!RouteUpdate(id).enabled) return false;
    bool handled = false;
    if (ICommandTarget* sheet = CurrentCommandTarget()) handled = sheet->OnCmdMsg(id);
    if (!handled) handled = OnCmdMsg(id);
    if (!handled && m_application) handled = m_application->OnCmdMsg(id);
    UpdateCommandUI();
    return handled;
}

CCmdUI CCloneSoftMainFrm::RouteUpdate(int id) {
    CCmdUI ui;
    if (ICommandTarget* sheet = CurrentCommandTarget(); sheet && sheet->OnUpdateCmdUI(id, ui))
        return ui;
    if (OnUpdateCmdUI(id, ui)) return ui;
    if (m_application && m_application->OnUpdateCmdUI(id, ui)) return ui;
    return CCmdUI{false, false}; // nobody handles it
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

void CCloneSoftMainFrm::UpdateCommandUI() {
    for (auto& [id, action] : m_actions) {
        const CCmdUI ui = RouteUpdate(id);
        action->setEnabled(ui.enabled);
        if (action->isCheckable()) action->setChecked(ui.checked);
    }
    QUndoStack* undo = UndoStackOf(m_doc);
    m_actions.at(cmd::kUndo)->setText(UndoActionText("Undo", undo->undoText(), "Ctrl+Z"));
    m_actions.at(cmd::kRedo)->setText(UndoActionText("Redo", undo->redoText(), "Ctrl+Y"));
    // The document's title, marked while it holds changes not saved.
    setWindowTitle(QString::fromStdString(m_doc.GetTitle()) +
                   (m_doc.IsModified() ? QStringLiteral("*") : QString()) +
                   QStringLiteral(" - KT-Z30"));
}

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

void CCloneSoftMainFrm::FocusOtherPane(bool) {
    // Two panes take the focus: the next and the previous one are the same.
    if (m_tree->hasFocus())
        FocusSheet();
    else
        FocusTree();
}

void CCloneSoftMainFrm::SetModeText(const QString& text) {
    m_statusBar->SetPaneText(kModePane, text, true);
}

void CCloneSoftMainFrm::SetModelCaption(const QString& text) { m_leftCaption->SetText(text); }
void CCloneSoftMainFrm::SetSheetCaption(const QString& text) { m_rightCaption->SetText(text); }
void CCloneSoftMainFrm::SetSheetCaptionSuffix(const QString& text) {
    m_rightCaption->SetSuffix(text);
}

void CCloneSoftMainFrm::ShowSheet(int index) {
    if (index == 1 || index == 2) {
        CModelManager* model = m_doc.GetCloneManager()->GetModelManager();
        m_sheets->Sheet(index)->SetRowCount(
            MchSheetRows(m_doc.GetVariant(), model && model->IsManufacture()));
    }
    if (index != m_sheets->CurrentSheetIndex()) m_rightCaption->SetSuffix(QString());
    m_sheets->ShowSheet(index);
}

int CCloneSoftMainFrm::CurrentSheetIndex() const { return m_sheets->CurrentSheetIndex(); }

void CCloneSoftMainFrm::RebuildTree() {
    CModelManager* model = m_doc.GetCloneManager()->GetModelManager();
    m_tree->RebuildTree(m_doc.GetVariant(), model && model->IsMakerReserve(),
                        model && model->IsManufacture(), *this);
}

void CCloneSoftMainFrm::RefreshCurrentSheet() {
    if (CSheetView* sheet = m_sheets->CurrentSheet()) sheet->RefreshRows();
}

void CCloneSoftMainFrm::ShowContextMenu(int menu, const QPoint& globalPos) {
    QMenu popup(this);
    popup.setObjectName(QStringLiteral("ContextMenu%1").arg(menu));
    if (menu == kMenuMemorySheet)
        AddMenuItems(&popup, kEditMenu);
    else if (menu == kMenuSignallingSheet)
        AddMenuItems(&popup, kSignallingMenu);
    else
        return;
    UpdateCommandUI();
    popup.exec(globalPos);
}

void CCloneSoftMainFrm::FocusTree() { m_tree->setFocus(Qt::OtherFocusReason); }

void CCloneSoftMainFrm::FocusSheet() {
    if (CSheetView* sheet = m_sheets->CurrentSheet()) sheet->setFocus(Qt::OtherFocusReason);
}

void CCloneSoftMainFrm::SetStatusText(const QString& text) {
    m_idleText = text;
    m_statusBar->SetPaneText(CColorStatusBar::kPrompt, text);
    m_holdText = true;
    m_textCursor = QCursor::pos();
    m_staleTip = m_lastTip;
}

bool CCloneSoftMainFrm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // Fly-by prompts go to the prompt pane; leaving a menu puts "Ready" back. The program's
        // own texts (" Now reading <- TR", " Cloning completed.") stay until the user points
        // at something: no prompt while a command holds the modal guard, and none that only
        // comes from windows being disabled or enabled under a mouse that has not moved (an
        // empty one, or the one that showed when the program set its text).
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (IsModalActive()) return true;
        if (m_holdText && QCursor::pos() == m_textCursor && (tip.isEmpty() || tip == m_staleTip))
            return true;
        m_holdText = false;
        if (!tip.isEmpty()) m_lastTip = tip;
        m_statusBar->SetPaneText(CColorStatusBar::kPrompt,
                                 tip.isEmpty() ? CColorStatusBar::ReadyText() : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CCloneSoftMainFrm::closeEvent(QCloseEvent* event) {
    // A transfer or a dialog is running (the progress dialog pumps messages).
    if (IsModalActive()) {
        event->ignore();
        return;
    }
    SavePlacement();
    SaveBarState();
    if (!m_doc.CanCloseFrame()) {
        event->ignore();
        return;
    }
    event->accept();
}

// --- CZ30MainFrame -------------------------------------------------------------------------------

bool CZ30MainFrame::OnFrameCommand(int id) {
    if (id == cmd::kCommonSetting) {
        OpenCommonSetting(0);
        return true;
    }
    if (id == cmd::kHelpContents) {
        OpenHelpContents();
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
    if (id == cmd::kCommonSetting || id == cmd::kHelpContents) return true;
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

void CZ30MainFrame::OpenEditor(const char* name, int page) {
    CModalScope guard;
    if (!guard.Entered()) return;
    const EditorOpener* opener = FindEditor(name);
    if (!opener) {
        SetStatusText(QStringLiteral(" This editor is not available in this version."));
        return;
    }
    // The editor's changes went through the document's edits, which mark the document modified
    // and whose notices refresh the views.
    (*opener)(this, m_doc, page);
}

void CZ30MainFrame::OnTreeActivate(int code) {
    using namespace treecode;
    switch (code) {
    case kKeyDisplay:
    case kCommon1:
    case kCommon2:
    case kExpert:
        OpenCommonSetting(code - kKeyDisplay);
        break;
    case kMakerReserved:
        OpenEditor(editor::kMakerReserved);
        break;
    case kDtmfAutodial:
        OpenEditor(editor::kDtmfAutodial);
        break;
    case kScanSetting:
        OpenEditor(editor::kScanSetting);
        break;
    case kTwoToneTxCode:
        OpenEditor(editor::kTwoToneTxCode);
        break;
    case kTwoToneSetting:
        OpenEditor(editor::kTwoToneSetting);
        break;
    case kFiveToneSetting:
        OpenEditor(editor::kFiveToneSetting);
        break;
    default:
        if (ActionOf(code) == TreeAction::ShowSheet) ShowSheet(code);
        break;
    }
}

void CZ30MainFrame::OpenHelpContents() {
    if (!m_help) m_help = new CHelpWindow(this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}
