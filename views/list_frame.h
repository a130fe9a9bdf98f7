// The sheet frame: eight views, one shown at a time, addressed by sheet index.
#pragma once

#include <QWidget>
#include <array>

class CCloneSupportDoc;
class CSheetView;
class ICommandTarget;
class QStackedLayout;

constexpr int kSheetCount = 8;

class CZ30ListFrame : public QWidget {
    Q_OBJECT
public:
    // document: where the sheets pass the commands they do not handle; doc: the document whose
    // tree the grid sheets show (without one they stay empty pages).
    explicit CZ30ListFrame(ICommandTarget* document, CCloneSupportDoc* doc = nullptr,
                           QWidget* parent = nullptr);

    // Shows a sheet (the caller sets the row count of the memory sheets first). An index out of
    // range is ignored.
    void ShowSheet(int index);
    int CurrentSheetIndex() const;
    CSheetView* Sheet(int index) const;
    CSheetView* CurrentSheet() const;

    static QString TitleOf(int index);

signals:
    void sheetShown(int index);

private:
    std::array<CSheetView*, kSheetCount> m_sheets{};
    QStackedLayout* m_stack;
};

// Creates the view of a sheet index; the sheets' own editors plug in here.
CSheetView* CreateSheet(int index, CCloneSupportDoc* doc, QWidget* parent);
