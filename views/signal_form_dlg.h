// The window of a signalling form: the row editors of the signalling sheets and the dialogs
// "2Tone Setting", "TX Code" and "5Tone Setting", its controls a form page.
#pragma once

#include "views/form_page.h"

#include <QDialog>

class QDialogButtonBox;

class CSignalFormDlg : public QDialog {
    Q_OBJECT
public:
    // state: what the controls show.
    CSignalFormDlg(CNode* root, const CBoundForm& bound, const CFormState& state,
                   QWidget* parent = nullptr);

    CFormState State() const { return m_page->State(); }
    // The control of a field by its node name ("RxCode", "TxCodeCom.SpcTonGrp") or, for a Lock,
    // its label; null when the form has none.
    QWidget* Field(const char* nameOrLabel) const { return m_page->Control(nameOrLabel); }
    QGroupBox* Group(const char* title) const { return m_page->Group(title); }
    QDialogButtonBox* Buttons() const { return m_buttons; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CFormPage* m_page;
    QDialogButtonBox* m_buttons = nullptr;
};
