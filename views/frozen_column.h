// The first column of a grid (CH) kept in view while the grid scrolls sideways: a view of the
// same rows drawn over the grid's left edge, with the grid's model, selection and delegate. It
// takes no focus and no mouse: clicks reach the grid beneath, which selects the row clicked.
#pragma once

#include <QTableView>

class CFrozenColumn : public QTableView {
    Q_OBJECT
public:
    // grid has its model and selection model already.
    explicit CFrozenColumn(QTableView* grid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Cells are drawn as the grid's own, its focus deciding the highlight.
    void initViewItemOption(QStyleOptionViewItem* option) const override;

private:
    void FollowGrid();

    QTableView* m_grid;
};
