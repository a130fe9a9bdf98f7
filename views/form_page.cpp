#include "views/form_page.h"

#include "app/clone_support_doc.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "views/edit_notes.h"
#include "views/typing_filter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

using K = CFieldKind;

QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Text(const char* text) { return QString::fromUtf8(text); }

bool IsCheck(CFieldKind kind) { return kind == K::Check || kind == K::Lock; }

// The characters an edit keeps as they are typed (empty: any) and how many of them.
std::pair<const char*, int> TypingOf(const CFieldDesc& field) {
    switch (field.kind) {
    case K::Comment:
        return {kPrintableChars, kCommentChars};
    case K::DtmfCode:
        return {kDtmfChars, kDtmfCodeChars};
    case K::Code:
        return {field.allowed, std::max(field.maxLength, 0)};
    case K::Tone:
        return {"0123456789.,", 0}; // a decimal comma reads as the point
    case K::Seconds:
    case K::EvenSeconds:
        return {kNumericChars, 0};
    default:
        return {"", 0};
    }
}

} // namespace

CFormPage::CFormPage(CNode* root, CBoundForm bound, const CFormState& state, QWidget* parent)
    : QWidget(parent), m_bound(std::move(bound)) {
    const CFormDesc& form = *m_bound.form;
    setObjectName(Text(form.node));
    auto* columns = new QHBoxLayout(this);
    QVBoxLayout* column = nullptr;
    CBlock block;
    for (int i = 0; i < static_cast<int>(form.fields.size()); ++i) {
        const CFieldDesc& field = form.fields[static_cast<std::size_t>(i)];
        if (i == 0 || i == form.secondColumn) {
            if (column) column->addStretch();
            column = new QVBoxLayout;
            columns->addLayout(column);
            block = {};
        }
        if (!block.layout || block.group != field.group || block.subgroup != field.subgroup)
            block = NewBlock(field, column, block);
        const auto at = static_cast<std::size_t>(i);
        QWidget* control =
            MakeControl(root, field, at < state.texts.size() ? state.texts[at] : std::string());
        m_controls.push_back(control);
        m_labels.push_back(Place(field, control, block));
        m_enabled.push_back(at >= state.enabled.size() || state.enabled[at]);
    }
    if (column) column->addStretch();
    columns->addStretch(); // a one-column form keeps its fields at their width
    UpdateEnabling();
}

CFormPage::CBlock CFormPage::NewBlock(const CFieldDesc& field, QVBoxLayout* column,
                                      const CBlock& last) {
    CBlock block{field.group, field.subgroup};
    // A subgroup sits inside the box of its group, in the column for group "".
    QVBoxLayout* outer = column;
    if (*field.subgroup)
        outer = last.layout && last.group == field.group
                    ? (last.subgroup.empty() ? last.layout : last.outer)
                    : NewBlock(field.In(field.group), column, {}).layout;
    const char* title = *field.subgroup ? field.subgroup : field.group;
    if (!*title) {
        block.layout = outer;
    } else {
        auto* frame = new QGroupBox(Text(title), this);
        block.layout = new QVBoxLayout(frame);
        outer->addWidget(frame);
    }
    block.outer = outer;
    block.form = new QFormLayout;
    block.checks = new QHBoxLayout;
    block.layout->addLayout(block.form);
    block.layout->addLayout(block.checks);
    return block;
}

QWidget* CFormPage::MakeControl(CNode* root, const CFieldDesc& field, const std::string& text) {
    QWidget* control = nullptr;
    const QString label = Text(FieldLabel(field, m_bound.variant));
    if (IsCheck(field.kind)) {
        auto* box = new QCheckBox(label, this);
        box->setChecked(text == kCheckOn);
        if (*field.controls) connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
        control = box;
    } else if (field.kind == K::Radio) {
        auto* group = new QGroupBox(label, this);
        auto* row = new QHBoxLayout(group);
        auto* buttons = new QButtonGroup(group);
        for (const std::string& entry : FieldEntries(root, m_bound, field).texts) {
            auto* button = new QRadioButton(Text(entry), group);
            button->setChecked(entry == text);
            buttons->addButton(button);
            row->addWidget(button);
        }
        row->addStretch();
        connect(buttons, &QButtonGroup::buttonToggled, this, [this] { UpdateEnabling(); });
        control = group;
    } else if (field.kind == K::List || field.kind == K::KeyList) {
        auto* list = new QComboBox(this);
        for (const std::string& entry : FieldEntries(root, m_bound, field).texts)
            list->addItem(Text(entry));
        list->setCurrentIndex(text.empty() ? -1 : list->findText(Text(text), Qt::MatchExactly));
        control = list;
    } else {
        auto* edit = new QLineEdit(Text(text), this);
        const auto [allowed, chars] = TypingOf(field);
        if (*allowed)
            edit->setValidator(new CTypingFilter(allowed, static_cast<std::size_t>(chars), edit));
        // A comment or a DTMF code shows whole.
        if (field.kind == K::Comment || field.kind == K::DtmfCode)
            edit->setMinimumWidth(
                edit->fontMetrics().horizontalAdvance(QString(chars + 2, QLatin1Char('X'))));
        control = edit;
    }
    control->setObjectName(Text(*field.path ? field.path : field.label));
    control->setToolTip(Text(FieldToolTip(root, m_bound, field)));
    return control;
}

QWidget* CFormPage::Place(const CFieldDesc& field, QWidget* control, CBlock& block) {
    if (field.kind == K::Radio) {
        block.layout->insertWidget(block.layout->indexOf(block.checks), control);
        return nullptr;
    }
    if (IsCheck(field.kind) && field.beside && m_lastRow) {
        m_lastRow->addWidget(control);
        return nullptr;
    }
    if (IsCheck(field.kind)) {
        if (m_bound.form->style == CFormStyle::Editor)
            block.checks->addWidget(control);
        else
            block.form->addRow(control);
        return nullptr;
    }
    m_lastRow = new QHBoxLayout;
    m_lastRow->addWidget(control, 1);
    block.form->addRow(Text(FieldLabel(field, m_bound.variant)), m_lastRow);
    QWidget* label = block.form->labelForField(m_lastRow);
    if (label) label->setToolTip(control->toolTip());
    return label;
}

void CFormPage::UpdateEnabling() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        m_controls[i]->setEnabled(m_enabled[i]);
        if (m_labels[i]) m_labels[i]->setEnabled(m_enabled[i]);
    }
    // A code type of "Group" has no second tone; "Auto" decode limits are not typed.
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const CFieldDesc& field = m_bound.form->fields[i];
        if (!*field.controls) continue;
        bool off = false;
        if (auto* box = qobject_cast<QCheckBox*>(m_controls[i])) {
            off = box->isChecked();
        } else if (auto* group = qobject_cast<QGroupBox*>(m_controls[i])) {
            const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
            off = buttons.size() > 1 && buttons[1]->isChecked();
        }
        if (QGroupBox* controlled = Group(field.controls)) controlled->setEnabled(!off);
    }
}

CFormState CFormPage::State() const {
    CFormState state;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        QWidget* control = m_controls[i];
        std::string text;
        if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            text = edit->text().toStdString();
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            text = box->isChecked() ? kCheckOn : kCheckOff;
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            if (list->currentIndex() >= 0) text = list->currentText().toStdString();
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            for (QRadioButton* button : group->findChildren<QRadioButton*>())
                if (button->isChecked()) text = button->text().toStdString();
        }
        state.texts.push_back(text);
        state.enabled.push_back(m_enabled[i]);
    }
    return state;
}

int CFormPage::IndexOf(const std::string& nameOrLabel) const {
    const std::span<const CFieldDesc> fields = m_bound.form->fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (nameOrLabel == (*fields[i].path ? fields[i].path : fields[i].label))
            return static_cast<int>(i);
    return -1;
}

QWidget* CFormPage::Control(const std::string& nameOrLabel) const {
    const int i = IndexOf(nameOrLabel);
    return i < 0 ? nullptr : m_controls[static_cast<std::size_t>(i)];
}

QWidget* CFormPage::LabelOf(const std::string& nameOrLabel) const {
    const int i = IndexOf(nameOrLabel);
    return i < 0 ? nullptr : m_labels[static_cast<std::size_t>(i)];
}

QGroupBox* CFormPage::Group(const char* title) const {
    for (QGroupBox* group : findChildren<QGroupBox*>())
        if (group->title() == Text(title)) return group;
    return nullptr;
}

void CFormPage::FocusFirstField() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_enabled[i]) {
            m_controls[i]->setFocus();
            return;
        }
    }
}

void ReportResults(CEditReport& report, std::vector<CFieldResult> results) {
    for (CFieldResult& r : results)
        report.Add(std::move(r.node), std::move(r.given), std::move(r.result));
}

void TellFormOutcome(CNode* root, std::span<const CBoundForm> forms, const std::string& where,
                     const CEditStep& step) {
    std::vector<CFieldResult> results;
    for (const CEditOutcome& o : step.outcomes)
        results.push_back({o.path, o.given, o.result});
    const std::string text = FormOutcomeText(root, forms, where, results);
    CEditNotes::Instance().Tell(QString::fromStdString(text));
}
