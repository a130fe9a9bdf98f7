#include "views/signal_sheets.h"

#include "core/platform.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/signal_form_dlg.h"

#include <span>

namespace {

// The dialogs open by name from the tree. This file is linked with every sheet frame.
[[maybe_unused]] const bool kRegistered = [] {
    const std::pair<const char*, CSignalDialog> dialogs[] = {
        {editor::kTwoToneSetting, CSignalDialog::TwoToneSetting},
        {editor::kTwoToneTxCode, CSignalDialog::TwoToneTxCode},
        {editor::kFiveToneSetting, CSignalDialog::FiveToneSetting}};
    for (const auto& [name, dialog] : dialogs)
        RegisterEditor(name, [dialog](QWidget* parent, CCloneSupportDoc& doc, int) {
            return OpenSignalDialog(parent, doc, dialog);
        });
    return true;
}();

} // namespace

CZ30SignalSheet::CZ30SignalSheet(CSignalSheet sheet, CCloneSupportDoc* doc, QWidget* parent)
    : CListSheet(SignalSheetDef(sheet).index, CZ30ListFrame::TitleOf(SignalSheetDef(sheet).index),
                 SignalSheetDef(sheet).desc, doc, false, QString(), parent),
      m_sheet(sheet) {}

std::vector<std::string> CZ30SignalSheet::RowTexts(int row) const {
    return SignalRowTexts(Root(), m_sheet, row);
}

QString CZ30SignalSheet::UpdateCaption() const {
    return QString::fromStdString(SignalCaption(m_sheet, SelectedRow()));
}

void CZ30SignalSheet::EditRow() {
    const int row = SelectedRow();
    if (row < 0 || !Root()) return;
    CModalScope guard;
    if (!guard.Entered()) return;
    const CBoundForm editor = RowEditor(m_sheet, row, Variant());
    CSignalFormDlg dialog(Root(), editor, ReadForm(Root(), editor), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const CFormState state = dialog.State();
    const QString label = QString::fromUtf8(editor.form->title) + ' ' +
                          QString::fromStdString(SignalRowName(m_sheet, row));
    const CEditStep step = RunEdit(
        label,
        [&](CNode& root, CEditReport& report) {
            ReportResults(report, ApplyForm(&root, editor, state));
        },
        row);
    TellFormOutcome(Root(), std::span(&editor, 1), SignalRowLabel(m_sheet, row), step);
}

CSheetView* CreateSignalSheet(int index, CCloneSupportDoc* doc, QWidget* parent) {
    switch (index) {
    case 3:
        return new Z302ToneRxSheet(doc, parent);
    case 4:
        return new Z305ToneRxSheet(doc, parent);
    case 5:
        return new Z305ToneTxSheet(doc, parent);
    case 6:
        return new Z305ToneFormatSheet(doc, parent);
    case 7:
        return new Z305ToneUserToneSheet(doc, parent);
    default:
        return nullptr;
    }
}

bool OpenSignalDialog(QWidget* parent, CCloneSupportDoc& doc, CSignalDialog which) {
    CNode* root = doc.GetRoot();
    if (!root) return false;
    const CBoundForm bound = BindForm(SignalDialogForm(which), doc.GetVariant());
    CSignalFormDlg dialog(root, bound, ReadForm(root, bound), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const CFormState state = dialog.State();
    const CEditStep step = RunEdit(
        doc, QString::fromUtf8(bound.form->title),
        [&](CNode& r, CEditReport& report) { ReportResults(report, ApplyForm(&r, bound, state)); },
        bound.base);
    TellFormOutcome(root, std::span(&bound, 1), bound.form->title, step);
    return step.Changed();
}
