// The main window: menus, toolbar, status bar and the four panes; routes every command to the
// sheet shown (and through it the document), then the frame, then the application. The
// commands, their menus and the frame's own handlers are in frame_commands.cpp.
#pragma once

#include "views/command_target.h"
#include "views/tree_view.h"

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <set>

struct CChangeNotice;
class CColorStatusBar;
class CMessageView;
class CSheetView;
class CZ30Doc;
class CZ30ListFrame;
class QSplitter;
class QToolBar;

class CCloneSoftMainFrm : public QMainWindow, public ICommandTarget, public ITreeHost {
    Q_OBJECT
public:
    static constexpr int kModePane = 4;
    static constexpr int kSplashMs = 5000;
    static constexpr QSize kMinimumSize{400, 200};
    // The window at a first start (nothing stored): about 85 % of the screen's available area
    // room in each direction, centred on it.
    static QRect FirstStartGeometry(const QRect& room);

    // document: commands the sheets pass on; application: the last stop of the route.
    CCloneSoftMainFrm(CZ30Doc& doc, ICommandTarget* document, ICommandTarget* application);
    ~CCloneSoftMainFrm() override;

    // Routes a command; false when nobody handled it (or it is disabled).
    bool RouteCommand(int id);
    CCmdUI RouteUpdate(int id);
    // Refreshes every action's enabled and checked state and the title.
    void UpdateCommandUI();
    QAction* Action(int id) const;

    // Placement read before the window shows: whether it opens maximized.
    bool StartMaximized() const { return m_startMaximized; }
    void SavePlacement();

    // Operations the panes and the application use.
    void SetModeText(const QString& text);
    void SetModelCaption(const QString& text) override;
    void SetSheetCaption(const QString& text);
    void SetSheetCaptionSuffix(const QString& text);
    void ShowSheet(int index) override;
    int CurrentSheetIndex() const override;
    void RebuildTree();
    void RefreshCurrentSheet();
    void FocusTree();
    void FocusSheet();
    // Opens a sheet's context menu (131 memory sheets, 132 signalling sheets) at a screen
    // position; its items are the frame's actions, routed like the menus.
    void ShowContextMenu(int menu, const QPoint& globalPos);
    void SetStatusText(const QString& text);
    // File > "New from Template": one item per stock configuration, routed as the commands
    // kTemplateFirst and on.
    void SetTemplateMenu(const QStringList& texts);
    QMenu* TemplateMenu() const { return m_templateMenu; }

    CColorStatusBar* StatusBar() const { return m_statusBar; }
    CZ30TreeView* Tree() const { return m_tree; }
    CZ30ListFrame* Sheets() const { return m_sheets; }
    CMessageView* ModelCaptionPane() const { return m_leftCaption; }
    CMessageView* SheetCaptionPane() const { return m_rightCaption; }
    QToolBar* ToolBar() const { return m_toolBar; }
    ICommandTarget* CurrentCommandTarget() const;
    int SplitterV() const;
    int SplitterH() const;
    CZ30Doc& Document() const { return m_doc; }

    // ICommandTarget: the frame's own commands.
    bool OnCmdMsg(int id) override;
    bool OnUpdateCmdUI(int id, CCmdUI& ui) override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The model-specific frame's share of the commands and the tree's activations.
    virtual bool OnFrameCommand(int) { return false; }
    virtual bool OnFrameUpdate(int, CCmdUI&) { return false; }
    virtual void OnTreeActivate(int) {}

    CZ30Doc& m_doc;

private:
    void CreateActions();
    void CreateMenus();
    // The items of the menu bar's menu title that have all of flags, in table order; offeredOnly
    // leaves out the items shown only while offered that are not offered now.
    void AddMenuItems(QMenu* menu, const char* title, unsigned flags, bool offeredOnly = false);
    void CreateToolBar();
    void CreatePanes(ICommandTarget* document);
    void LoadPlacement();
    // Gives the tree column and the caption row their stored sizes (or the defaults).
    void ApplySplitterSizes();
    void RestoreBarState();
    void SaveBarState();
    void FocusOtherPane(bool next);
    void UpdateRecentMenu();
    // Each COM item names the device its number stands for.
    void LabelPorts();
    // The views after a change of the document (its change notice).
    void OnDocumentChanged(const CChangeNotice& notice);
    // First start without a stored size: room for the LMR sheet's columns and 16 rows.
    void FitFirstStart();

    ICommandTarget* m_application;
    std::map<int, QAction*> m_actions;
    std::set<int> m_onOffer; // the items shown only while offered
    QToolBar* m_toolBar = nullptr;
    CColorStatusBar* m_statusBar = nullptr;
    QSplitter* m_rows = nullptr;
    QSplitter* m_top = nullptr;
    QSplitter* m_bottom = nullptr;
    CMessageView* m_leftCaption = nullptr;
    CMessageView* m_rightCaption = nullptr;
    CZ30TreeView* m_tree = nullptr;
    CZ30ListFrame* m_sheets = nullptr;
    QMenu* m_templateMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    bool m_startMaximized = false;
    bool m_placementStored = false;
    int m_noticeId = 0;
    QString m_idleText;
    // What keeps the program's status text against stale fly-by prompts (see event()).
    bool m_holdText = false;
    QPoint m_textCursor;
};

class CZ30MainFrame : public CCloneSoftMainFrm {
    Q_OBJECT
public:
    using CCloneSoftMainFrm::CCloneSoftMainFrm;

    // Opens the named editor under the modal guard, then refreshes the sheet shown.
    void OpenEditor(const char* name, int page = 0);
    void OpenCommonSetting(int page) { OpenEditor("CommonSetting", page); }
    void OpenHelpContents();
    // The model menu: nothing for the current variant; otherwise confirm and switch.
    void ChangeModel(int variant);

protected:
    bool OnFrameCommand(int id) override;
    bool OnFrameUpdate(int id, CCmdUI& ui) override;
    void OnTreeActivate(int code) override;

private:
    QPointer<QWidget> m_help;
};

// The recent-file list ("Recent File List"/"File1" to "File4"), newest first.
QStringList RecentFiles();
void AddRecentFile(const QString& path);
void RemoveRecentFile(const QString& path);
