#include "views/setting_dlg.h"

#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// A settings form at its node, its controls showing what the tree holds.
CFormPage* NewPage(CNode* root, CSettingForm form, int variant, QWidget* parent) {
    const CBoundForm bound = BindForm(FormDescOf(form), variant);
    return new CFormPage(root, bound, ReadForm(root, bound), parent);
}

// OK of the pages: one edit of the document named label; the status bar names the fields whose
// values were adjusted or not taken. True when the image changed.
bool ApplyPages(CCloneSupportDoc& doc, const QString& label, std::span<CFormPage* const> pages,
                const std::string& changedPath) {
    std::vector<CBoundForm> forms;
    std::vector<CFormState> states;
    for (const CFormPage* page : pages) {
        forms.push_back(page->Bound());
        states.push_back(page->State());
    }
    const CEditStep step = RunEdit(
        doc, label,
        [&](CNode& root, CEditReport& report) {
            for (std::size_t i = 0; i < forms.size(); ++i)
                ReportResults(report, ApplyForm(&root, forms[i], states[i]));
        },
        changedPath);
    TellFormOutcome(doc.GetRoot(), forms, {}, step);
    return step.Changed();
}

bool OpenCommonSetting(QWidget* parent, CCloneSupportDoc& doc, int page) {
    if (!doc.GetRoot()) return false;
    CCommonSettingSheet sheet(doc.GetRoot(), doc.GetVariant(), page, parent);
    if (sheet.exec() != QDialog::Accepted) return false;
    std::vector<CFormPage*> visited;
    for (int i = 0; i < static_cast<int>(std::size(kCommonSettingPages)); ++i)
        if (sheet.Visited(i)) visited.push_back(sheet.Page(i));
    return ApplyPages(doc, QStringLiteral("Common Setting"), visited, "CommonSet");
}

bool OpenDialog(QWidget* parent, CCloneSupportDoc& doc, CSettingForm form) {
    if (!doc.GetRoot()) return false;
    CSettingDlg dialog(doc.GetRoot(), form, doc.GetVariant(), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const CFormDesc& desc = FormDescOf(form);
    CFormPage* const page = dialog.Page();
    return ApplyPages(doc, Text(desc.title), std::span(&page, 1), desc.node);
}

bool MakerReserveOn(CCloneSupportDoc& doc) {
    const CModelManager* model = doc.GetCloneManager()->GetModelManager();
    return model && model->IsMakerReserve();
}

} // namespace

// --- CSettingFormDlg ----------------------------------------------------------------------------

CSettingFormDlg::CSettingFormDlg(QWidget* parent)
    : QDialog(parent),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CSettingFormDlg::SetContent(QWidget* content) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(content);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CSettingFormDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

// --- CCommonSettingSheet -------------------------------------------------------------------------

CCommonSettingSheet::CCommonSettingSheet(CNode* root, int variant, int page, QWidget* parent)
    : CSettingFormDlg(parent), m_tabs(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("Common Setting"));
    setObjectName(QStringLiteral("CommonSetting"));
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        m_pages[i] = NewPage(root, kCommonSettingPages[i], variant, m_tabs);
        m_tabs->addTab(m_pages[i], Text(FormDescOf(kCommonSettingPages[i]).title));
    }
    const int first = std::clamp(page, 0, static_cast<int>(m_pages.size()) - 1);
    m_tabs->setCurrentIndex(first);
    m_visited[static_cast<std::size_t>(first)] = true;
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) m_visited[static_cast<std::size_t>(index)] = true;
    });
    SetContent(m_tabs);
}

// --- CSettingDlg ---------------------------------------------------------------------------------

CSettingDlg::CSettingDlg(CNode* root, CSettingForm form, int variant, QWidget* parent)
    : CSettingFormDlg(parent), m_page(NewPage(root, form, variant, this)) {
    setWindowTitle(Text(FormDescOf(form).title));
    SetContent(m_page);
}

// --- Registration --------------------------------------------------------------------------------

void RegisterSettingForms() {
    RegisterEditor(editor::kCommonSetting, OpenCommonSetting);
    RegisterEditor(editor::kScanSetting, [](QWidget* parent, CCloneSupportDoc& doc, int) {
        return OpenDialog(parent, doc, CSettingForm::ScanSetting);
    });
    RegisterEditor(editor::kDtmfAutodial, [](QWidget* parent, CCloneSupportDoc& doc, int) {
        return OpenDialog(parent, doc, CSettingForm::DtmfAutodial);
    });
    RegisterEditor(editor::kMakerReserved, [](QWidget* parent, CCloneSupportDoc& doc, int) {
        return MakerReserveOn(doc) && OpenDialog(parent, doc, CSettingForm::Maker);
    });
}
