// The navigation tree: the editors of the current variant as items with codes; activating an
// item shows a sheet or opens a dialog.
#pragma once

#include <QTreeWidget>

// What the tree needs of the frame around it while it rebuilds.
class ITreeHost {
public:
    virtual ~ITreeHost() = default;
    virtual int CurrentSheetIndex() const = 0;
    virtual void ShowSheet(int index) = 0;
    virtual void SetModelCaption(const QString& text) = 0;
};

class CZ30TreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit CZ30TreeView(QWidget* parent = nullptr);

    void RebuildTree(int variant, bool makerReserve, bool manufacture, ITreeHost& host);

    static int CodeOf(const QTreeWidgetItem* item);
    QTreeWidgetItem* FindCode(int code) const;
    int SelectedCode() const;
    // The pane width that shows every item, every group open, without scrolling sideways.
    int WidthForAllItems() const;

signals:
    // An item that shows a sheet or opens a dialog was activated (Enter or double-click).
    void itemActivatedCode(int code);
    // Tab was pressed: the sheet pane takes the focus.
    void focusSheetRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void Activate(QTreeWidgetItem* item);
    void SetGroupImage(QTreeWidgetItem* item, bool open);
    void FitColumn();
};

// The five images of the tree, in list order (closed group, open group, dialog, root, sheet).
QIcon TreeImage(int index);
