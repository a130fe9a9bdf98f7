#include "views/frozen_column.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionViewItem>

CFrozenColumn::CFrozenColumn(QTableView* grid) : QTableView(grid), m_grid(grid) {
    setObjectName(QStringLiteral("FrozenColumn"));
    setModel(grid->model());
    setSelectionModel(grid->selectionModel());
    setItemDelegate(grid->itemDelegate());
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(grid->showGrid());
    setSelectionBehavior(grid->selectionBehavior());
    setSelectionMode(grid->selectionMode());
    setVerticalScrollMode(grid->verticalScrollMode());
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(grid->verticalHeader()->defaultSectionSize());
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    for (int column = 1; column < model()->columnCount(); ++column)
        setColumnHidden(column, true);
    connect(grid->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
    connect(grid->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
        if (column == 0) FollowGrid();
    });
    connect(grid->model(), &QAbstractItemModel::columnsInserted, this, &CFrozenColumn::FollowGrid);
    grid->viewport()->installEventFilter(this);
    grid->horizontalHeader()->installEventFilter(this);
    FollowGrid();
    show();
}

bool CFrozenColumn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show) FollowGrid();
    if (watched == m_grid->viewport() && event->type() == QEvent::Paint) viewport()->update();
    return QTableView::eventFilter(watched, event);
}

void CFrozenColumn::initViewItemOption(QStyleOptionViewItem* option) const {
    QTableView::initViewItemOption(option);
    option->widget = m_grid;
}

void CFrozenColumn::FollowGrid() {
    setColumnWidth(0, m_grid->columnWidth(0));
    horizontalHeader()->setFixedHeight(m_grid->horizontalHeader()->height());
    verticalHeader()->setDefaultSectionSize(m_grid->verticalHeader()->defaultSectionSize());
    const int frame = m_grid->frameWidth();
    setGeometry(frame + m_grid->verticalHeader()->width() * m_grid->verticalHeader()->isVisible(),
                frame, m_grid->columnWidth(0),
                m_grid->viewport()->height() + m_grid->horizontalHeader()->height());
    verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value());
}
