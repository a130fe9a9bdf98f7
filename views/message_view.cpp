#include "views/message_view.h"

#include <QApplication>
#include <QPainter>

CMessageView::CMessageView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CMessageView::SetPrefix(const QString& text) {
    m_prefix = text;
    repaint();
}

void CMessageView::SetText(const QString& text) {
    m_text = text;
    repaint();
}

void CMessageView::SetSuffix(const QString& text) {
    m_suffix = text;
    repaint();
}

void CMessageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_backColor);
    QFont font = QApplication::font();
    font.setFamily(QStringLiteral("Arial"));
    font.setWeight(QFont::Bold);
    // The character cell, not the em, fills the pane's height.
    font.setPixelSize(qMax(1, height()));
    const int cell = QFontMetrics(font).height();
    if (cell > height()) font.setPixelSize(qMax(1, height() * height() / cell));
    painter.setFont(font);
    painter.setPen(m_textColor);
    const QRect area = rect().adjusted(10, 0, -10, 0);
    const QString text = painter.fontMetrics().elidedText(Caption(), Qt::ElideRight, area.width());
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}
