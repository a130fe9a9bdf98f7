// The signalling sheets: 2-tone receive code channels for the LMR radios; 5-tone receive and
// transmit code channels, formats and user tones for the PMR radios. Each row is edited whole
// in its row editor; there are no other row operations. The dialogs "2Tone Setting", "TX Code"
// and "5Tone Setting" open from the navigation tree through the editor registry.
#pragma once

#include "sheets/signal_sheets.h"
#include "views/list_sheet.h"

class CZ30SignalSheet : public CListSheet {
    Q_OBJECT
public:
    CZ30SignalSheet(CSignalSheet sheet, CCloneSupportDoc* doc, QWidget* parent = nullptr);

protected:
    std::vector<std::string> RowTexts(int row) const override;
    void EditRow() override;
    QString UpdateCaption() const override;

private:
    CSignalSheet m_sheet;
};

class Z302ToneRxSheet : public CZ30SignalSheet {
    Q_OBJECT
public:
    explicit Z302ToneRxSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30SignalSheet(CSignalSheet::TwoToneRx, doc, parent) {}
};

class Z305ToneRxSheet : public CZ30SignalSheet {
    Q_OBJECT
public:
    explicit Z305ToneRxSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30SignalSheet(CSignalSheet::FiveToneRx, doc, parent) {}
};

class Z305ToneTxSheet : public CZ30SignalSheet {
    Q_OBJECT
public:
    explicit Z305ToneTxSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30SignalSheet(CSignalSheet::FiveToneTx, doc, parent) {}
};

class Z305ToneFormatSheet : public CZ30SignalSheet {
    Q_OBJECT
public:
    explicit Z305ToneFormatSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30SignalSheet(CSignalSheet::FiveToneFormat, doc, parent) {}
};

class Z305ToneUserToneSheet : public CZ30SignalSheet {
    Q_OBJECT
public:
    explicit Z305ToneUserToneSheet(CCloneSupportDoc* doc, QWidget* parent = nullptr)
        : CZ30SignalSheet(CSignalSheet::FiveToneUserTone, doc, parent) {}
};

// The signalling sheet of a sheet index (3 to 7), null for another index.
CSheetView* CreateSignalSheet(int index, CCloneSupportDoc* doc, QWidget* parent);

// Opens a signalling dialog on the document; OK is one edit named after the dialog. True when
// the image changed.
bool OpenSignalDialog(QWidget* parent, CCloneSupportDoc& doc, CSignalDialog dialog);
