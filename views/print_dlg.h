// The print dialogs: "Print" with the sections to print and the button "Printer Setting", and
// the modeless "Now Printing" box whose Cancel stops the job.
#pragma once

#include "sheets/print_job.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QRadioButton;

class CPrintSelectDlg : public QDialog {
    Q_OBJECT
public:
    enum Box { All, CommonSetting, MemoryCh, DtmfAutodial, ScanSetting, Signalling, Maker };
    static constexpr int kBoxes = 7;

    // pmr: the sixth box reads "5Tone" (else "2Tone"); makerReserve: "Maker Reserved" may be
    // checked.
    CPrintSelectDlg(bool pmr, bool makerReserve, QWidget* parent = nullptr);

    void SetSelection(const CPrintSelection& selection);
    CPrintSelection Selection() const;
    QCheckBox* BoxAt(Box box) const { return m_boxes[box]; }
    QRadioButton* LandscapeButton() const { return m_landscape; }

    // "Printer Setting" was pressed.
    std::function<void()> onPrinterSetting;

private:
    // While "All" is checked the other boxes are disabled.
    void UpdateBoxes();

    std::array<QCheckBox*, kBoxes> m_boxes{};
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    bool m_makerReserve;
};

// "Now Printing", shown while a job goes to the printer; Cancel asks the job to stop.
class CPrintingDlg : public QDialog {
    Q_OBJECT
public:
    explicit CPrintingDlg(QWidget* parent = nullptr);
    bool Cancelled() const { return m_cancelled; }

protected:
    void reject() override; // Cancel, Escape and the close button

private:
    bool m_cancelled = false;
};
