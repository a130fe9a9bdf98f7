// The start-up window: "Cloning Software For NQ-Z30", shown for its display time or until a key
// or a mouse button is pressed.
#pragma once

#include <QBasicTimer>
#include <QDialog>
#include <QPointer>

class CSplashWnd : public QDialog {
    Q_OBJECT
public:
    // Shows the splash over mainWindow when showSplash is set and none exists.
    static void ShowSplashScreen(QWidget* mainWindow, int displayMs, bool showSplash);
    static CSplashWnd* Current() { return s_current; }
    // Closes it (almost) at once.
    static void HideSplashScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CSplashWnd(QWidget* mainWindow, int displayMs);
    ~CSplashWnd() override;
    QBasicTimer m_timer;
    QPointer<QWidget> m_main;
    static CSplashWnd* s_current;
};
