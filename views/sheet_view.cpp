#include "views/sheet_view.h"

#include <QPainter>
#include <utility>

CSheetView::CSheetView(int index, QString title, QWidget* parent)
    : QWidget(parent), m_index(index), m_title(std::move(title)) {
    setFocusPolicy(Qt::StrongFocus);
}

bool CSheetView::OnCmdMsg(int id) {
    if (HandleCommand(id)) return true;
    return m_document && m_document->OnCmdMsg(id);
}

bool CSheetView::OnUpdateCmdUI(int id, CCmdUI& ui) {
    if (UpdateCommand(id, ui)) return true;
    return m_document && m_document->OnUpdateCmdUI(id, ui);
}

CNullView::CNullView(QWidget* parent) : CSheetView(0, QStringLiteral("      "), parent) {}

CPendingSheet::CPendingSheet(int index, QString title, QWidget* parent)
    : CSheetView(index, std::move(title), parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
}

void CPendingSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignLeft | Qt::AlignTop,
                     Title().trimmed());
}
