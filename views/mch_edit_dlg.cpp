#include "views/mch_edit_dlg.h"

#include "params/node.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/mch_rows.h"
#include "views/dialog_layout.h"
#include "views/tone_combo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QGroupBox* Group(const char* title, QWidget* parent) {
    return new QGroupBox(QString::fromUtf8(title), parent);
}

} // namespace

CZ30MchEditDlg::CZ30MchEditDlg(CNode* root, int channel, bool pmr, QWidget* parent)
    : QDialog(parent), m_channel(ChannelNode(root, channel)), m_pmr(pmr) {
    setWindowTitle(QStringLiteral("Edit Memory CH"));
    setObjectName(pmr ? QStringLiteral("EditMemoryPMR") : QStringLiteral("EditMemoryLMR"));

    auto* left = new QVBoxLayout;
    left->addWidget(BuildFrequencyGroup());
    left->addWidget(BuildToneGroup());

    // The switches and lists beside the frequency and tone groups.
    static constexpr CCheckField kLmrChecks[] = {
        {"PWR Save", "PwrSave"}, {"TOT", "TOT"}, {"Scan", "ScnLst1"}};
    static constexpr CCheckField kPmrChecks[] = {
        {"TOT", "TOT"}, {"PWR Save", "PwrSave"}, {"Scan", "ScnLst1"}};
    static constexpr CListField kLmrLists[] = {
        {"Wide/Narrow", "WidNar", 0, 1},    {"RF PWR", "RfPwr", 0, 2},
        {"Lockout", "LockoutL", 0, 2},      {"Log IN/OFF", "LogInOfL", 0, 3},
        {"Auto Reset", "AutoResetL", 1, 0}, {"2Tone", "2Ton", 0, 3}};
    static constexpr CListField kPmrLists[] = {
        {"Wide/Narrow", "WidNar", 0, 1},    {"RF PWR", "RfPwr", 1, 0},
        {"Lockout", "LockoutP", 0, 3},      {"Log IN/OFF", "LogInOfP", 1, 0},
        {"Auto Reset", "AutoResetP", 1, 0}, {"CH Mute", "Mute", 0, 1}};

    auto* switches = new QHBoxLayout;
    for (const CCheckField& field : pmr ? std::span(kPmrChecks) : std::span(kLmrChecks))
        switches->addWidget(AddCheck(field, this));
    switches->addStretch();
    auto* lists = new QFormLayout;
    for (const CListField& field : pmr ? std::span(kPmrLists) : std::span(kLmrLists))
        AddList(field, lists);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    if (pmr) {
        left->addLayout(switches);
        columns->addWidget(BuildFiveToneGroup());
        auto* right = new QVBoxLayout;
        right->addLayout(lists);
        right->addStretch();
        columns->addLayout(right);
    } else {
        auto* right = new QVBoxLayout;
        right->addLayout(switches);
        right->addLayout(lists);
        right->addStretch();
        columns->addLayout(right);
    }
    left->addStretch();

    m_buttons = LayOutDialog(this, columns);

    UpdateEnabling();
    m_rxFreq->setFocus();
}

QWidget* CZ30MchEditDlg::BuildFrequencyGroup() {
    QGroupBox* group = Group("Frequency", this);
    auto* form = new QFormLayout(group);
    const bool on = GetValueByName(m_channel, "ChOn") != 0;
    // A channel not in use shows no frequencies: OK on it unchanged keeps it off.
    const QString rx = on ? Text(GetTextByName(m_channel, "FreqRx")) : QString();
    const QString tx = on ? Text(GetTextByName(m_channel, "FreqTx")) : QString();
    m_rxFreq = new QLineEdit(rx, group);
    m_rxFreq->setObjectName(QStringLiteral("FreqRx"));
    m_txFreq = new QLineEdit(tx, group);
    m_txFreq->setObjectName(QStringLiteral("FreqTx"));
    m_freqSimplex = new QCheckBox(QStringLiteral("Simplex"), group);
    m_freqSimplex->setChecked(tx == rx);
    form->addRow(QStringLiteral("RX"), m_rxFreq);
    form->addRow(QString(), m_freqSimplex);
    form->addRow(QStringLiteral("TX"), m_txFreq);
    m_inhCh = AddCheck({"CH Inhibit", "InhCh"}, group);
    m_inhTx = AddCheck({"TX Inhibit", "InhTx"}, group);
    auto* inhibits = new QHBoxLayout;
    inhibits->addWidget(m_inhCh);
    inhibits->addWidget(m_inhTx);
    form->addRow(inhibits);
    m_dependents.insert(m_dependents.end(), {m_freqSimplex, form->labelForField(m_freqSimplex),
                                             m_txFreq, form->labelForField(m_txFreq)});

    connect(m_rxFreq, &QLineEdit::textChanged, this, [this] {
        Follow(m_txFreq);
        UpdateEnabling();
    });
    connect(m_freqSimplex, &QCheckBox::clicked, this, [this] {
        Follow(m_txFreq);
        UpdateEnabling();
    });
    return group;
}

QWidget* CZ30MchEditDlg::BuildToneGroup() {
    QGroupBox* group = Group("C.Tone", this);
    auto* form = new QFormLayout(group);
    auto makeBox = [&](const char* node) {
        auto* box = new CToneEntryCombo(group);
        box->setObjectName(QString::fromLatin1(node));
        const CListEntries entries = ToneEntries(m_channel, node);
        for (const std::string& text : entries.texts)
            box->addItem(Text(text));
        box->setEditText(Text(ToneText(m_channel ? m_channel->FindChild(node) : nullptr)));
        return box;
    };
    m_rxTone = makeBox("CTonRx");
    m_txTone = makeBox("CTonTx");
    m_toneSimplex = new QCheckBox(QStringLiteral("Simplex"), group);
    m_toneSimplex->setChecked(GetValueByName(m_channel, "CTonRx") ==
                              GetValueByName(m_channel, "CTonTx"));
    form->addRow(QStringLiteral("RX"), m_rxTone);
    form->addRow(QString(), m_toneSimplex);
    form->addRow(QStringLiteral("TX"), m_txTone);
    m_dependents.insert(m_dependents.end(), {m_rxTone, form->labelForField(m_rxTone), m_toneSimplex,
                                             form->labelForField(m_toneSimplex), m_txTone,
                                             form->labelForField(m_txTone)});

    connect(m_rxTone, &QComboBox::editTextChanged, this, [this] { Follow(m_txTone); });
    connect(m_toneSimplex, &QCheckBox::clicked, this, [this] {
        Follow(m_txTone);
        UpdateEnabling();
    });
    return group;
}

QWidget* CZ30MchEditDlg::BuildFiveToneGroup() {
    static constexpr CListField kSwAction[] = {
        {"Moni", "Moni", 0, 7}, {"Sel", "Sel", 1, 0}, {"Call", "Call", 1, 0}, {"PTT", "PTT", 0, 1}};
    static constexpr CListField kLongCodes[] = {
        {"RPT", "RPT", 1, 0}, {"STN", "STN", 1, 0}, {"ID", "Id", 1, 0}};
    static constexpr const char* kLongFlags[] = {"RPTLng", "STNLng", "IdLng"};
    static constexpr CCheckField kRxCodeLists[] = {
        {"1", "RxCNo1"}, {"2", "RxCNo2"}, {"3", "RxCNo3"}};

    QGroupBox* group = Group("5Tone", this);
    auto* layout = new QVBoxLayout(group);

    QGroupBox* action = Group("SW Action", group);
    auto* actionForm = new QFormLayout(action);
    for (const CListField& field : kSwAction)
        AddList(field, actionForm);
    layout->addWidget(action);

    QGroupBox* signaling = Group("5Tone Signaling", group);
    auto* signalingForm = new QFormLayout(signaling);
    AddList({"Form", "Form", 1, 0}, signalingForm);
    for (std::size_t i = 0; i < std::size(kLongCodes); ++i)
        AddList(kLongCodes[i], signalingForm, AddCheck({"Long", kLongFlags[i]}, signaling));
    AddList({"Pos", "IdPos", 1, 0}, signalingForm);
    layout->addWidget(signaling);

    QGroupBox* codes = Group("RX C-No", group);
    auto* codeRow = new QHBoxLayout(codes);
    for (const CCheckField& field : kRxCodeLists)
        codeRow->addWidget(AddCheck(field, codes));
    codeRow->addStretch();
    layout->addWidget(codes);
    layout->addStretch();
    return group;
}

QCheckBox* CZ30MchEditDlg::AddCheck(const CCheckField& field, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf8(field.label), parent);
    box->setObjectName(QString::fromLatin1(field.node));
    box->setChecked(GetValueByName(m_channel, field.node) != 0);
    m_checks.emplace_back(field.node, box);
    m_dependents.push_back(box);
    return box;
}

QComboBox* CZ30MchEditDlg::AddList(const CListField& field, QFormLayout* form, QWidget* beside) {
    auto* list = new QComboBox(form->parentWidget());
    list->setObjectName(QString::fromLatin1(field.node));
    const CListEntries entries = ListEntries(m_channel, field.node, field.first, field.last);
    for (const std::string& text : entries.texts)
        list->addItem(Text(text));
    list->setCurrentIndex(entries.selected);
    m_lists.emplace_back(field.node, list);
    m_dependents.push_back(list);
    const QString label = QString::fromUtf8(field.label);
    if (beside) {
        auto* pair = new QHBoxLayout;
        pair->addWidget(list, 1);
        pair->addWidget(beside);
        form->addRow(label, pair);
        m_dependents.push_back(form->labelForField(pair));
    } else {
        form->addRow(label, list);
        m_dependents.push_back(form->labelForField(list));
    }
    return list;
}

QWidget* CZ30MchEditDlg::FieldControl(const char* node) const {
    for (const auto& [name, box] : m_checks)
        if (std::string_view(name) == node) return box;
    for (const auto& [name, list] : m_lists)
        if (std::string_view(name) == node) return list;
    return nullptr;
}

void CZ30MchEditDlg::Follow(QWidget* control) {
    if (control == m_txFreq && m_freqSimplex->isChecked()) m_txFreq->setText(m_rxFreq->text());
    if (control == m_txTone && m_toneSimplex->isChecked())
        m_txTone->setEditText(m_rxTone->currentText());
}

void CZ30MchEditDlg::UpdateEnabling() {
    const bool any = !m_rxFreq->text().isEmpty();
    for (QWidget* w : m_dependents)
        if (w) w->setEnabled(any);
    if (!any) return;
    for (auto [simplex, field] : {std::pair{m_freqSimplex, static_cast<QWidget*>(m_txFreq)},
                                  {m_toneSimplex, static_cast<QWidget*>(m_txTone)}}) {
        field->setEnabled(!simplex->isChecked());
        if (auto* form = qobject_cast<QFormLayout*>(field->parentWidget()->layout()))
            if (QWidget* label = form->labelForField(field))
                label->setEnabled(!simplex->isChecked());
    }
}

CChannelEntry CZ30MchEditDlg::Entry() const {
    CChannelEntry e;
    e.rxFreq = m_rxFreq->text().toStdString();
    e.txFreq = m_txFreq->text().toStdString();
    e.freqSimplex = m_freqSimplex->isChecked();
    e.inhCh = m_inhCh->isChecked();
    e.inhTx = m_inhTx->isChecked();
    e.rxTone = m_rxTone->currentText().toStdString();
    e.txTone = m_txTone->currentText().toStdString();
    e.toneSimplex = m_toneSimplex->isChecked();
    for (const QString& text : m_rxTone->Entries())
        e.toneList.push_back(text.toStdString());
    for (const auto& [node, box] : m_checks)
        if (box != m_inhCh && box != m_inhTx) e.checks.emplace_back(node, box->isChecked() ? 1 : 0);
    for (const auto& [node, list] : m_lists)
        e.lists.emplace_back(node, list->currentIndex() >= 0 ? list->currentText().toStdString()
                                                             : std::string());
    return e;
}

void CZ30MchEditDlg::accept() {
    if (onApply && !onApply(Entry())) return;
    QDialog::accept();
}

void CZ30MchEditDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
}
