// A form's controls on screen, laid out from its description: group boxes, edits, lists, check
// boxes and radio buttons in one or two columns. The settings pages and dialogs and the
// signalling row editors and dialogs all show one; State() gives back what its controls hold.
#pragma once

#include "sheets/form.h"

#include <QWidget>
#include <span>
#include <string>
#include <vector>

class CEditReport;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;
struct CEditStep;

class CFormPage : public QWidget {
    Q_OBJECT
public:
    // state: what the controls show (ReadForm of the bound form).
    CFormPage(CNode* root, CBoundForm bound, const CFormState& state, QWidget* parent = nullptr);

    const CBoundForm& Bound() const { return m_bound; }
    CFormState State() const;
    // The control of a field by its path ("RxCode", "DTMFDial.AD1.Code") or, for a Lock, its
    // label, and that control's label; null when the form has none.
    QWidget* Control(const std::string& nameOrLabel) const;
    QWidget* LabelOf(const std::string& nameOrLabel) const;
    QGroupBox* Group(const char* title) const;
    // Gives the focus to the first field that may be edited.
    void FocusFirstField();

private:
    // Where consecutive fields of one group (or of the page itself, group "") go: a form for
    // the labelled controls and a row for the check boxes of an editor.
    struct CBlock {
        std::string group;
        std::string subgroup;
        QVBoxLayout* layout = nullptr; // holds the form, the check row and inner groups
        QVBoxLayout* outer = nullptr;  // the layout the block sits in
        QFormLayout* form = nullptr;
        QHBoxLayout* checks = nullptr;
    };

    CBlock NewBlock(const CFieldDesc& field, QVBoxLayout* column, const CBlock& last);
    QWidget* MakeControl(CNode* root, const CFieldDesc& field, const std::string& text);
    // Puts a control into its block; returns its label, if it has one.
    QWidget* Place(const CFieldDesc& field, QWidget* control, CBlock& block);
    void UpdateEnabling();
    int IndexOf(const std::string& nameOrLabel) const;

    CBoundForm m_bound;
    std::vector<QWidget*> m_controls; // one per field
    std::vector<QWidget*> m_labels;   // the label of each field, or null
    std::vector<bool> m_enabled;      // the fields the radio and the row allow
    QHBoxLayout* m_lastRow = nullptr; // the form row a control "beside" joins
};

// OK of one or more forms: the edit's outcome told on the status bar by the names the forms
// show (where: the row or dialog of an editor).
void ReportResults(CEditReport& report, std::vector<CFieldResult> results);
void TellFormOutcome(CNode* root, std::span<const CBoundForm> forms, const std::string& where,
                     const CEditStep& step);
