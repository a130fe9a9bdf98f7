#include "app/qt/main_frame.h"

#include "app/clone_support_doc.h"
#include "app/qt/color_status_bar.h"
#include "app/qt/help_window.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "sheets/mch_rows.h"
#include "sheets/sheet_desc.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/message_view.h"
#include "views/sheet_view.h"
#include "views/tree_items.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QMenuBar>
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

ISettingsStore& Settings() { return *Platform().settings; }

// The tree column's width and the caption row's height as stored, or their defaults.
std::pair<int, int> StoredSplitter() {
    return {qBound(20, Settings().GetInt(kPlacement, "SplitterV", 180), 4000),
            qBound(8, Settings().GetInt(kPlacement, "SplitterH", 20), 400)};
}

} // namespace

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
        // Another image, perhaps of another variant: the tree and the sheet it shows, every
        // sheet scrolled back to its left edge.
        RebuildTree();
        RefreshCurrentSheet();
        for (QAbstractScrollArea* area : m_sheets->findChildren<QAbstractScrollArea*>())
            area->horizontalScrollBar()->setValue(0);
        break;
    case CChangeReason::Edit:
    case CChangeReason::UndoRedo:
        if (CSheetView* sheet = m_sheets->CurrentSheet()) sheet->FollowChange(notice.path);
        break;
    }
    UpdateCommandUI();
}

QRect CCloneSoftMainFrm::FirstStartGeometry(const QRect& room) {
    constexpr double kShare = 0.85;
    const QSize size(std::max(kMinimumSize.width(), qRound(room.width() * kShare)),
                     std::max(kMinimumSize.height(), qRound(room.height() * kShare)));
    QRect rect(QPoint(), size);
    rect.moveCenter(room.center());
    return rect;
}

void CCloneSoftMainFrm::FitFirstStart() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    setGeometry(FirstStartGeometry(screen->availableGeometry()));
    ApplySplitterSizes();
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
    return CCmdUI{false, false, false}; // nobody handles it
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
    // Without a stored width the tree's column is wide enough for every item.
    if (Settings().GetString(kPlacement, "SplitterV", "").empty()) {
        const int column = std::max(SplitterV(), m_tree->WidthForAllItems());
        if (column > SplitterV()) {
            const QList<int> sizes{column, qMax(1, m_bottom->width() - column)};
            m_top->setSizes(sizes);
            m_bottom->setSizes(sizes);
        }
    }
}

void CCloneSoftMainFrm::RefreshCurrentSheet() {
    if (CSheetView* sheet = m_sheets->CurrentSheet()) sheet->RefreshRows();
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
}

bool CCloneSoftMainFrm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        // Fly-by prompts go to the prompt pane; leaving a menu puts "Ready" back. The program's
        // own texts (" Now reading <- TR", " Cloning completed.") stay until the user points
        // at something: no prompt while a command holds the modal guard, and none that only
        // comes from windows being disabled, enabled or closed under a mouse that has not moved
        // (an empty one, the one that showed when the program set its text, or that of a button
        // a closing menu uncovers).
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        if (IsModalActive()) return true;
        if (m_holdText && QCursor::pos() == m_textCursor) return true;
        m_holdText = false;
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
