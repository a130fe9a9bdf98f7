// "About KT-Z30", which also listens for the service codes typed while it is open.
#pragma once

#include "app/qt/key_codes.h"

#include <QDialog>
#include <functional>

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Called on a code match (the buffer is already empty again).
    std::function<void(CKeyCodeBuffer::Match)> onCode;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The program's icon (a handheld radio), drawn at the given size.
QPixmap ProductPixmap(int size);
// The same drawing at the sizes window title bars and task bars ask for.
QIcon ProductIcon();
