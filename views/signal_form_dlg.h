// The window of a signalling form: the row editors of the signalling sheets and the dialogs
// "2Tone Setting", "TX Code" and "5Tone Setting". Its controls are made from the form's field
// table (group boxes, edits, lists, check boxes, radio buttons) and show a form state; State()
// gives back what they hold.
#pragma once

#include "sheets/signal_form.h"

#include <QDialog>
#include <deque>
#include <vector>

class CNode;
class QDialogButtonBox;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;

class CSignalFormDlg : public QDialog {
    Q_OBJECT
public:
    // base: the node the field paths start from; state: what the controls show.
    CSignalFormDlg(CNode* root, const std::string& base, const CSignalFormDesc& form,
                   const CFormState& state, QWidget* parent = nullptr);

    CFormState State() const;
    // The control of a field by its node name ("RxCode", "TxCodeCom.SpcTonGrp") or, for a Lock,
    // its label; null when the form has none.
    QWidget* Field(const char* nameOrLabel) const;
    QGroupBox* Group(const char* title) const;
    QDialogButtonBox* Buttons() const { return m_buttons; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Where the fields of one group (or the dialog itself, group "") go: a form for the labelled
    // controls and a row for the check boxes.
    struct CBox {
        std::string group;
        std::string subgroup;
        QWidget* frame = nullptr;      // the group box; null for the dialog itself
        QVBoxLayout* layout = nullptr; // holds the form, the check row and inner groups
        QFormLayout* form = nullptr;
        QHBoxLayout* checks = nullptr;
    };

    CBox& BoxFor(const std::string& group, const std::string& subgroup, QVBoxLayout* column);
    QWidget* MakeControl(CNode* root, const std::string& base, const CFieldDesc& field,
                         const std::string& text, QWidget* parent);
    // Puts a control into its box; returns its label, if it has one.
    QWidget* Place(const CFieldDesc& field, QWidget* control, CBox& box);
    void UpdateEnabling();

    const CSignalFormDesc& m_form;
    std::vector<QWidget*> m_controls; // one per field
    std::vector<QWidget*> m_labels;   // the label of each field, or null
    std::vector<bool> m_enabled;      // the fields the row allows
    std::deque<CBox> m_boxes;
    QHBoxLayout* m_lastRow = nullptr; // the form row a control "beside" joins
    QDialogButtonBox* m_buttons = nullptr;
};
