#include "app/qt/clone_info_dlg.h"

#include "clone/clone_rs_io_manager.h"
#include "clone/model_info.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

CCloneInfoFields CloneInfoFields(const CModelInfo& radio, bool manufacture) {
    const CCloneInfoText t = CloneInfoText(radio, manufacture);
    CCloneInfoFields f;
    f.model = QString::fromStdString(t.model);
    f.revision = QString::fromStdString(t.revision);
    f.comment = QString::fromLatin1(t.comment); // the radio's bytes, one character each
    f.pllRef = QString::fromStdString(t.pllRef);
    f.service = QString::fromStdString(t.service);
    return f;
}

namespace {
QLabel* Value(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText); // the radio's comment is shown as it is, never as markup
    label->setText(text);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setObjectName(QStringLiteral("value"));
    return label;
}
} // namespace

CCloneInfoDlg::CCloneInfoDlg(const CCloneInfoFields& fields, QWidget* parent)
    : QDialog(parent), m_fields(fields) {
    setWindowTitle(QStringLiteral("Information"));
    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    form->setHorizontalSpacing(16);
    QFont mono(QStringLiteral("Monospace"));
    mono.setStyleHint(QFont::TypeWriter);
    form->addRow(tr("Model:"), Value(fields.model, this));
    form->addRow(tr("Revision:"), Value(fields.revision, this));
    form->addRow(QString(), new QLabel(this));
    // The two lines as the radio holds them (leading blanks included), without the last newline.
    QString lines = fields.comment;
    if (lines.endsWith('\n')) lines.chop(1);
    QLabel* comment = Value(lines, this);
    comment->setObjectName(QStringLiteral("comment"));
    comment->setFont(mono);
    form->addRow(tr("Comment:"), comment);
    form->addRow(tr("PLL Ref:"), Value(fields.pllRef, this));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    if (!fields.service.isEmpty()) {
        auto* service = new QLabel(this);
        service->setTextFormat(Qt::PlainText);
        service->setText(fields.service);
        service->setObjectName(QStringLiteral("service"));
        QFont big = service->font();
        big.setPointSizeF(big.pointSizeF() * 1.4);
        big.setBold(true);
        service->setFont(big);
        layout->addSpacing(8);
        layout->addWidget(service);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(300);
}
