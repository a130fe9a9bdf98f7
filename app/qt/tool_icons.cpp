#include "app/qt/tool_icons.h"

#include "views/command_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

QIcon Draw(const std::function<void(QPainter&)>& paint) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(16 * scale, 15 * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        paint(p);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

const QColor kInk(40, 40, 40);

void Page(QPainter& p) {
    QPainterPath page;
    page.moveTo(3.5, 1.5);
    page.lineTo(10, 1.5);
    page.lineTo(12.5, 4);
    page.lineTo(12.5, 13.5);
    page.lineTo(3.5, 13.5);
    page.closeSubpath();
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4));
    p.drawLine(QPointF(10, 4), QPointF(12.5, 4));
}

void Folder(QPainter& p) {
    p.setPen(QColor(140, 100, 20));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(QRectF(1.5, 4.5, 12, 8));
    p.drawRect(QRectF(1.5, 3.5, 5, 1));
    p.setBrush(QColor(250, 220, 120));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(13.5, 12.5);
    flap.lineTo(1.5, 12.5);
    flap.closeSubpath();
    p.drawPath(flap);
}

void Disk(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(QColor(50, 80, 160));
    p.drawRect(QRectF(2.5, 1.5, 11, 12));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(5.5, 9.5, 5, 4));
}

void Printer(QPainter& p) {
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(170, 170, 170));
    p.drawRoundedRect(QRectF(1.5, 6.5, 13, 5), 1, 1);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 10.5, 7, 3));
    p.setPen(QColor(40, 170, 40));
    p.drawPoint(QPointF(12.5, 8.5));
}

void Settings(QPainter& p) {
    // Three sliders: the common settings.
    p.setPen(QPen(kInk, 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(2, 3.5 + 4 * i), QPointF(14, 3.5 + 4 * i));
    p.setBrush(QColor(60, 120, 200));
    const double knobs[3] = {5, 10, 7};
    for (int i = 0; i < 3; ++i)
        p.drawRect(QRectF(knobs[i] - 1.5, 2 + 4 * i, 3, 3));
}

void Port(QPainter& p, int n) {
    // A nine-pin connector shell with the port number.
    p.setPen(kInk);
    p.setBrush(QColor(210, 210, 215));
    QPainterPath shell;
    shell.moveTo(1.5, 2.5);
    shell.lineTo(14.5, 2.5);
    shell.lineTo(12.5, 12.5);
    shell.lineTo(3.5, 12.5);
    shell.closeSubpath();
    p.drawPath(shell);
    QFont f = p.font();
    f.setPixelSize(9);
    f.setBold(true);
    p.setFont(f);
    p.setPen(QColor(20, 60, 140));
    p.drawText(QRectF(1, 2, 14, 11), Qt::AlignCenter, QString::number(n));
}

void Transfer(QPainter& p, bool toRadio) {
    // The radio on the right, an arrow towards it (write) or away from it (read).
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(10.5, 3, 5, 11), 1, 1);
    p.drawRect(QRectF(11.5, 0.5, 1.2, 3));
    p.setBrush(QColor(150, 210, 120));
    p.drawRect(QRectF(11.5, 4.5, 3, 2));
    p.setBrush(toRadio ? QColor(200, 60, 40) : QColor(40, 140, 60));
    QPainterPath arrow;
    if (toRadio) {
        arrow.moveTo(1, 6);
        arrow.lineTo(5, 6);
        arrow.lineTo(5, 3.5);
        arrow.lineTo(9.5, 8);
        arrow.lineTo(5, 12.5);
        arrow.lineTo(5, 10);
        arrow.lineTo(1, 10);
    } else {
        arrow.moveTo(9.5, 6);
        arrow.lineTo(5.5, 6);
        arrow.lineTo(5.5, 3.5);
        arrow.lineTo(1, 8);
        arrow.lineTo(5.5, 12.5);
        arrow.lineTo(5.5, 10);
        arrow.lineTo(9.5, 10);
    }
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void Info(QPainter& p) {
    p.setPen(QColor(20, 60, 140));
    p.setBrush(QColor(70, 130, 220));
    p.drawEllipse(QRectF(1.5, 1, 13, 13));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7, 3.5, 2, 2));
    p.drawRect(QRectF(7, 6.5, 2, 5.5));
}

} // namespace

QIcon ToolIcon(int id) {
    switch (id) {
    case cmd::kNew:
        return Draw(Page);
    case cmd::kOpen:
        return Draw(Folder);
    case cmd::kSave:
        return Draw(Disk);
    case cmd::kPrint:
        return Draw(Printer);
    case cmd::kCommonSetting:
        return Draw(Settings);
    case cmd::kCloneRead:
        return Draw([](QPainter& p) { Transfer(p, false); });
    case cmd::kCloneWrite:
        return Draw([](QPainter& p) { Transfer(p, true); });
    case cmd::kCloneInfo:
        return Draw(Info);
    default:
        if (id >= cmd::kCom1 && id <= cmd::kCom4)
            return Draw([id](QPainter& p) { Port(p, id - cmd::kCom1 + 1); });
        return {};
    }
}
