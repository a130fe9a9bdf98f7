#include "app/qt/csv_import_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CCsvImportDlg::CCsvImportDlg(const QString& file, QWidget* parent)
    : QDialog(parent),
      m_renumber(new QCheckBox(QStringLiteral("&Renumber: the rows in file order into channels "
                                              "1, 2, 3 ..."),
                               this)),
      m_range(new QCheckBox(QStringLiteral("Only the rows whose &Location is"), this)),
      m_first(new QSpinBox(this)), m_last(new QSpinBox(this)) {
    setObjectName(QStringLiteral("CsvImport"));
    setWindowTitle(QStringLiteral("Import Channels"));
    for (QSpinBox* box : {m_first, m_last}) {
        box->setRange(0, 999999);
        box->setEnabled(false);
    }
    m_last->setValue(16);
    connect(m_range, &QCheckBox::toggled, m_first, &QWidget::setEnabled);
    connect(m_range, &QCheckBox::toggled, m_last, &QWidget::setEnabled);
    // The range never runs backwards.
    connect(m_first, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_last->value() < v) m_last->setValue(v);
    });
    connect(m_last, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_first->value() > v) m_first->setValue(v);
    });

    auto* range = new QHBoxLayout;
    range->addWidget(m_range);
    range->addWidget(m_first);
    range->addWidget(new QLabel(QStringLiteral("to"), this));
    range->addWidget(m_last);
    range->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Channels from %1. Without renumbering each row goes to the channel its "
                       "Location names.")
            .arg(file.toHtmlEscaped()),
        this));
    layout->addWidget(m_renumber);
    layout->addLayout(range);
    layout->addWidget(buttons);
}

CCsvImportOptions CCsvImportDlg::Options() const {
    CCsvImportOptions options;
    options.renumber = m_renumber->isChecked();
    if (m_range->isChecked()) {
        options.first = m_first->value();
        options.last = m_last->value();
    }
    return options;
}
