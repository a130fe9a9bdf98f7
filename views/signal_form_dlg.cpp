#include "views/signal_form_dlg.h"

#include "params/node_access.h"
#include "views/dialog_layout.h"
#include "views/typing_filter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }
QString Text(const char* text) { return QString::fromUtf8(text); }

bool IsEdit(CFieldKind kind) {
    return kind == CFieldKind::Edit || kind == CFieldKind::Code || kind == CFieldKind::Timer ||
           kind == CFieldKind::EvenTimer;
}

} // namespace

CSignalFormDlg::CSignalFormDlg(CNode* root, const std::string& base, const CSignalFormDesc& form,
                               const CFormState& state, QWidget* parent)
    : QDialog(parent), m_form(form) {
    setWindowTitle(Text(form.title));
    setObjectName(Text(form.title));

    auto* columns = new QHBoxLayout;
    auto* column = new QVBoxLayout;
    columns->addLayout(column);
    bool secondColumn = false;
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        const CFieldDesc& field = form.fields[i];
        if (!secondColumn && *form.secondColumn &&
            std::string_view(field.group) == form.secondColumn) {
            secondColumn = true;
            column->addStretch();
            column = new QVBoxLayout;
            columns->addLayout(column);
        }
        CBox& box = BoxFor(field.group, field.subgroup, column);
        const std::string text = i < state.texts.size() ? state.texts[i] : std::string();
        QWidget* control = MakeControl(root, base, field, text,
                                       box.frame ? box.frame : static_cast<QWidget*>(this));
        m_controls.push_back(control);
        m_labels.push_back(Place(field, control, box));
        m_enabled.push_back(i >= state.enabled.size() || state.enabled[i]);
    }
    column->addStretch();

    m_buttons = LayOutDialog(this, columns);

    UpdateEnabling();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        if (m_enabled[i]) {
            m_controls[i]->setFocus();
            break;
        }
    }
}

CSignalFormDlg::CBox& CSignalFormDlg::BoxFor(const std::string& group, const std::string& subgroup,
                                             QVBoxLayout* column) {
    for (CBox& box : m_boxes)
        if (box.group == group && box.subgroup == subgroup) return box;
    // A group inside another box, or in the column.
    QVBoxLayout* outer = subgroup.empty() ? column : BoxFor(group, {}, column).layout;
    const std::string& title = subgroup.empty() ? group : subgroup;
    CBox box{group, subgroup};
    if (title.empty()) {
        box.layout = outer;
    } else {
        auto* frame = new QGroupBox(Text(title), this);
        box.frame = frame;
        box.layout = new QVBoxLayout(frame);
        outer->addWidget(frame);
    }
    box.form = new QFormLayout;
    box.checks = new QHBoxLayout;
    box.layout->addLayout(box.form);
    box.layout->addLayout(box.checks);
    m_boxes.push_back(box);
    return m_boxes.back();
}

QWidget* CSignalFormDlg::MakeControl(CNode* root, const std::string& base, const CFieldDesc& field,
                                     const std::string& text, QWidget* parent) {
    const QString name = Text(*field.node ? field.node : field.label);
    if (IsEdit(field.kind)) {
        auto* edit = new QLineEdit(Text(text), parent);
        edit->setObjectName(name);
        // Codes keep their own characters, numbers the digits and the point.
        edit->setValidator(
            new CTypingFilter(field.kind == CFieldKind::Code ? field.allowed : kNumericChars,
                              static_cast<std::size_t>(std::max(field.maxLength, 0)), edit));
        edit->setToolTip(Text(FieldToolTip(root, base, field)));
        return edit;
    }
    if (field.kind == CFieldKind::Check || field.kind == CFieldKind::Lock) {
        auto* box = new QCheckBox(Text(field.label), parent);
        box->setObjectName(name);
        box->setChecked(text == kCheckOn);
        if (*field.controls) connect(box, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
        return box;
    }
    const CListEntries entries = FieldEntries(root, base, field);
    if (field.kind == CFieldKind::Radio) {
        auto* group = new QGroupBox(Text(field.label), parent);
        group->setObjectName(name);
        auto* row = new QHBoxLayout(group);
        auto* buttons = new QButtonGroup(group);
        for (const std::string& entry : entries.texts) {
            auto* button = new QRadioButton(Text(entry), group);
            button->setChecked(entry == text);
            buttons->addButton(button);
            row->addWidget(button);
        }
        row->addStretch();
        connect(buttons, &QButtonGroup::buttonToggled, this, [this] { UpdateEnabling(); });
        return group;
    }
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (const std::string& entry : entries.texts)
        list->addItem(Text(entry));
    list->setCurrentIndex(text.empty() ? -1 : list->findText(Text(text), Qt::MatchExactly));
    return list;
}

QWidget* CSignalFormDlg::Place(const CFieldDesc& field, QWidget* control, CBox& box) {
    if (field.kind == CFieldKind::Radio) {
        box.layout->insertWidget(box.layout->indexOf(box.checks), control);
        return nullptr;
    }
    const bool check = field.kind == CFieldKind::Check || field.kind == CFieldKind::Lock;
    if (check && field.beside && m_lastRow) {
        m_lastRow->addWidget(control);
        return nullptr;
    }
    if (check) {
        box.checks->addWidget(control);
        return nullptr;
    }
    m_lastRow = new QHBoxLayout;
    m_lastRow->addWidget(control, 1);
    box.form->addRow(Text(field.label), m_lastRow);
    QWidget* label = box.form->labelForField(m_lastRow);
    if (label) label->setToolTip(control->toolTip());
    return label;
}

void CSignalFormDlg::UpdateEnabling() {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        m_controls[i]->setEnabled(m_enabled[i]);
        if (m_labels[i]) m_labels[i]->setEnabled(m_enabled[i]);
    }
    // A code type of "Group" has no second tone; "Auto" decode limits are not typed.
    const CFormState state = State();
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const CFieldDesc& field = m_form.fields[i];
        if (!*field.controls) continue;
        bool off = false;
        if (field.kind == CFieldKind::Lock) {
            off = state.texts[i] == kCheckOn;
        } else if (auto* group = qobject_cast<QGroupBox*>(m_controls[i])) {
            const QList<QRadioButton*> buttons = group->findChildren<QRadioButton*>();
            off = buttons.size() > 1 && buttons[1]->isChecked();
        }
        if (QGroupBox* controlled = Group(field.controls)) controlled->setEnabled(!off);
    }
}

CFormState CSignalFormDlg::State() const {
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

QWidget* CSignalFormDlg::Field(const char* nameOrLabel) const {
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const CFieldDesc& field = m_form.fields[i];
        if (std::string_view(*field.node ? field.node : field.label) == nameOrLabel)
            return m_controls[i];
    }
    return nullptr;
}

QGroupBox* CSignalFormDlg::Group(const char* title) const {
    for (QGroupBox* group : findChildren<QGroupBox*>())
        if (group->title() == Text(title)) return group;
    return nullptr;
}

void CSignalFormDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}
