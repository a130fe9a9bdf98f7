#include "app/qt/backups_dlg.h"

#include "clone/model_info.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

CBackupsDlg::CBackupsDlg(const std::vector<CBackupEntry>& backups, const QString& folder, bool keep,
                         QWidget* parent)
    : QDialog(parent), m_list(new QTreeWidget(this)),
      m_keep(new QCheckBox(QStringLiteral("&Keep a backup of every read and write"), this)),
      m_open(new QPushButton(QStringLiteral("&Open"), this)) {
    setWindowTitle(QStringLiteral("Backups"));
    m_list->setObjectName(QStringLiteral("backups"));
    m_list->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Operation"),
                             QStringLiteral("Variant"), QStringLiteral("Comment")});
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setUniformRowHeights(true);
    for (const CBackupEntry& b : backups) {
        auto* item = new QTreeWidgetItem(m_list);
        // "2026-12-08 14:03:22" sorts by date as text.
        item->setText(kDate, QString::fromStdString(b.time));
        item->setText(kOperation, QString::fromStdString(b.operation));
        item->setText(kVariant, QString::fromLatin1(kVariantNames[static_cast<std::size_t>(
                                    std::clamp(b.variant, 0, kVariantCount - 1))]));
        item->setText(kComment, QString::fromStdString(b.comment));
        item->setData(kDate, Qt::UserRole, QString::fromStdString(b.path));
        item->setToolTip(kDate, QDir::toNativeSeparators(QString::fromStdString(b.path)));
    }
    m_list->setSortingEnabled(true);
    m_list->sortByColumn(kDate, Qt::DescendingOrder);
    for (int c = kDate; c < kComment; ++c)
        m_list->resizeColumnToContents(c);
    m_list->setMinimumWidth(m_list->header()->length() + 160);
    if (m_list->topLevelItemCount() > 0) m_list->setCurrentItem(m_list->topLevelItem(0));

    const QString where = QDir::toNativeSeparators(folder);
    auto* place = new QLabel(
        backups.empty()
            ? QStringLiteral("No backups yet in %1.").arg(where)
            : QStringLiteral("In %1; the newest %2 are kept.").arg(where).arg(CBackupStore::kKeep),
        this);
    place->setWordWrap(true);
    place->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_keep->setChecked(keep);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_open, QDialogButtonBox::AcceptRole);
    m_open->setDefault(true);
    m_open->setEnabled(m_list->currentItem() != nullptr);
    connect(m_open, &QPushButton::clicked, this, &CBackupsDlg::OpenCurrent);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemActivated, this, &CBackupsDlg::OpenCurrent);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { m_open->setEnabled(item != nullptr); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(place);
    layout->addWidget(m_keep);
    layout->addWidget(buttons);
    resize(sizeHint().width(), 360);
}

bool CBackupsDlg::KeepBackups() const { return m_keep->isChecked(); }

void CBackupsDlg::OpenCurrent() {
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item) return;
    m_chosen = item->data(kDate, Qt::UserRole).toString();
    accept();
}
