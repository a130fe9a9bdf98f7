// The help viewer: the HTML help beside the program, opened at its contents.
#pragma once

#include <QDialog>

class QTextBrowser;

class CHelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit CHelpWindow(QWidget* parent = nullptr);
    // The contents page: help/index.html beside the executable, else the source tree's copy.
    static QString ContentsPath();

private:
    QTextBrowser* m_browser;
};
