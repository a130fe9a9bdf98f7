// The memory channel sheets: one row per channel of the "Mch" branch, with the row editor and
// the row operations. LMR variants show CZ30MchLMRSheet, PMR variants CZ30MchPMRSheet.
#pragma once

#include "views/list_sheet.h"

struct CFieldResult;
struct CTableEdit;

class CZ30MchSheet : public CListSheet {
    Q_OBJECT
public:
    CZ30MchSheet(int index, bool pmr, CCloneSupportDoc* doc, QWidget* parent = nullptr);

    // In-place editing of the frequency, tone and choice columns (a channel that is off: its
    // RX Frequency only).
    bool CellEditable(int row, int column) const override;
    CCellEditor CellEditor(int row, int column) const override;
    void CommitCell(int row, int column, const QString& text) override;

protected:
    std::vector<std::string> RowTexts(int row) const override;
    void EditRow() override;
    void CopyRow() override;
    void PasteRow() override;
    void ClearRow() override;
    void ResetChannel(int channel) override;
    void DeleteRow() override;
    void InsertRow() override;
    bool CanPaste() const override;
    void CutRows() override;
    bool HandleCommand(int id) override;
    bool UpdateCommand(int id, CCmdUI& ui) override;
    std::string PathOfRow(int row) const override;
    int RowOfPath(const std::string& path) const override;

private:
    // The sheet's records on the clipboard, empty when there are none.
    QByteArray ClipboardRecord() const;
    // What the clipboard holds, read once after each change.
    struct CClipState {
        bool own = false;   // records of this sheet
        bool other = false; // records of the other memory sheet
        bool text = false;  // text
    };
    const CClipState& Clip() const;
    // The clipboard's text pasted as a table of channels (one edit); told in one report.
    void PasteText();
    void FillDown();
    void FillSeries();
    // Runs a table edit on the selected channels as one edit named label and tells what it
    // did: the status bar, and a report of what was adjusted, refused or left aside.
    void RunTableEdit(const QString& label, const std::function<CTableEdit(CNode& root)>& change);
    // The label of an edit on the selected rows: "Paste CH 5", "Paste CH 3-5", "Paste 3 CH".
    QString RowsLabel(const char* action) const;
    // The label of a paste of that many rows: the channels they go to ("Paste CH 14-16").
    QString PasteLabel(std::size_t rows) const;
    // The step's outcomes on several channels, one line each ("CH 5: RX Frequency adjusted to
    // ..."), and the notes after them.
    static QStringList OutcomeLines(const CEditStep& step);
    // The values of channel n (paths under prefix "Mch.CH<n>.") that an edit stored in another
    // form, or not at all, on the status bar.
    static void TellOutcome(int n, const std::string& prefix, const CEditStep& step);
    // The row editor's warning about the frequencies a channel refuses.
    static QString RefusalText(const std::vector<CFieldResult>& refused);
    // A row operation on channel n named verb ("Clear CH 3"), told like an edit of the channel.
    // changedRow: the one row it changes, -1 for all.
    void RunRowOperation(const char* verb, int n, const std::function<void(CNode& root)>& change,
                         int changedRow = -1);
    // The same on the selected channels: one is told as above, several are one table edit
    // ("Delete CH 3-5"); changedRow is the row one channel changes.
    void RunOnChannels(const char* verb, const std::vector<int>& channels,
                       const std::function<void(CNode& root)>& change, int changedRow = -1);

    bool m_pmr;
    mutable std::optional<CClipState> m_clip;
};

class CZ30MchLMRSheet : public CZ30MchSheet {
    Q_OBJECT
public:
    explicit CZ30MchLMRSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30MchSheet(1, false, doc, parent) {}
};

class CZ30MchPMRSheet : public CZ30MchSheet {
    Q_OBJECT
public:
    explicit CZ30MchPMRSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30MchSheet(2, true, doc, parent) {}
};
