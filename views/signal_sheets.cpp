#include "views/signal_sheets.h"

#include "core/platform.h"
#include "views/editor_registry.h"
#include "views/list_frame.h"
#include "views/signal_form_dlg.h"

namespace {

// What the form's OK set, as the edit reports it.
void Report(CEditReport& report, const std::vector<CFieldResult>& results) {
    for (const CFieldResult& r : results)
        report.Add(r.node, r.given, r.result);
}

// Values adjusted or not taken are told on the status bar, by the names the form shows.
void TellOutcome(CNode* root, const std::string& base, const CSignalFormDesc& form,
                 const std::string& where, const CEditStep& step) {
    std::vector<CFieldResult> results;
    for (const CEditOutcome& o : step.outcomes)
        results.push_back({o.path, o.given, o.result});
    const std::string text = FormOutcomeText(root, base, form, where, results);
    if (!text.empty()) Platform().prompts->SetStatusText(" " + text);
}

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
    const CSignalFormDesc& form = SignalSheetDef(m_sheet).editor;
    CSignalFormDlg dialog(Root(), SignalRowPath(m_sheet, row), form,
                          ReadRowEditor(Root(), m_sheet, row), this);
    if (dialog.exec() != QDialog::Accepted) return;
    const CFormState state = dialog.State();
    const QString label =
        QString::fromUtf8(form.title) + ' ' + QString::fromStdString(SignalRowName(m_sheet, row));
    const CEditStep step = RunEdit(
        label,
        [&](CNode& root, CEditReport& report) {
            Report(report, ApplyRowEditor(&root, m_sheet, row, state));
        },
        row);
    TellOutcome(Root(), SignalRowPath(m_sheet, row), form, SignalRowLabel(m_sheet, row), step);
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
    const CSignalDialogDef& def = SignalDialogDef(which);
    CSignalFormDlg dialog(root, def.node, def.form, ReadForm(root, def.node, def.form), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const CFormState state = dialog.State();
    const CEditStep step = RunEdit(
        doc, QString::fromUtf8(def.form.title),
        [&](CNode& r, CEditReport& report) {
            Report(report, ApplyForm(&r, def.node, def.form, state));
        },
        def.node);
    TellOutcome(root, def.node, def.form, def.form.title, step);
    return step.Changed();
}
