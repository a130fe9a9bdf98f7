#include "views/signal_form_dlg.h"

#include "views/dialog_layout.h"

#include <QHBoxLayout>

CSignalFormDlg::CSignalFormDlg(CNode* root, const CBoundForm& bound, const CFormState& state,
                               QWidget* parent)
    : QDialog(parent), m_page(new CFormPage(root, bound, state, this)) {
    const QString title = QString::fromUtf8(bound.form->title);
    setWindowTitle(title);
    setObjectName(title);
    m_page->layout()->setContentsMargins(0, 0, 0, 0); // the dialog's own margins frame it
    auto* content = new QHBoxLayout;
    content->setContentsMargins(0, 0, 0, 0);
    content->addWidget(m_page);
    m_buttons = LayOutDialog(this, content);
    m_page->FocusFirstField();
}

void CSignalFormDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}
