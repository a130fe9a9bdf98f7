#include "app/qt/about_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

QPixmap ProductPixmap(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // Antenna, body, display, keypad: the NQ-Z30 as a small drawing.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(35, 35, 40));
    p.drawRoundedRect(QRectF(9, 1, 3, 10), 1.5, 1.5);
    p.setBrush(QColor(55, 60, 70));
    p.drawRoundedRect(QRectF(6, 8, 20, 23), 3, 3);
    p.setBrush(QColor(150, 210, 120));
    p.drawRect(QRectF(9, 11, 14, 6));
    p.setPen(QColor(30, 70, 30));
    QFont f = p.font();
    f.setPixelSize(4);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(9, 11, 14, 6), Qt::AlignCenter, QStringLiteral("CH 1"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(190, 190, 195));
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRoundedRect(QRectF(9.5 + 4.7 * c, 19 + 3.8 * r, 3.6, 2.6), 1, 1);
    p.setBrush(QColor(200, 40, 30));
    p.drawEllipse(QRectF(21.5, 4.5, 3, 3));
    return pm;
}

QIcon ProductIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ProductPixmap(size));
    return icon;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About KT-Z30"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProductPixmap(48));
    auto* text = new QLabel(QStringLiteral("KT-Z30 Revision 1.2"), this);
    QFont bold = text->font();
    bold.setBold(true);
    text->setFont(bold);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(280, 0)));
    qApp->installEventFilter(this);
}

bool CAboutDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isActiveWindow()) return false;
    // A key press an inner widget does not take travels on to its parents: count it once, at
    // the widget it was sent to (the focus widget, or the box itself when nothing has focus).
    QWidget* target = QApplication::focusWidget();
    if (!target || target->window() != this) target = this;
    if (watched != target) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A held key counts once for every repeat, as each repeat is a key press of its own.
    const int k = key->key();
    const bool letterOrDigit =
        (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9);
    if (!letterOrDigit) return false;
    const auto match = CKeyCodeBuffer::Instance().Feed(static_cast<char>(k));
    if (match != CKeyCodeBuffer::Match::None && onCode) onCode(match);
    return false;
}
