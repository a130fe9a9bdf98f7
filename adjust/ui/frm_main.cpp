#include "adjust/ui/frm_main.h"

#include "adjust/adjust_app.h"
#include "adjust/common.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

QFont FixedFont() { return QFontDatabase::systemFont(QFontDatabase::FixedFont); }

// A list in the fixed-pitch font that shows rows lines and columns characters without scrolling.
QListWidget* FixedList(int rows, int columns, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setFont(FixedFont());
    list->setUniformItemSizes(true);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QFontMetrics fm(list->font());
    const int frame = 2 * list->frameWidth() + 6;
    list->setMinimumSize(fm.horizontalAdvance(QString(columns, QLatin1Char('0'))) + frame,
                         rows * (fm.height() + 2) + frame);
    return list;
}

} // namespace

frmMain::frmMain(clsAdjustApp& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    setWindowTitle(QString::fromLatin1(Common::kAppTitle));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* buttons = new QHBoxLayout;
    const char* captions[] = {"Connect", "Reload(F5)", "Disp para"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(captions[i]), central);
        m_buttons[static_cast<std::size_t>(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { click(i); });
        buttons->addWidget(b);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    m_panels = new QStackedWidget(central);
    m_titlePanel = buildTitlePanel();
    m_editPanel = buildEditPanel();
    m_paraPanel = buildParaPanel();
    for (QWidget* w : {m_titlePanel, m_editPanel, m_paraPanel})
        m_panels->addWidget(w);
    layout->addWidget(m_panels, 1);

    auto* bottom = new QHBoxLayout;
    m_progress = new QLabel(central);
    m_progress->setFont(FixedFont());
    m_port = new QLabel(central);
    bottom->addWidget(m_progress);
    bottom->addStretch();
    bottom->addWidget(m_port);
    layout->addLayout(bottom);
    setCentralWidget(central);

    buildMenus();
    // F5 anywhere acts as "Reload(F5)"; Enter and Esc press "Disp para" while the report shows.
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(f5, &QShortcut::activated, this, [this] { click(1); });
    const Qt::Key paraKeys[] = {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape};
    for (std::size_t i = 0; i < m_paraKeys.size(); ++i) {
        m_paraKeys[i] = new QShortcut(QKeySequence(paraKeys[i]), this);
        connect(m_paraKeys[i], &QShortcut::activated, this, [this] { click(2); });
    }

    m_timSolid.setInterval(static_cast<int>(frmCom::kTimerMs));
    connect(&m_timSolid, &QTimer::timeout, this, [this] { m_app.Tick(); });
    m_app.com.afterTimer = [this] { Refresh(); };
    m_app.refreshWindow = [this] { Refresh(); };
    Refresh();
}

frmMain::~frmMain() {
    m_app.com.afterTimer = nullptr;
    m_app.refreshWindow = nullptr;
}

QWidget* frmMain::buildTitlePanel() {
    auto* panel = new QWidget(this);
    auto* title = new QLabel(
        QStringLiteral("%1\nAdjust Utility for NQ-Z30").arg(QString::fromLatin1(Common::kAppTitle)),
        panel);
    title->setAlignment(Qt::AlignCenter);
    QFont f = title->font();
    if (f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * 1.8);
    f.setBold(true);
    title->setFont(f);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(title);
    return panel;
}

QWidget* frmMain::buildEditPanel() {
    auto* panel = new QWidget(this);
    m_console = FixedList(clsIndOp_RigZ30::kItemCount, 88, panel);
    m_console->installEventFilter(this);
    connect(m_console, &QListWidget::currentRowChanged, this,
            [this](int row) { m_app.ops.lboConsole.ListIndex(row); });
    m_ad = FixedList(7, 38, panel);
    m_da = FixedList(9, 38, panel);
    for (QListWidget* list : {m_ad, m_da})
        list->setFocusPolicy(Qt::NoFocus);
    auto* lists = new QHBoxLayout;
    lists->addWidget(m_ad, 0, Qt::AlignTop);
    lists->addWidget(m_da, 0, Qt::AlignTop);
    lists->addStretch();
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_console, 1);
    layout->addLayout(lists);
    return panel;
}

QWidget* frmMain::buildParaPanel() {
    auto* panel = new QWidget(this);
    m_para = new QPlainTextEdit(panel);
    m_para->setReadOnly(true);
    m_para->setFont(FixedFont());
    m_para->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_para);
    return panel;
}

void frmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, this, &QWidget::close);
    QMenu* option = menuBar()->addMenu(QStringLiteral("&Option"));
    m_portMenu = option->addMenu(QStringLiteral("&Port"));
    for (int n = 1; n <= 4; ++n) {
        QAction* a = m_portMenu->addAction(QString());
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] {
            m_app.SelectPort(n);
            Refresh();
        });
        m_portActions[static_cast<std::size_t>(n - 1)] = a;
    }
    connect(m_portMenu, &QMenu::aboutToShow, this, &frmMain::labelPorts);
    labelPorts();
    QMenu* release = option->addMenu(QStringLiteral("&Auto port release"));
    for (int s = 0; s <= 5; ++s) {
        QAction* a =
            release->addAction(s == 0 ? QStringLiteral("&OFF") : QStringLiteral("&%1 sec").arg(s));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, s] {
            m_app.ComAutoRelease(s);
            Refresh();
        });
        m_releaseActions[static_cast<std::size_t>(s)] = a;
    }
}

// Each entry names the device its number stands for, as the settings assign it.
void frmMain::labelPorts() {
    for (int n = 1; n <= 4; ++n)
        PortAction(n)->setText(
            QStringLiteral("COM &%1 (%2)").arg(n).arg(QString::fromStdString(PortDevice(n))));
}

void frmMain::Start() { m_timSolid.start(); }

void frmMain::click(int index) {
    m_app.ops.RigOpFunc_ClickCmd00(index);
    Refresh();
}

QWidget* frmMain::CurrentPanel() const { return m_panels->currentWidget(); }

void frmMain::mirror(QListWidget* list, const clsListLines& lines, unsigned& revision) {
    if (revision == lines.Revision()) return;
    revision = lines.Revision();
    const int n = lines.Count();
    while (list->count() > n)
        delete list->takeItem(list->count() - 1);
    for (int i = 0; i < n; ++i) {
        const QString text = QString::fromStdString(lines.Line(i));
        if (i < list->count()) {
            if (list->item(i)->text() != text) list->item(i)->setText(text);
        } else {
            list->addItem(text);
        }
    }
}

void frmMain::Refresh() {
    if (m_over) return;
    clsIndOp_RigZ30& ops = m_app.ops;
    const bool edit = ops.RigZ30Prop_EditEnabled();
    const bool para = ops.RigZ30Prop_DispPara();
    const bool shielding = ops.RigZ30Prop_Shielding();
    m_panels->setCurrentWidget(shielding ? m_titlePanel : edit ? m_editPanel : m_paraPanel);
    Button(0)->setEnabled(!para);
    Button(1)->setEnabled(edit);
    Button(2)->setEnabled(!shielding);
    Button(2)->setDefault(para);
    for (QShortcut* key : m_paraKeys)
        key->setEnabled(para);

    mirror(m_console, ops.lboConsole, m_consoleRev);
    mirror(m_ad, ops.lstAd, m_adRev);
    mirror(m_da, ops.lstDa, m_daRev);
    if (m_console->currentRow() != ops.lboConsole.ListIndex())
        m_console->setCurrentRow(ops.lboConsole.ListIndex());
    if (m_paraRev != ops.paraRevision) {
        m_paraRev = ops.paraRevision;
        m_para->setPlainText(QString::fromStdString(ops.txtPara)
                                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    if (m_progressRev != ops.progressRevision) {
        m_progressRev = ops.progressRevision;
        m_progress->setText(QString::fromStdString(ops.lblProgress));
    }
    if (ops.focusConsoleRequest && edit) {
        ops.focusConsoleRequest = false;
        m_console->setFocus();
    }
    if (ops.focusDispParaRequest) {
        ops.focusDispParaRequest = false;
        Button(2)->setFocus();
    }

    const bool device = !m_app.com.PortDevice().empty();
    for (int n = 1; n <= 4; ++n)
        PortAction(n)->setChecked(!device && m_app.ComPortNo() == n);
    for (int s = 0; s <= 5; ++s)
        ReleaseAction(s)->setChecked(m_app.ComAutoRelease() == s);
    const bool open = m_app.com.comOpen();
    // A closed port is named as chosen; an open one as the port the link holds.
    const QString name =
        device ? QString::fromStdString(m_app.com.PortDevice())
               : QStringLiteral("COM%1").arg(open ? m_app.com.comPortNum() : m_app.ComPortNo());
    m_port->setText(name + (open ? QStringLiteral(": OPEN") : QStringLiteral(": CLOSE")));
    // A closed port shows in grey.
    m_port->setEnabled(open);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_console) return QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        m_app.ops.ConsoleFocused();
        Refresh();
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int code = 0;
        switch (key->key()) {
        case Qt::Key_Left:
            code = clsIndOp_RigZ30::kKeyLeft;
            break;
        case Qt::Key_Right:
            code = clsIndOp_RigZ30::kKeyRight;
            break;
        case Qt::Key_Return:
            code = clsIndOp_RigZ30::kKeyEnter;
            break;
        case Qt::Key_Enter: // the keypad's
            code = clsIndOp_RigZ30::kKeySeparator;
            break;
        default:
            return false;
        }
        if (m_app.ops.ConsoleKey(code, key->modifiers() & Qt::ShiftModifier)) {
            Refresh();
            return true;
        }
    }
    return false;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!m_over) {
        m_timSolid.stop();
        m_app.AllOver();
        m_over = true;
    }
    event->accept();
}
