#include "views/setting_dlg.h"

#include "app/clone_support_doc.h"
#include "clone/model_manager.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "views/doc_edit.h"
#include "views/editor_registry.h"
#include "views/typing_filter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstring>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

bool SameGroup(const char* a, const char* b) {
    return (!a && !b) || (a && b && std::strcmp(a, b) == 0);
}

template <class List> QWidget* Find(const List& list, const std::string& path) {
    for (const auto& [field, widget] : list)
        if (path == field->path) return widget;
    return nullptr;
}

using CFormEntries = std::vector<std::pair<CSettingForm, CFormEntry>>;

// OK of a form: one edit of the document named label; the status bar names the fields whose
// values were adjusted or not taken. True when the image changed.
bool ApplyForms(CCloneSupportDoc& doc, const QString& label, const CFormEntries& entries,
                const std::string& changedPath) {
    const int variant = doc.GetVariant();
    const CEditStep step = RunEdit(
        doc, label,
        [&](CNode& root, CEditReport& report) {
            for (const auto& [form, entry] : entries)
                for (CFieldResult& r : ApplyFormEntry(&root, form, variant, entry))
                    report.Add(std::move(r.node), std::move(r.given), std::move(r.result));
        },
        changedPath);
    std::vector<CFieldResult> results;
    for (const CEditOutcome& o : step.outcomes)
        results.push_back({o.path, o.given, o.result});
    const std::string text = FormOutcomeText(doc.GetRoot(), variant, results);
    if (!text.empty() && Platform().prompts) Platform().prompts->SetStatusText(text);
    return step.Changed();
}

bool OpenCommonSetting(QWidget* parent, CCloneSupportDoc& doc, int page) {
    if (!doc.GetRoot()) return false;
    CCommonSettingSheet sheet(doc.GetRoot(), doc.GetVariant(), page, parent);
    if (sheet.exec() != QDialog::Accepted) return false;
    CFormEntries entries;
    for (int i = 0; i < static_cast<int>(std::size(kCommonSettingPages)); ++i)
        if (sheet.Visited(i)) entries.emplace_back(kCommonSettingPages[i], sheet.Page(i)->Entry());
    return ApplyForms(doc, QStringLiteral("Common Setting"), entries, "CommonSet");
}

bool OpenDialog(QWidget* parent, CCloneSupportDoc& doc, CSettingForm form) {
    if (!doc.GetRoot()) return false;
    CSettingDlg dialog(doc.GetRoot(), form, doc.GetVariant(), parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    const CFormDesc& desc = FormDescOf(form);
    return ApplyForms(doc, Text(desc.title), {{form, dialog.Page()->Entry()}}, desc.node);
}

bool MakerReserveOn(CCloneSupportDoc& doc) {
    const CModelManager* model = doc.GetCloneManager()->GetModelManager();
    return model && model->IsMakerReserve();
}

} // namespace

// --- CSettingPage --------------------------------------------------------------------------------

CSettingPage::CSettingPage(CNode* root, CSettingForm form, int variant, QWidget* parent)
    : QWidget(parent), m_desc(FormDescOf(form)), m_variant(variant) {
    setObjectName(Text(m_desc.node));
    auto* columns = new QHBoxLayout(this);
    QVBoxLayout* column = nullptr;
    QFormLayout* block = nullptr;
    const char* blockGroup = nullptr;
    for (int i = 0; i < static_cast<int>(m_desc.fields.size()); ++i) {
        const CFormField& field = m_desc.fields[static_cast<std::size_t>(i)];
        if (i == 0 || i == m_desc.secondColumn) {
            if (column) column->addStretch();
            column = new QVBoxLayout;
            columns->addLayout(column);
            block = nullptr;
        }
        // Fields of one group share a group box; fields without one share a plain form.
        if (!block || !SameGroup(field.group, blockGroup)) {
            if (field.group) {
                auto* box = new QGroupBox(Text(field.group), this);
                block = new QFormLayout(box);
                column->addWidget(box);
            } else {
                block = new QFormLayout;
                column->addLayout(block);
            }
            blockGroup = field.group;
        }
        QWidget* control = MakeControl(root, field);
        const bool enabled = FieldEnabled(field, variant);
        control->setEnabled(enabled);
        if (field.rule == CFieldRule::Check) {
            block->addRow(control);
            continue;
        }
        block->addRow(Text(FieldLabel(field, variant)), control);
        QWidget* label = block->labelForField(control);
        label->setEnabled(enabled);
        label->setToolTip(control->toolTip());
        m_labels.emplace_back(&field, label);
    }
    if (column) column->addStretch();
    columns->addStretch(); // a one-column form keeps its fields at their width
}

QWidget* CSettingPage::MakeControl(CNode* root, const CFormField& field) {
    QWidget* control = nullptr;
    switch (field.rule) {
    case CFieldRule::Check: {
        auto* box = new QCheckBox(Text(FieldLabel(field, m_variant)), this);
        const CNode* node = FieldNode(root, m_desc, field);
        box->setChecked(node && node->GetValue() != 0);
        control = box;
        break;
    }
    case CFieldRule::BitList:
    case CFieldRule::ChoiceList:
    case CFieldRule::KeyList: {
        auto* list = new QComboBox(this);
        const CListEntries entries = FieldListEntries(root, m_desc, field, m_variant);
        for (const std::string& text : entries.texts)
            list->addItem(Text(text));
        list->setCurrentIndex(entries.selected);
        control = list;
        break;
    }
    default: {
        auto* edit = new QLineEdit(this);
        if (field.rule == CFieldRule::Comment || field.rule == CFieldRule::DtmfCode) {
            const bool comment = field.rule == CFieldRule::Comment;
            const int chars = comment ? kCommentChars : kDtmfCodeChars;
            edit->setValidator(new CTypingFilter(comment ? kPrintableChars : kDtmfChars,
                                                 static_cast<std::size_t>(chars), edit));
            edit->setMinimumWidth(
                edit->fontMetrics().horizontalAdvance(QString(chars + 2, QLatin1Char('X'))));
        }
        edit->setText(Text(FieldText(root, m_desc, field, m_variant)));
        control = edit;
        break;
    }
    }
    control->setObjectName(Text(field.path));
    control->setToolTip(Text(FieldToolTip(root, m_desc, field)));
    m_controls.emplace_back(&field, control);
    return control;
}

CFormEntry CSettingPage::Entry() const {
    CFormEntry entry;
    for (const auto& [field, control] : m_controls) {
        if (!control->isEnabled()) continue;
        std::string text;
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            text = edit->text().toStdString();
        else if (auto* box = qobject_cast<QCheckBox*>(control))
            text.assign(1, box->isChecked() ? '1' : '0');
        else if (auto* list = qobject_cast<QComboBox*>(control); list && list->currentIndex() >= 0)
            text = list->currentText().toStdString();
        entry.emplace_back(field->path, std::move(text));
    }
    return entry;
}

QWidget* CSettingPage::Control(const std::string& path) const { return Find(m_controls, path); }

QWidget* CSettingPage::LabelOf(const std::string& path) const { return Find(m_labels, path); }

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
        m_pages[i] = new CSettingPage(root, kCommonSettingPages[i], variant, m_tabs);
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
    : CSettingFormDlg(parent), m_page(new CSettingPage(root, form, variant, this)) {
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
