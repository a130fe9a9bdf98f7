// The adjust utility's main window: the title, the three buttons, the console with its [A/D] and
// [D/A] lists, the parameter report, the progress and port labels and the menus. It shows what
// the operations hold and follows their state after every run of the 50 ms heartbeat.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>

class clsAdjustApp;
class clsListLines;
class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;
class QStackedWidget;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(clsAdjustApp& app, QWidget* parent = nullptr);
    ~frmMain() override;

    // Starts the heartbeat.
    void Start();
    // Panels, buttons, lists, texts, focus, menu checks and the port label after the state.
    void Refresh();

    // The parts, for tests and screenshots.
    QListWidget* Console() const { return m_console; }
    QListWidget* AdList() const { return m_ad; }
    QListWidget* DaList() const { return m_da; }
    QPlainTextEdit* ParaText() const { return m_para; }
    QLabel* ProgressLabel() const { return m_progress; }
    QLabel* PortLabel() const { return m_port; }
    // 0 "Connect", 1 "Reload(F5)", 2 "Disp para".
    QPushButton* Button(int index) const { return m_buttons.at(static_cast<std::size_t>(index)); }
    QWidget* CurrentPanel() const;
    QWidget* TitlePanel() const { return m_titlePanel; }
    QWidget* EditPanel() const { return m_editPanel; }
    QWidget* ParaPanel() const { return m_paraPanel; }
    // Port menu entry n (1 to 4), auto release entry s (0 "&OFF", 1 to 5 seconds).
    QAction* PortAction(int n) const { return m_portActions.at(static_cast<std::size_t>(n - 1)); }
    QAction* ReleaseAction(int s) const { return m_releaseActions.at(static_cast<std::size_t>(s)); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTitlePanel();
    QWidget* buildEditPanel();
    QWidget* buildParaPanel();
    void buildMenus();
    void click(int index);
    void labelPorts();
    static void mirror(QListWidget* list, const clsListLines& lines, unsigned& revision);

    clsAdjustApp& m_app;
    QTimer m_timSolid;
    std::array<QPushButton*, 3> m_buttons{};
    QStackedWidget* m_panels = nullptr;
    QWidget* m_titlePanel = nullptr;
    QWidget* m_editPanel = nullptr;
    QWidget* m_paraPanel = nullptr;
    QListWidget* m_console = nullptr;
    QListWidget* m_ad = nullptr;
    QListWidget* m_da = nullptr;
    QPlainTextEdit* m_para = nullptr;
    QLabel* m_progress = nullptr;
    QLabel* m_port = nullptr;
    QMenu* m_portMenu = nullptr;
    std::array<QAction*, 4> m_portActions{};
    std::array<QAction*, 6> m_releaseActions{};
    std::array<QShortcut*, 3> m_paraKeys{};
    unsigned m_consoleRev = ~0u, m_adRev = ~0u, m_daRev = ~0u;
    unsigned m_paraRev = ~0u, m_progressRev = ~0u;
    bool m_over = false;
};
