#include "app/qt/splash_wnd.h"

#include "app/qt/about_dlg.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

CSplashWnd* CSplashWnd::s_current = nullptr;

CSplashWnd::CSplashWnd(QWidget* mainWindow, int displayMs)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      m_main(mainWindow) {
    setWindowTitle(QStringLiteral("Cloning Software For NQ-Z30"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(380, 200);
    s_current = this;
    qApp->installEventFilter(this);
    m_timer.start(displayMs, this);
}

CSplashWnd::~CSplashWnd() {
    if (s_current == this) s_current = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget* mainWindow, int displayMs, bool showSplash) {
    if (!showSplash || s_current) return;
    auto* splash = new CSplashWnd(mainWindow, displayMs);
    const QScreen* screen = mainWindow && mainWindow->screen() ? mainWindow->screen()
                                                               : QGuiApplication::primaryScreen();
    if (screen) splash->move(screen->availableGeometry().center() - splash->rect().center());
    splash->show();
}

void CSplashWnd::HideSplashScreen() {
    if (s_current) s_current->m_timer.start(1, s_current);
}

bool CSplashWnd::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        m_timer.start(1, this);
        break;
    default:
        break;
    }
    return false;
}

void CSplashWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) return;
    m_timer.stop();
    qApp->removeEventFilter(this);
    close();
    if (m_main) m_main->update();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(20, 50, 110));
    sky.setColorAt(1, QColor(5, 15, 40));
    p.fillRect(rect(), sky);
    // Radio waves from the radio's antenna.
    p.setPen(QPen(QColor(120, 170, 255, 120), 2));
    for (int r = 30; r <= 120; r += 30)
        p.drawArc(QRectF(60 - r, 60 - r, 2 * r, 2 * r), -30 * 16, 120 * 16);
    p.drawPixmap(20, 50, ProductPixmap(96));
    QFont title = font();
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(140, 50, 230, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KT-Z30"));
    QFont small = font();
    small.setPixelSize(13);
    p.setFont(small);
    p.setPen(QColor(200, 215, 240));
    p.drawText(QRect(140, 92, 230, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Cloning Software For NQ-Z30"));
    p.drawText(QRect(140, 120, 230, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("KT-Z30 Rev.1.2"));
}
