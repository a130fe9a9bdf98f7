#include "views/tree_view.h"

#include "views/tree_items.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTreeWidgetItemIterator>
#include <algorithm>
#include <map>

namespace {

constexpr int kCodeRole = Qt::UserRole + 1;

QPixmap Canvas() {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap Folder(bool open) {
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(150, 110, 20));
    p.setBrush(QColor(235, 190, 70));
    p.drawRoundedRect(QRectF(2.5, 5.5, 8, 4), 1, 1);
    p.drawRect(QRectF(2.5, 7.5, 19, 13));
    if (open) {
        p.setBrush(QColor(250, 215, 110));
        QPainterPath flap;
        flap.moveTo(5.5, 11.5);
        flap.lineTo(22.5, 11.5);
        flap.lineTo(20.5, 20.5);
        flap.lineTo(2.5, 20.5);
        flap.closeSubpath();
        p.drawPath(flap);
    }
    return pm;
}

QPixmap DialogItem() {
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRect(3, 4, 17, 15));
    p.fillRect(QRect(4, 5, 16, 3), QColor(30, 80, 170));
    p.fillRect(QRect(6, 10, 8, 2), QColor(120, 120, 120));
    p.fillRect(QRect(6, 14, 11, 2), QColor(120, 120, 120));
    return pm;
}

QPixmap RootItem() {
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A handheld radio: antenna, body, display and keypad.
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.drawLine(QPointF(8, 1.5), QPointF(8, 7));
    p.setPen(QColor(30, 30, 30));
    p.setBrush(QColor(70, 70, 80));
    p.drawRoundedRect(QRectF(5.5, 6.5, 13, 16), 2, 2);
    p.fillRect(QRectF(8, 9, 8, 4), QColor(150, 210, 120));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            p.fillRect(QRectF(8 + 3 * c, 15 + 3 * r, 2, 2), Qt::lightGray);
    return pm;
}

QPixmap SheetItem() {
    QPixmap pm = Canvas();
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::white);
    p.drawRect(QRect(3, 4, 17, 16));
    p.fillRect(QRect(4, 5, 16, 3), QColor(190, 200, 215));
    p.setPen(QColor(160, 160, 160));
    for (int y = 11; y < 20; y += 3)
        p.drawLine(4, y, 19, y);
    p.drawLine(9, 8, 9, 19);
    return pm;
}

} // namespace

QIcon TreeImage(int index) {
    static const std::map<int, QIcon> icons = {
        {kImgGroupClosed, QIcon(Folder(false))}, {kImgGroupOpen, QIcon(Folder(true))},
        {kImgDialog, QIcon(DialogItem())},       {kImgRoot, QIcon(RootItem())},
        {kImgSheet, QIcon(SheetItem())},
    };
    auto it = icons.find(index);
    return it == icons.end() ? QIcon() : it->second;
}

CZ30TreeView::CZ30TreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setIconSize(QSize(24, 24));
    setIndentation(14);
    // Long item texts widen the column and bring up the horizontal scroll bar instead of being
    // cut off.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);

    setExpandsOnDoubleClick(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection stays visible while another pane has the focus.
    QPalette pal = palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(pal);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        SetGroupImage(item, true);
        FitColumn();
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
        SetGroupImage(item, false);
        FitColumn();
    });
}

int CZ30TreeView::CodeOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kCodeRole).toInt() : 0;
}

QTreeWidgetItem* CZ30TreeView::FindCode(int code) const {
    for (QTreeWidgetItemIterator it(const_cast<CZ30TreeView*>(this)); *it; ++it)
        if (CodeOf(*it) == code) return *it;
    return nullptr;
}

int CZ30TreeView::SelectedCode() const {
    const auto items = selectedItems();
    return items.isEmpty() ? 0 : CodeOf(items.first());
}

void CZ30TreeView::SetGroupImage(QTreeWidgetItem* item, bool open) {
    const int code = CodeOf(item);
    if (code == treecode::kRoot || ActionOf(code) != TreeAction::Expand) return;
    item->setIcon(0, TreeImage(open ? kImgGroupOpen : kImgGroupClosed));
}

int CZ30TreeView::WidthForAllItems() const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int need = 0;
    for (QTreeWidgetItemIterator it(const_cast<CZ30TreeView*>(this)); *it; ++it) {
        int depth = rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* p = (*it)->parent(); p; p = p->parent())
            ++depth;
        const QModelIndex index = indexFromItem(*it);
        need = std::max(need, depth * indentation() +
                                  itemDelegateForIndex(index)->sizeHint(option, index).width());
    }
    return need + 2 * frameWidth();
}

void CZ30TreeView::FitColumn() {
    // As wide as the pane, or as the widest text shown when that is wider.
    header()->resizeSection(0, qMax(sizeHintForColumn(0), viewport()->width()));
}

bool CZ30TreeView::viewportEvent(QEvent* event) {
    const bool done = QTreeWidget::viewportEvent(event);
    // The visible width changes with the pane and with the vertical scroll bar.
    if (event->type() == QEvent::Resize) FitColumn();
    return done;
}

void CZ30TreeView::RebuildTree(int variant, bool makerReserve, bool manufacture, ITreeHost& host) {
    int remembered = SelectedCode();
    if (remembered == 0) remembered = MemorySheetOf(variant);

    blockSignals(true);
    clear();
    blockSignals(false);

    std::map<int, QTreeWidgetItem*> byCode;
    QTreeWidgetItem* selected = nullptr;
    for (const CTreeItemDef& def : TreeItemsFor(variant, makerReserve, manufacture)) {
        QTreeWidgetItem* item = def.parent == 0 ? new QTreeWidgetItem(this)
                                                : new QTreeWidgetItem(byCode.at(def.parent));
        item->setText(0, QString::fromStdString(def.text));
        item->setIcon(0, TreeImage(def.image));
        item->setData(0, kCodeRole, def.code);
        byCode[def.code] = item;
        if (def.code == treecode::kRoot) host.SetModelCaption(QString::fromStdString(def.text));
        if (!selected && TreeItemMatches(def.code, remembered)) selected = item;
        const int sheet = SheetAfterItem(def.code, host.CurrentSheetIndex());
        if (sheet >= 0) host.ShowSheet(sheet);
    }
    // Every group open, each through the view's own expanding (which keeps the branch marks
    // and a later double-click in step with the items).
    for (auto& [code, item] : byCode)
        if (item->childCount() > 0) item->setExpanded(true);
    FitColumn();
    // Scroll to the selection only once the tree has its size; a hidden tree starts at the top.
    setAutoScroll(false);
    if (selected) setCurrentItem(selected);
    setAutoScroll(true);
    scrollToTop();
    if (selected && isVisible()) scrollToItem(selected);
    if (!selected) {
        setCurrentItem(nullptr);
        clearSelection();
        host.ShowSheet(MemorySheetOf(variant));
    }
}

void CZ30TreeView::Activate(QTreeWidgetItem* item) {
    if (!item) return;
    const int code = CodeOf(item);
    if (ActionOf(code) == TreeAction::Expand)
        item->setExpanded(!item->isExpanded());
    else
        emit itemActivatedCode(code);
}

bool CZ30TreeView::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier) {
            emit focusSheetRequested();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip) return true;
    return QTreeWidget::event(event);
}

void CZ30TreeView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Activate(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CZ30TreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && ActionOf(CodeOf(item)) != TreeAction::Expand) {
        setCurrentItem(item);
        emit itemActivatedCode(CodeOf(item));
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}
