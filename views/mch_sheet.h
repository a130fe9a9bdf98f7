// The memory channel sheets: one row per channel of the "Mch" branch, with the row editor and
// the row operations. LMR variants show CZ30MchLMRSheet, PMR variants CZ30MchPMRSheet.
#pragma once

#include "views/list_sheet.h"

class CZ30MchSheet : public CListSheet {
    Q_OBJECT
public:
    CZ30MchSheet(int index, bool pmr, CCloneSupportDoc* doc, QWidget* parent = nullptr);

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
    std::string PathOfRow(int row) const override;
    int RowOfPath(const std::string& path) const override;

private:
    // The sheet's record on the clipboard, empty when there is none.
    QByteArray ClipboardRecord() const;
    // The values of channel n (paths under prefix "Mch.CH<n>.") that an edit stored in another
    // form, or not at all, on the status bar.
    static void TellOutcome(int n, const std::string& prefix, const CEditStep& step);
    // A row operation on channel n named verb ("Clear CH 3"), told like an edit of the channel.
    // changedRow: the one row it changes, -1 for all.
    void RunRowOperation(const char* verb, int n, const std::function<void(CNode& root)>& change,
                         int changedRow = -1);

    bool m_pmr;
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
