#include "app/qt/clone_info_dlg.h"

#include "clone/model_info.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

CCloneInfoFields CloneInfoFields(const CModelInfo& radio, bool manufacture) {
    CCloneInfoFields f;
    f.model = QString::fromStdString(radio.NameOfCurrent());
    f.revision = QString::asprintf("%d.%d", (radio.GetRevision() >> 8) & 0xFF,
                                   radio.DetailLookup("DETSREV"));
    f.comment = QString::fromLatin1(radio.CommentLine(0)) + '\n' +
                QString::fromLatin1(radio.CommentLine(1)) + '\n';
    f.pllRef =
        radio.DetailLookup("DETREF") == 1 ? QStringLiteral("15.6MHz") : QStringLiteral("15.3MHz");
    if (manufacture) {
        f.service = QStringLiteral("TR is ");
        if (radio.DetailLookup("DETTRTYP_BRS") == 1)
            f.service += QStringLiteral("BRS");
        else if (radio.DetailLookup("DETTRTYP_GMRS") == 1)
            f.service += QStringLiteral("GMRS");
        else
            f.service += QStringLiteral("Conventional");
        f.service += '\n';
        if (radio.DetailLookup("DETEEP") == 1)
            f.service += QStringLiteral("\n  ! ! !  EEPROM Error  ! ! !");
        if (radio.DetailLookup("DETHIVOLT") == 1)
            f.service += QStringLiteral("\n  ! ! !  Over voltage supplied.  ! ! !");
    }
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
