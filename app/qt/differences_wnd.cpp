#include "app/qt/differences_wnd.h"

#include "app/clone_support_doc.h"
#include "clone/byte_image.h"
#include "clone/model_info.h"
#include "core/files.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "sheets/mch_rows.h"
#include "views/doc_edit.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace {

const char* const kTakeLabel = "Take Other Value";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The field of a channel's difference ("FreqRx" of "Mch.CH3.FreqRx").
std::string FieldOf(const CDifference& d) {
    return d.Channel() ? d.path.substr(d.group.size() + 1) : std::string();
}

} // namespace

// --- CDifferenceModel ----------------------------------------------------------------------------

void CDifferenceModel::SetDifferences(std::vector<CDifference> list) {
    beginResetModel();
    m_list = std::move(list);
    endResetModel();
}

int CDifferenceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.size());
}

int CDifferenceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QVariant CDifferenceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) return {};
    const CDifference& d = m_list[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case 0:
        return Q(d.path);
    case 1:
        return Q(d.textA);
    default:
        return Q(d.textB);
    }
}

QVariant CDifferenceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeaders[] = {"Where", "This document", "The other"};
    return section >= 0 && section < 3 ? QString::fromLatin1(kHeaders[section]) : QVariant();
}

// --- CDifferencesWnd -----------------------------------------------------------------------------

CDifferencesWnd::CDifferencesWnd(CZ30Doc& doc, std::vector<std::uint8_t> other, QString otherName,
                                 QWidget* parent)
    : QDialog(parent), m_doc(doc), m_other(std::move(other)), m_otherName(std::move(otherName)),
      m_comparer(std::make_unique<CImageComparer>(doc.GetCloneManager()->GetRadioDataManager())),
      m_model(new CDifferenceModel(this)), m_table(new QTableView(this)),
      m_summary(new QLabel(this)), m_take(new QPushButton(QString::fromLatin1(kTakeLabel), this)) {
    setObjectName(QStringLiteral("Differences"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    connect(m_table, &QTableView::doubleClicked, this, &CDifferencesWnd::Activated);
    m_take->setToolTip(QStringLiteral("Set the selected values as the other has them"));
    connect(m_take, &QPushButton::clicked, this, &CDifferencesWnd::TakeOtherValues);
    auto* print = new QPushButton(QStringLiteral("Print..."), this);
    connect(print, &QPushButton::clicked, this, &CDifferencesWnd::Print);
    auto* save = new QPushButton(QStringLiteral("Save as Text..."), this);
    connect(save, &QPushButton::clicked, this, [this] { SaveAsText(askTextPath()); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addWidget(m_take);
    row->addWidget(print);
    row->addWidget(save);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addLayout(row);
    resize(640, 420);

    askTextPath = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Save as Text"),
                                            QStringLiteral("differences.txt"),
                                            QStringLiteral("Text Files (*.txt);;All Files (*)"));
    };
    // Every change of the document (an edit, an undo, a read) is compared again.
    m_notice = m_doc.Subscribe([this](const CChangeNotice&) { Refresh(); });
    Refresh();
    m_table->resizeColumnsToContents();
}

CDifferencesWnd::~CDifferencesWnd() {
    m_doc.Unsubscribe(m_notice);
    ClearMarks();
}

void CDifferencesWnd::Refresh() {
    const std::vector<CDifference> list = m_comparer->Compare(m_doc.ImageBytes(), m_other);
    const auto n = static_cast<int>(list.size());
    setWindowTitle(QStringLiteral("Differences with %1 - %2 difference%3")
                       .arg(m_otherName)
                       .arg(n)
                       .arg(n == 1 ? "" : "s"));
    m_summary->setText(n ? Q(DifferenceSummary(list)) + QStringLiteral(".")
                         : QStringLiteral("This document is equal to %1.").arg(m_otherName));
    m_take->setEnabled(n > 0);
    // The memory sheet's cells of the channels' differences, with the other value.
    auto marks = std::make_shared<std::map<std::pair<int, int>, QString>>();
    const bool pmr = IsPmrVariant(m_doc.GetVariant());
    for (const CDifference& d : list) {
        const int column = d.Channel() ? MchColumnOfField(pmr, FieldOf(d)) : -1;
        if (column < 0) continue;
        QString& tip = (*marks)[{d.Channel(), column}];
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) +
               QStringLiteral("%1 has %2").arg(m_otherName, Q(d.textB));
    }
    m_model->SetDifferences(list);
    if (markCells)
        markCells([marks](int channel, int column) {
            const auto it = marks->find({channel, column});
            return it == marks->end() ? QString() : it->second;
        });
}

void CDifferencesWnd::ClearMarks() {
    if (markCells) markCells(nullptr);
}

void CDifferencesWnd::closeEvent(QCloseEvent* event) {
    ClearMarks();
    QDialog::closeEvent(event);
}

void CDifferencesWnd::done(int result) {
    ClearMarks();
    QDialog::done(result);
}

void CDifferencesWnd::Activated(const QModelIndex& index) {
    if (!index.isValid()) return;
    const CDifference& d = Differences().at(static_cast<std::size_t>(index.row()));
    if (d.Channel() && showChannel) showChannel(d.Channel());
}

void CDifferencesWnd::TakeOtherValues() {
    std::vector<CDifference> taken;
    for (const QModelIndex& row : m_table->selectionModel()->selectedRows())
        taken.push_back(Differences().at(static_cast<std::size_t>(row.row())));
    // In tree order, so that a channel is switched on before its fields are set.
    std::sort(taken.begin(), taken.end(), [this](const CDifference& a, const CDifference& b) {
        const auto& list = Differences();
        auto at = [&list](const CDifference& d) {
            return std::find_if(list.begin(), list.end(),
                                [&d](const CDifference& x) { return x.path == d.path; });
        };
        return at(a) < at(b);
    });
    if (taken.empty()) return;
    CModalScope guard;
    if (!guard.Entered()) return;
    bool variant = false;
    const CEditStep step =
        RunEdit(m_doc, QString::fromLatin1(kTakeLabel), [&](CNode& root, CEditReport& report) {
            for (const CDifference& d : taken) {
                if (d.kind == CDifference::Kind::Variant) {
                    variant = true;
                } else if (d.kind == CDifference::Kind::Byte) {
                    // The bits no value covers; what values hold stays theirs.
                    CByteImage* image = m_doc.GetCloneManager()->GetImage();
                    const std::uint8_t covered =
                        m_comparer->CoveredBits(m_doc.GetVariant(), d.address);
                    const auto byte = static_cast<std::uint8_t>(
                        (image->ReadByte(d.address) & covered) | (d.codeB & ~covered));
                    image->WriteByte(d.address, byte);
                    CSetResult stored;
                    stored.stored = d.textB;
                    report.Add(d.path, d.textB, stored);
                } else if (dynamic_cast<CStringNode*>(GetNode(&root, d.path))) {
                    report.SetText(d.path, d.textB);
                } else {
                    report.SetCode(d.path, d.codeB);
                }
            }
        });
    QString status = EditOutcomeText(step, [](const std::string& path) { return Q(path); });
    if (variant)
        status += (status.isEmpty() ? QString() : QStringLiteral("; ")) +
                  QStringLiteral("the variant is not taken (Model menu)");
    if (status.isEmpty())
        status = QStringLiteral("%1 value%2 taken from %3")
                     .arg(step.outcomes.size())
                     .arg(step.outcomes.size() == 1 ? "" : "s")
                     .arg(m_otherName);
    Platform().prompts->SetStatusText(" " + status.toStdString() + ".");
}

QString CDifferencesWnd::Text() const {
    QString text =
        QStringLiteral("# %1: %2\n")
            .arg(QString::fromStdString(m_doc.GetTitle()) + QStringLiteral(" and ") + m_otherName,
                 Q(DifferenceSummary(Differences())));
    for (const CDifference& d : Differences())
        text += Q(DifferenceLine(d, false)) + QLatin1Char('\n');
    return text;
}

void CDifferencesWnd::SaveAsText(const QString& path) {
    if (path.isEmpty()) return;
    std::string error;
    if (!ReplaceFile(path.toStdString(), Text().toStdString(), &error))
        Platform().prompts->MessageBox("The file could not be saved:\n" + path.toStdString() +
                                           "\n" + error,
                                       "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
}

void CDifferencesWnd::Print() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QString html = QStringLiteral("<h3>%1</h3><table cellspacing=0 cellpadding=2 border=1>"
                                  "<tr><th>Where</th><th>This document</th><th>The other</th></tr>")
                       .arg(windowTitle().toHtmlEscaped());
    for (const CDifference& d : Differences())
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                    .arg(Q(d.path).toHtmlEscaped(), Q(d.textA).toHtmlEscaped(),
                         Q(d.textB).toHtmlEscaped());
    QTextDocument document;
    document.setHtml(html + QStringLiteral("</table>"));
    document.print(&printer);
}
