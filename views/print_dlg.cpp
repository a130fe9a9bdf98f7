#include "views/print_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CPrintSelectDlg::CPrintSelectDlg(bool pmr, bool makerReserve, QWidget* parent)
    : QDialog(parent), m_makerReserve(makerReserve) {
    setWindowTitle(QStringLiteral("Print"));
    setObjectName(QStringLiteral("PrintSelect"));
    const char* const labels[kBoxes] = {"All",           "Common Setting", "Memory CH",
                                        "DTMF Autodial", "Scan Setting",   pmr ? "5Tone" : "2Tone",
                                        "Maker Reserved"};
    auto* group = new QGroupBox(QStringLiteral("Print Selection"), this);
    auto* boxes = new QVBoxLayout(group);
    for (int i = 0; i < kBoxes; ++i) {
        m_boxes[i] = new QCheckBox(QString::fromLatin1(labels[i]), group);
        boxes->addWidget(m_boxes[i]);
    }
    connect(m_boxes[All], &QCheckBox::toggled, this, &CPrintSelectDlg::UpdateBoxes);
    auto* paper = new QGroupBox(QStringLiteral("Orientation"), this);
    auto* sides = new QVBoxLayout(paper);
    m_portrait = new QRadioButton(QStringLiteral("Portrait"), paper);
    m_landscape = new QRadioButton(QStringLiteral("Landscape"), paper);
    m_landscape->setObjectName(QStringLiteral("Landscape"));
    m_portrait->setChecked(true);
    sides->addWidget(m_portrait);
    sides->addWidget(m_landscape);
    auto* left = new QVBoxLayout;
    left->addWidget(group);
    left->addWidget(paper);

    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical, this);
    QPushButton* setting =
        buttons->addButton(QStringLiteral("Printer Setting"), QDialogButtonBox::ActionRole);
    setting->setObjectName(QStringLiteral("PrinterSetting"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(setting, &QPushButton::clicked, this, [this] {
        if (onPrinterSetting) onPrinterSetting();
    });

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    UpdateBoxes();
}

void CPrintSelectDlg::SetSelection(const CPrintSelection& s) {
    const bool on[kBoxes] = {s.all, s.common, s.memory, s.dtmf, s.scan, s.signalling, s.maker};
    for (int i = 0; i < kBoxes; ++i)
        m_boxes[i]->setChecked(on[i]);
    (s.landscape ? m_landscape : m_portrait)->setChecked(true);
    UpdateBoxes();
}

CPrintSelection CPrintSelectDlg::Selection() const {
    auto on = [this](Box box) { return m_boxes[box]->isChecked(); };
    return {on(All),         on(CommonSetting), on(MemoryCh), on(DtmfAutodial),
            on(ScanSetting), on(Signalling),    on(Maker),    m_landscape->isChecked()};
}

void CPrintSelectDlg::UpdateBoxes() {
    const bool all = m_boxes[All]->isChecked();
    for (int i = CommonSetting; i < kBoxes; ++i)
        m_boxes[i]->setEnabled(!all && (i != Maker || m_makerReserve));
}

CPrintingDlg::CPrintingDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Print"));
    setObjectName(QStringLiteral("NowPrinting"));
    setModal(false);
    auto* text = new QLabel(QStringLiteral("Now Printing"), this);
    text->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPrintingDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    setMinimumWidth(240);
}

void CPrintingDlg::reject() { m_cancelled = true; }
