// The grid sheets as a window shows them: widths that fit the font, the CH column that stays in
// view while the sheet scrolls sideways, the start at the left edge, Shift+F10.
#include "app_fixture.h"

#include "views/command_ids.h"
#include "views/frozen_column.h"
#include "views/list_frame.h"
#include "views/list_sheet.h"
#include "views/tree_items.h"

#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTimer>

namespace {

class GridTest : public SheetAppTest {
protected:
    void Finish() {
        app->Document().SetModifiedFlag(false);
        Close();
    }
};

} // namespace

// With no width stored, every header and every text the factory defaults show fits its column
// without "...", on every sheet of every variant.
TEST_F(GridTest, DefaultWidthsFitHeadersAndFactoryTexts) {
    for (int variant = 0; variant < 6; ++variant) {
        CZ30MainFrame& frame = StartWith(variant);
        for (int index = 1; index <= 7; ++index) {
            auto* sheet = qobject_cast<CListSheet*>(frame.Sheets()->Sheet(index));
            if (!sheet || !sheet->isEnabled()) continue;
            frame.ShowSheet(index);
            const CListViewExs* view = sheet->View();
            const QFontMetrics fm(view->font());
            const QHeaderView* header = view->horizontalHeader();
            const int headerMargin =
                2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < header->count(); ++c) {
                const QString title =
                    sheet->Model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
                EXPECT_LE(QFontMetrics(header->font()).horizontalAdvance(title) + headerMargin,
                          header->sectionSize(c))
                    << variant << "/" << index << " " << title.toStdString();
                for (int r = 0; r < sheet->RowCount(); ++r) {
                    const QString text = sheet->CellText(r, c);
                    EXPECT_LE(fm.horizontalAdvance(text) + (c == 0 ? 4 : 12),
                              header->sectionSize(c))
                        << variant << "/" << index << " " << title.toStdString() << " "
                        << text.toStdString();
                }
            }
        }
        Finish();
    }
}

// Scrolled sideways, the PMR sheet still shows its CH column at the left, row for row; a new
// document starts at the left edge again.
TEST_F(GridTest, TheChColumnStaysWhileTheSheetScrollsSideways) {
    CZ30MainFrame& frame = StartWith(5);
    frame.resize(640, 400);
    QApplication::processEvents();
    CListViewExs* view = Sheet().View();
    auto* frozen = view->findChild<CFrozenColumn*>();
    ASSERT_NE(frozen, nullptr);
    QScrollBar* sideways = view->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    view->verticalScrollBar()->setValue(3);
    sideways->setValue(sideways->maximum());
    QApplication::processEvents();
    EXPECT_LT(view->columnViewportPosition(0), 0); // the grid's own is gone
    EXPECT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->x(), view->frameWidth());
    EXPECT_EQ(frozen->columnWidth(0), view->columnWidth(0));
    for (int row : {3, 5}) {
        const QModelIndex cell = frozen->model()->index(row, 0);
        EXPECT_EQ(frozen->visualRect(cell).top(), view->visualRect(cell).top()) << row;
        EXPECT_EQ(frozen->model()->data(cell).toString(), QString::number(row + 1));
    }
    // It follows a dragged width and the selection.
    view->horizontalHeader()->resizeSection(0, 70);
    EXPECT_EQ(frozen->width(), 70);
    Sheet().SelectRow(4);
    EXPECT_TRUE(frozen->selectionModel()->isRowSelected(4, {}));

    frame.RouteCommand(cmd::kNew);
    QApplication::processEvents();
    EXPECT_EQ(sideways->value(), 0);
    Finish();
}

// Shift+F10 opens the context menu as the Menu key does.
TEST_F(GridTest, ShiftF10OpensTheContextMenu) {
    CZ30MainFrame& frame = StartWith(4);
    frame.activateWindow();
    frame.FocusSheet();
    CListViewExs* view = Sheet().View();
    QString menu;
    QTimer::singleShot(100, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu = popup->objectName();
            popup->close();
        }
    });
    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(menu, QStringLiteral("ContextMenu131"));
    Finish();
}
