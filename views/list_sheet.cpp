#include "views/list_sheet.h"

#include "app/clone_support_doc.h"
#include "core/platform.h"
#include "print/page_renderer.h"
#include "sheets/channel_ops.h"
#include "sheets/channel_table.h"
#include "views/column_widths.h"
#include "views/command_ids.h"
#include "views/frozen_column.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString WidthKey(int column) { return QStringLiteral("Width%1").arg(column); }

// A column colour of the description (0x00BBGGRR), or an invalid colour for the list's own.
QColor ColumnColor(int value) {
    if (value < 0) return {};
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// The highlight of the selected row: the selection colours with the focus, the button face
// without it.
void HighlightColors(const QPalette& palette, bool focused, QColor* back, QColor* text) {
    *back = palette.color(QPalette::Active, focused ? QPalette::Highlight : QPalette::Button);
    *text =
        palette.color(QPalette::Active, focused ? QPalette::HighlightedText : QPalette::ButtonText);
}

// A cell's room: the margin the text must leave, and the text's inset from the cell's sides.
int MarginOf(int column) { return column == 0 ? 4 : 12; }
int InsetOf(int column) { return column == 0 ? 2 : 6; }

Qt::Alignment AlignmentOf(const CColumnDesc& column) {
    switch (column.align) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

// --- CSheetRowModel ------------------------------------------------------------------------------

CSheetRowModel::CSheetRowModel(const CSheetDesc& desc, QObject* parent)
    : QAbstractTableModel(parent), m_desc(desc) {}

void CSheetRowModel::SetRowCount(int rows) {
    beginResetModel();
    m_rows.assign(static_cast<std::size_t>(std::max(rows, 0)), QStringList());
    endResetModel();
}

void CSheetRowModel::SetRow(int row, const std::vector<std::string>& cells) {
    if (row < 0 || row >= rowCount()) return;
    QStringList texts;
    for (const std::string& cell : cells)
        texts << QString::fromStdString(cell);
    if (texts == m_rows[row]) return;
    m_rows[row] = std::move(texts);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
}

QString CSheetRowModel::Cell(int row, int column) const {
    return row >= 0 && row < rowCount() ? m_rows[row].value(column) : QString();
}

int CSheetRowModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CSheetRowModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_desc.columns;
}

void CSheetRowModel::SetCellMarks(std::function<QString(int row, int column)> markOf) {
    m_markOf = std::move(markOf);
    if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QVariant CSheetRowModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return Cell(index.row(), index.column());
    if ((role == Qt::ToolTipRole || role == Qt::BackgroundRole) && m_markOf) {
        const QString mark = m_markOf(index.row(), index.column());
        if (mark.isEmpty()) return {};
        return role == Qt::ToolTipRole ? QVariant(mark) : QVariant(QColor(kMarkColor));
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(m_desc.columnTable[index.column()]) |
                                   Qt::AlignVCenter);
    return {};
}

QVariant CSheetRowModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_desc.columns) return {};
    const CColumnDesc& column = m_desc.columnTable[section];
    if (role == Qt::DisplayRole) return QString::fromUtf8(column.header);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(column) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags CSheetRowModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return m_editable && m_editable(index.row(), index.column()) ? flags | Qt::ItemIsEditable
                                                                 : flags;
}

// --- CListSheetDelegate --------------------------------------------------------------------------

CListSheetDelegate::CListSheetDelegate(const CSheetDesc& desc, QObject* parent)
    : QStyledItemDelegate(parent), m_desc(desc) {}

void CListSheetDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const int column = index.column();
    const CColumnDesc& desc = m_desc.columnTable[column];
    const bool highlighted = option.state & QStyle::State_Selected;
    const bool focused = option.widget && option.widget->hasFocus();
    QColor back, text;
    if (highlighted) {
        HighlightColors(option.palette, focused, &back, &text);
    } else {
        back = option.palette.color(QPalette::Active, QPalette::Base);
        text = option.palette.color(QPalette::Active, QPalette::Text);
        if (QColor own = ColumnColor(desc.backColor); own.isValid()) back = own;
        if (QColor own = ColumnColor(desc.textColor); own.isValid()) text = own;
        if (const QVariant mark = index.data(Qt::BackgroundRole); mark.isValid())
            back = mark.value<QColor>();
    }
    painter->save();
    painter->fillRect(option.rect, back);
    painter->setPen(text);
    painter->setFont(option.font);
    const QFontMetrics fm(option.font);
    // Cut from the end with "..." appended, as the printout cuts its cells.
    const QString shown = FitCellText(index.data(Qt::DisplayRole).toString(), option.rect.width(),
                                      MarginOf(column), fm);
    const int inset = InsetOf(column);
    painter->drawText(option.rect.adjusted(inset, 0, -inset, 0),
                      AlignmentOf(desc) | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QWidget* CListSheetDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                          const QModelIndex& index) const {
    if (!m_editing) return nullptr;
    QWidget* editor = CreateCellEditor(m_editing->CellEditor(index.row(), index.column()), parent);
    // The keys typed into a tone box reach its line edit: they end the edit as the box's own.
    if (auto* box = qobject_cast<QComboBox*>(editor); box && box->lineEdit())
        box->lineEdit()->installEventFilter(const_cast<CListSheetDelegate*>(this));
    return editor;
}

void CListSheetDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (m_editing) FillCellEditor(editor, m_editing->CellEditor(index.row(), index.column()));
}

void CListSheetDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                      const QModelIndex& index) const {
    if (m_editing) m_editing->CommitCell(index.row(), index.column(), CellEditorText(editor));
}

bool CListSheetDelegate::eventFilter(QObject* object, QEvent* event) {
    if (auto* edit = qobject_cast<QLineEdit*>(object))
        if (auto* box = qobject_cast<QComboBox*>(edit->parentWidget());
            box && box->lineEdit() == edit)
            object = box;
    return QStyledItemDelegate::eventFilter(object, event);
}

// --- CListViewExs --------------------------------------------------------------------------------

CListViewExs::CListViewExs(const CSheetDesc& desc, QWidget* parent)
    : QTableView(parent), m_desc(desc) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 or a typed character edits a cell the model lets a user edit; no other cell.
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::StrongFocus);
    setItemDelegate(new CListSheetDelegate(desc, this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsMovable(false);
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    int smallest = 1 << 20;
    const double scale = ColumnWidthScale(font());
    for (const CColumnDesc& column : desc.columnTable)
        smallest = std::min(smallest, ScaledColumnWidths(column, scale).minWidth);
    header->setMinimumSectionSize(std::max(smallest, 1));
}

void CListViewExs::SetMultiSelect(bool multi) {
    m_multi = multi;
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                           : QAbstractItemView::SingleSelection);
}

int CListViewExs::SelectedRow() const {
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> CListViewExs::SelectedRows() const {
    std::vector<int> rows;
    if (!selectionModel()) return rows;
    for (const QModelIndex& at : selectionModel()->selectedRows())
        rows.push_back(at.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CListViewExs::FocusRow() const {
    const QModelIndex at = currentIndex();
    if (at.isValid() && selectionModel()->isRowSelected(at.row(), {})) return at.row();
    return SelectedRow();
}

void CListViewExs::SelectRow(int row) {
    if (!model() || row < 0 || row >= model()->rowCount()) return;
    m_anchor = row;
    const QModelIndex at = model()->index(row, std::min(m_currentColumn, m_desc.columns - 1));
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    // Into view vertically; the columns stay where the user scrolled them.
    const int columnsAt = horizontalScrollBar()->value();
    scrollTo(at);
    horizontalScrollBar()->setValue(columnsAt);
}

void CListViewExs::ExtendTo(int row) {
    if (!m_multi) return SelectRow(row);
    if (!model() || row < 0 || row >= model()->rowCount()) return;
    const int column = std::min(m_currentColumn, m_desc.columns - 1);
    const int anchor = std::clamp(m_anchor, 0, model()->rowCount() - 1);
    const QItemSelection range(model()->index(std::min(anchor, row), 0),
                               model()->index(std::max(anchor, row), m_desc.columns - 1));
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(model()->index(row, column), QItemSelectionModel::NoUpdate);
    const int columnsAt = horizontalScrollBar()->value();
    scrollTo(model()->index(row, column));
    horizontalScrollBar()->setValue(columnsAt);
}

bool CListViewExs::EditCurrentCell() {
    const int row = FocusRow();
    if (row < 0 || !model()) return false;
    const QModelIndex at = model()->index(row, m_currentColumn);
    if (!(model()->flags(at) & Qt::ItemIsEditable)) return false;
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    return edit(at, QAbstractItemView::EditKeyPressed, nullptr);
}

int CListViewExs::NextEditableColumn(int row, int column, bool forward) const {
    for (int step = 1; step < m_desc.columns; ++step) {
        int c = column + (forward ? step : -step);
        c = ((c - 1) % (m_desc.columns - 1) + (m_desc.columns - 1)) % (m_desc.columns - 1) + 1;
        if (model()->flags(model()->index(row, c)) & Qt::ItemIsEditable) return c;
    }
    return -1;
}

void CListViewExs::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    if (!next && hint != QAbstractItemDelegate::EditPreviousItem)
        return QTableView::closeEditor(editor, hint);
    // Tab and Shift+Tab: the next or previous editable column of the same row.
    const int row = currentIndex().row();
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    const int column = row >= 0 ? NextEditableColumn(row, m_currentColumn, next) : -1;
    if (column < 0) return;
    SetCurrentColumn(column);
    EditCurrentCell();
}

void CListViewExs::SetCurrentColumn(int column) {
    m_currentColumn = std::clamp(column, 1, std::max(1, m_desc.columns - 1));
    const int row = FocusRow();
    if (row < 0) return;
    const QModelIndex at = model()->index(row, m_currentColumn);
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
    scrollTo(at);
    RedrawSelectedRow();
}

QColor CListViewExs::HighlightColor() const {
    QColor back, text;
    HighlightColors(palette(), hasFocus(), &back, &text);
    return back;
}

int CListViewExs::ColumnForCurrent(const QPoint& pos) const {
    const int column = columnAt(pos.x());
    return column < 1 ? 1 : column;
}

void CListViewExs::RedrawSelectedRow() {
    for (int row : SelectedRows())
        viewport()->update(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
}

int CListViewExs::RowForKey(const QKeyEvent* event) const {
    const int row = FocusRow();
    const int last = model() ? model()->rowCount() - 1 : -1;
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)) - 1);
    int to = -1;
    switch (event->key()) {
    case Qt::Key_Up:
        to = row - 1;
        break;
    case Qt::Key_Down:
        to = row + 1;
        break;
    case Qt::Key_PageUp:
        to = row - page;
        break;
    case Qt::Key_PageDown:
        to = row + page;
        break;
    case Qt::Key_Home:
        return last >= 0 ? 0 : -1;
    case Qt::Key_End:
        return last;
    default:
        return -1;
    }
    return last < 0 ? -1 : std::clamp(to, 0, last);
}

bool CListViewExs::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            emit tabPressed();
            return true;
        }
    }
    return QTableView::event(event);
}

void CListViewExs::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 opens the context menu as the Menu key does.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), mapToGlobal(QPoint()));
        contextMenuEvent(&menu);
        return;
    }
    const int last = m_desc.columns - 1;
    const bool plain = !(event->modifiers() & ~Qt::KeypadModifier);
    switch (event->key()) {
    case Qt::Key_Left:
        SetCurrentColumn(m_currentColumn <= 1 ? last : m_currentColumn - 1);
        return;
    case Qt::Key_Right:
        SetCurrentColumn(m_currentColumn >= last ? 1 : m_currentColumn + 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The key that ends a cell's edit comes back from its editor: it opens nothing.
        if (state() == QAbstractItemView::EditingState && !hasFocus()) return;
        emit editRequested();
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (plain && model()) {
            SelectRow(event->key() == Qt::Key_Home ? 0 : model()->rowCount() - 1);
            return;
        }
        [[fallthrough]];
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // Shift extends the selection from its anchor; a plain move selects the row it reaches.
        if (m_multi && (plain || (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier)) {
            if (const int row = RowForKey(event); row >= 0) plain ? SelectRow(row) : ExtendTo(row);
            return;
        }
        break;
    default:
        break;
    }
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
        return;
    }
    if (m_multi && event->matches(QKeySequence::SelectAll) && model() && model()->rowCount() > 0) {
        const int focus = FocusRow();
        m_anchor = 0;
        ExtendTo(model()->rowCount() - 1);
        m_anchor = 0;
        if (focus >= 0)
            selectionModel()->setCurrentIndex(model()->index(focus, m_currentColumn),
                                              QItemSelectionModel::NoUpdate);
        return;
    }
    QTableView::keyPressEvent(event);
}

void CListViewExs::mousePressEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    event->accept();
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid()) return; // below the last row: the selection stays
    const int row = at.row();
    const bool selected = selectionModel()->isRowSelected(row, {});
    SetCurrentColumn(ColumnForCurrent(event->position().toPoint()));
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (m_multi && event->button() == Qt::LeftButton && (mods & Qt::ShiftModifier)) {
        ExtendTo(row);
    } else if (m_multi && event->button() == Qt::LeftButton && (mods & Qt::ControlModifier)) {
        // Adds or removes the row; the focus goes with it, an added row anchors Shift.
        if (!selected) m_anchor = row;
        selectionModel()->setCurrentIndex(model()->index(row, m_currentColumn),
                                          QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
    } else if (!(m_multi && event->button() == Qt::RightButton && selected &&
                 SelectedRows().size() > 1)) {
        SelectRow(row); // a right press inside a selection of several keeps it
    }
}

void CListViewExs::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    event->accept();
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid() || event->button() != Qt::LeftButton) return;
    SelectRow(at.row());
    emit editRequested();
}

void CListViewExs::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        emit contextMenuAt(mapToGlobal(QPoint(0, 0)));
        return;
    }
    SetCurrentColumn(ColumnForCurrent(viewport()->mapFromGlobal(event->globalPos())));
    emit contextMenuAt(event->globalPos());
}

void CListViewExs::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    const int row = FocusRow();
    if (row < 0 || !model() || m_desc.columns <= 0) return;
    const int top = rowViewportPosition(row);
    const int height = rowHeight(row);
    const int last = m_desc.columns - 1;
    const int left = columnViewportPosition(0);
    const int right = columnViewportPosition(last) + columnWidth(last);
    QPainter painter(viewport());
    // Full-row selection: the highlight goes on to the right edge.
    if (right < viewport()->width())
        for (int selected : SelectedRows())
            painter.fillRect(QRect(right, rowViewportPosition(selected),
                                   viewport()->width() - right, rowHeight(selected)),
                             HighlightColor());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(left, top, std::max(right, viewport()->width()) - left, height);
        focus.backgroundColor = HighlightColor();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CListViewExs::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CListViewExs::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// --- CListSheet ----------------------------------------------------------------------------------

CListSheet::CListSheet(int index, QString title, const CSheetDesc& desc, CCloneSupportDoc* doc,
                       bool rowOperations, QString clipboardFormat, QWidget* parent)
    : CSheetView(index, std::move(title), parent), m_desc(desc), m_doc(doc),
      m_rowOperations(rowOperations), m_clipboardFormat(std::move(clipboardFormat)),
      m_model(new CSheetRowModel(desc, this)), m_view(new CListViewExs(desc, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    m_view->setModel(m_model);
    m_view->SetMultiSelect(rowOperations);
    static_cast<CListSheetDelegate*>(m_view->itemDelegate())->SetEditing(this);
    m_model->SetEditable([this](int row, int column) { return CellEditable(row, column); });
    new CFrozenColumn(m_view);
    m_model->SetRowCount(desc.rows);
    CSheetView::SetRowCount(desc.rows);
    ReloadColumnWidths();
    m_view->SelectRow(0);

    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { m_pasteable.reset(); });
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this,
            &CListSheet::OnSectionResized);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CListSheet::OnSelectionChanged);
    connect(m_view, &CListViewExs::editRequested, this,
            [this] { HandleCommand(cmd::kEditMemory); });
    connect(m_view, &CListViewExs::tabPressed, this, &CSheetView::focusTreeRequested);
    connect(m_view, &CListViewExs::copyRequested, this, &CListSheet::CopyRowsAsText);
    connect(m_view, &CListViewExs::contextMenuAt, this, [this](const QPoint& at) {
        if (SelectedRow() >= 0 && m_desc.contextMenu != 0)
            emit contextMenuRequested(m_desc.contextMenu, at);
    });
}

void CListSheet::ApplyColumnWidth(int column, int width) {
    m_applyingWidths = true;
    m_view->horizontalHeader()->resizeSection(column, width);
    m_applyingWidths = false;
}

void CListSheet::ReloadColumnWidths() {
    ISettingsStore& settings = *Platform().settings;
    const double scale = ColumnWidthScale(m_view->font());
    const QHeaderView* header = m_view->horizontalHeader();
    const QFontMetrics cells(m_view->font());
    const QFontMetrics titles(header->font());
    const int titleMargin =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int i = 0; i < m_desc.columns; ++i) {
        const CColumnWidths column = ScaledColumnWidths(m_desc.columnTable[i], scale);
        const std::string key = WidthKey(i).toStdString();
        if (!settings.GetString(m_desc.section, key, "").empty()) {
            // A width the user dragged, as it was left.
            ApplyColumnWidth(i, column.Clamp(settings.GetInt(m_desc.section, key, column.width)));
            continue;
        }
        // The default: wide enough for the header and the texts shown.
        int need =
            titles.horizontalAdvance(QString::fromUtf8(m_desc.columnTable[i].header)) + titleMargin;
        for (int row = 0; row < m_model->rowCount(); ++row)
            need = std::max(need, cells.horizontalAdvance(m_model->Cell(row, i)) + MarginOf(i));
        ApplyColumnWidth(i, column.Clamp(std::max(column.width, need)));
    }
}

void CListSheet::OnSectionResized(int column, int, int newWidth) {
    if (m_applyingWidths || column < 0 || column >= m_desc.columns) return;
    const int width =
        ScaledColumnWidths(m_desc.columnTable[column], ColumnWidthScale(m_view->font()))
            .Clamp(newWidth);
    if (width != newWidth) ApplyColumnWidth(column, width);
    Platform().settings->SetInt(m_desc.section, WidthKey(column).toStdString(), width);
}

void CListSheet::SetRowCount(int rows, int channelBase) {
    const int remembered = SelectedRow();
    m_channelBase = channelBase;
    CSheetView::SetRowCount(rows);
    m_model->SetRowCount(rows);
    SelectRow(remembered >= 0 && remembered < rows ? remembered : 0);
    SetCaptionSuffix(UpdateCaption());
}

void CListSheet::RefreshRow(int row) { m_model->SetRow(row, RowTexts(row)); }

void CListSheet::RefreshAll() {
    for (int row = 0; row < RowCount(); ++row)
        RefreshRow(row);
    SelectRow(SelectedRow());
    SetCaptionSuffix(UpdateCaption());
    ReloadColumnWidths();
}

int CListSheet::SelectedChannel() const {
    const int row = SelectedRow();
    return row >= 0 ? ChannelOfRow(row) : 0;
}

std::vector<int> CListSheet::SelectedChannels() const {
    std::vector<int> channels;
    for (int row : SelectedRows())
        channels.push_back(ChannelOfRow(row));
    return channels;
}

CEditStep CListSheet::RunEdit(const QString& label, const CEditChange& change, int changedRow) {
    if (!m_doc || !Root()) return {};
    CEditStep step =
        ::RunEdit(*m_doc, label, change, changedRow >= 0 ? PathOfRow(changedRow) : std::string());
    emit editRun(label);
    return step;
}

CEditStep CListSheet::RunEdit(const QString& label, const std::function<void(CNode& root)>& change,
                              int changedRow) {
    return RunEdit(
        label, [&](CNode& root, CEditReport&) { change(root); }, changedRow);
}

void CListSheet::FollowChange(const std::string& path) {
    const int row = path.empty() ? -1 : RowOfPath(path);
    if (row < 0 || row >= RowCount()) {
        RefreshAll();
        return;
    }
    RefreshRow(row);
    SetCaptionSuffix(UpdateCaption());
}

QString CListSheet::EditLabel(const char* action, int channel) {
    return QStringLiteral("%1 CH %2").arg(QString::fromUtf8(action)).arg(channel);
}

QString CListSheet::UpdateCaption() const {
    const std::vector<int> channels = SelectedChannels();
    return channels.empty() ? QStringLiteral("     ")
                            : " - " + QString::fromStdString(ChannelsText(channels));
}

void CListSheet::OnSelectionChanged() {
    m_view->viewport()->update();
    SetCaptionSuffix(UpdateCaption());
}

void CListSheet::CopyRowsAsText() {
    std::vector<std::vector<std::string>> rows;
    for (int row : SelectedRows())
        rows.push_back(RowTexts(row));
    if (rows.empty()) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(TableText(m_desc, rows)));
}

bool CListSheet::CanPaste() const {
    if (m_clipboardFormat.isEmpty()) return false;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasFormat(m_clipboardFormat);
}

CNode* CListSheet::Root() const { return m_doc ? m_doc->GetRoot() : nullptr; }
int CListSheet::Variant() const { return m_doc ? m_doc->GetVariant() : 0; }

bool CListSheet::AskYesNo(const char* text, bool exclamation) {
    return Platform().prompts->MessageBox(text, "KT-Z30", KtButtons::YesNo,
                                          exclamation ? KtIcon::Exclamation : KtIcon::None) ==
           KtAnswer::Yes;
}

namespace {
// The channel attribute commands: id, attribute, the name an edit takes.
struct CAttributeCommand {
    int id;
    const char* attribute;
    const char* name;
};
const CAttributeCommand kAttributeCommands[] = {{cmd::kPrioA, kAttrPrioA, "Prio A"},
                                                {cmd::kPrioB, kAttrPrioB, "Prio B"},
                                                {cmd::kEmergency, kAttrEmr, "Emergency"}};
const CAttributeCommand* AttributeCommand(int id) {
    for (const CAttributeCommand& c : kAttributeCommands)
        if (c.id == id) return &c;
    return nullptr;
}
} // namespace

void CListSheet::SetChannelAttributeCommand(int id) {
    const int n = SelectedChannel();
    if (const CAttributeCommand* c = AttributeCommand(id)) {
        RunEdit(EditLabel(c->name, n),
                [&](CNode& root) { SetChannelAttribute(&root, c->attribute, n); });
    } else {
        RunEdit(QStringLiteral("Emergency OFF"),
                [](CNode& root) { SetChannelAttribute(&root, kAttrEmr, 0); });
    }
}

bool CListSheet::HandleCommand(int id) {
    CCmdUI ui;
    if (!UpdateCommand(id, ui)) return false;
    if (!ui.enabled) return true;
    switch (id) {
    case cmd::kEditMemory:
        EditRow();
        break;
    case cmd::kCopy:
        CopyRow();
        break;
    case cmd::kPaste:
        PasteRow();
        break;
    case cmd::kClear:
        ClearRow();
        break;
    case cmd::kDelete:
        DeleteRow();
        break;
    case cmd::kInsert:
        InsertRow();
        break;
    case cmd::kPrioA:
    case cmd::kPrioB:
    case cmd::kEmergency:
    case cmd::kEmergencyOff:
        SetChannelAttributeCommand(id);
        return true;
    case cmd::kCut: // with one row Cut does nothing
        if (SelectionSize() > 1 && m_rowOperations) CutRows();
        return true;
    default:
        return true;
    }
    m_view->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CListSheet::UpdateCommand(int id, CCmdUI& ui) {
    const int count = SelectionSize();
    const bool selected = count > 0;
    const bool rowCommand = selected && m_rowOperations;
    // The commands on one channel: with one row only.
    const bool oneRow = count == 1;
    switch (id) {
    case cmd::kEditMemory:
        ui.enabled = oneRow;
        return true;
    case cmd::kCopy:
    case cmd::kClear:
    case cmd::kDelete:
    case cmd::kInsert:
        ui.enabled = rowCommand;
        return true;
    case cmd::kEmergencyOff:
        ui.enabled = rowCommand && oneRow;
        return true;
    case cmd::kPaste:
        // The menus ask often; the clipboard is read once after each change.
        if (rowCommand && !m_pasteable) m_pasteable = CanPaste();
        ui.enabled = rowCommand && *m_pasteable;
        return true;
    case cmd::kPrioA:
    case cmd::kPrioB:
    case cmd::kEmergency:
        ui.enabled = rowCommand && oneRow;
        ui.checked = ui.enabled &&
                     ChannelAttribute(Root(), AttributeCommand(id)->attribute) == SelectedChannel();
        return true;
    case cmd::kCut:
        ui.enabled = true;
        return true;
    default:
        return false;
    }
}
