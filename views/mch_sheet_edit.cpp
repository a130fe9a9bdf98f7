// The memory sheets' editing at spreadsheet speed: the clipboard's text pasted as a table, fill
// down and fill series on several rows, and cells edited in place. Every change is one edit.
#include "views/mch_sheet.h"

#include "core/ctext.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "params/set_result.h"
#include "sheets/channel_ops.h"
#include "sheets/channel_table.h"
#include "views/command_ids.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>

namespace {

// Lines a report shows at most; the rest are counted.
constexpr int kReportLines = 40;

// "CH 5" of a path under "Mch.CH5.", and the field's name after it.
QString PathName(const std::string& path) {
    int n = 0;
    std::string_view field;
    if (!SplitChannelPath(path, &n, &field)) return QString::fromStdString(path);
    return QStringLiteral("CH %1%2").arg(
        QString::number(n),
        field.empty() ? QString()
                      : ' ' + QString::fromStdString(ChannelFieldLabel(std::string(field))));
}

} // namespace

QString CZ30MchSheet::RowsLabel(const char* action) const {
    return QString::fromUtf8(action) + ' ' +
           QString::fromStdString(ChannelsText(SelectedChannels()));
}

QString CZ30MchSheet::PasteLabel(std::size_t rows) const {
    int dropped = 0;
    const std::vector<int> targets =
        PasteTargets(rows, SelectedChannels(), ChannelOfRow(RowCount() - 1), &dropped);
    return targets.empty() ? RowsLabel("Paste")
                           : "Paste " + QString::fromStdString(ChannelsText(targets));
}

QStringList CZ30MchSheet::OutcomeLines(const CEditStep& step) {
    QStringList lines, notes;
    for (const CEditOutcome& o : step.outcomes) {
        if (o.result.status != CSetStatus::Stored) {
            const QString name = PathName(o.path);
            const QString channel = name.section(' ', 0, 1);
            const QString field = name.section(' ', 2);
            lines << channel + ": " +
                         QString::fromStdString(OutcomePhrase(field.toStdString(), o.given,
                                                              o.result, o.result.stored));
        }
        if (!o.note.empty()) {
            const QString note =
                PathName(o.path).section(' ', 0, 1) + ": " + QString::fromStdString(o.note);
            if (!notes.contains(note)) notes << note;
        }
    }
    return lines + notes;
}

void CZ30MchSheet::RunTableEdit(const QString& label,
                                const std::function<CTableEdit(CNode& root)>& change) {
    CTableEdit edit;
    const CEditStep step = RunEdit(label, [&](CNode& root, CEditReport& report) {
        edit = change(root);
        if (!edit.error.empty()) return;
        for (auto& [n, r] : edit.values)
            report.Add("Mch.CH" + std::to_string(n) + '.' + r.node, r.given, r.result);
    });
    if (!edit.error.empty()) {
        // Nothing was changed: the edit's change left the tree as it was.
        Platform().prompts->MessageBox(
            (label + ": " + QString::fromStdString(edit.error) + ".\nNothing was changed.")
                .toStdString(),
            "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
        return;
    }
    QStringList lines = OutcomeLines(step);
    for (const std::string& note : edit.notes)
        lines << QString::fromStdString(note);
    QString summary = QStringLiteral(" %1: done").arg(label);
    if (!edit.channels.empty())
        summary = QStringLiteral(" %1: %2 %3 set")
                      .arg(label)
                      .arg(edit.channels.size())
                      .arg(edit.channels.size() == 1 ? QStringLiteral("channel")
                                                     : QStringLiteral("channels"));
    if (edit.dropped)
        summary += QStringLiteral(", %1 %2 past the last channel dropped")
                       .arg(edit.dropped)
                       .arg(edit.dropped == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
    if (!lines.isEmpty())
        summary += QStringLiteral(", %1 %2")
                       .arg(lines.size())
                       .arg(lines.size() == 1 ? QStringLiteral("note") : QStringLiteral("notes"));
    Platform().prompts->SetStatusText(summary.toStdString());
    if (lines.isEmpty()) return;
    // One report of everything adjusted, refused or left aside.
    const qsizetype more = lines.size() - kReportLines;
    if (more > 0) {
        lines.resize(kReportLines);
        lines << QStringLiteral("... and %1 more").arg(more);
    }
    Platform().prompts->MessageBox((summary.trimmed() + ".\n\n" + lines.join('\n')).toStdString(),
                                   "KT-Z30", KtButtons::Ok, KtIcon::Information);
}

void CZ30MchSheet::PasteText() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const std::string text = data ? data->text().toStdString() : std::string();
    const std::vector<int> selected = SelectedChannels();
    if (selected.empty()) return;
    const int rows = ChannelOfRow(RowCount() - 1);
    RunTableEdit(PasteLabel(MchTableRowCount(m_pmr, text)), [&](CNode& root) {
        return PasteMchTable(&root, m_pmr, Variant(), rows, selected, text);
    });
}

void CZ30MchSheet::FillDown() {
    const int column = View()->CurrentColumn();
    const std::vector<int> channels = SelectedChannels();
    RunTableEdit(RowsLabel("Fill Down"),
                 [&](CNode& root) { return FillMchDown(&root, m_pmr, channels, column); });
}

void CZ30MchSheet::FillSeries() {
    const int column = View()->CurrentColumn();
    const std::vector<int> channels = SelectedChannels();
    if (channels.size() < 2) return;
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FillSeries"));
    dialog.setWindowTitle(QStringLiteral("Fill Series"));
    dialog.setLabelText(QStringLiteral("Step (kHz):"));
    dialog.setTextValue(
        QString::fromStdString(FormatFixed(DefaultSeriesStepKhz(Root(), channels.front()), 3)));
    CModalScope guard;
    if (!guard.Entered() || dialog.exec() != QDialog::Accepted) return;
    double step = 0;
    const std::string given = TrimBlanks(dialog.textValue().toStdString());
    if (!IsWholeCNumber(given) || !ParseCDouble(given, &step)) {
        Platform().prompts->MessageBox("Fill Series: \"" + given +
                                           "\" is not a number of kHz.\nNothing was changed.",
                                       "KT-Z30", KtButtons::Ok, KtIcon::Exclamation);
        return;
    }
    RunTableEdit(RowsLabel("Fill Series"),
                 [&](CNode& root) { return FillMchSeries(&root, m_pmr, channels, column, step); });
}

bool CZ30MchSheet::HandleCommand(int id) {
    CCmdUI ui;
    switch (id) {
    case cmd::kFillDown:
    case cmd::kFillSeries:
    case cmd::kPasteText:
        if (!UpdateCommand(id, ui) || !ui.enabled) return true;
        if (id == cmd::kFillDown)
            FillDown();
        else if (id == cmd::kFillSeries)
            FillSeries();
        else
            PasteText();
        View()->setFocus(Qt::OtherFocusReason);
        return true;
    default:
        return CListSheet::HandleCommand(id);
    }
}

bool CZ30MchSheet::UpdateCommand(int id, CCmdUI& ui) {
    const int count = SelectionSize();
    const CCellKind kind = MchCellKind(m_pmr, View()->CurrentColumn());
    switch (id) {
    case cmd::kFillDown:
        ui.visible = count > 1;
        ui.enabled = ui.visible && kind != CCellKind::None;
        return true;
    case cmd::kFillSeries:
        ui.visible = count > 1;
        ui.enabled = ui.visible && kind == CCellKind::Frequency;
        return true;
    case cmd::kPasteText:
        ui.enabled = count > 0 && Clip().text;
        return true;
    case cmd::kPaste:
        // Asked each time: whether text is taken depends on the rows selected.
        ui.enabled = count > 0 && CanPaste();
        return true;
    default:
        return CListSheet::UpdateCommand(id, ui);
    }
}

// --- In-place editing ----------------------------------------------------------------------------

bool CZ30MchSheet::CellEditable(int row, int column) const {
    if (MchCellKind(m_pmr, column) == CCellKind::None || !Root()) return false;
    return column == 3 || IsChannelOn(Root(), ChannelOfRow(row));
}

CCellEditor CZ30MchSheet::CellEditor(int row, int column) const {
    CCellEditor editor;
    if (!CellEditable(row, column)) return editor;
    const int n = ChannelOfRow(row);
    editor.text = QString::fromStdString(MchCellValue(Root(), m_pmr, n, column));
    switch (MchCellKind(m_pmr, column)) {
    case CCellKind::Frequency:
        editor.kind = CCellEditor::Line;
        return editor;
    case CCellKind::Tone:
        editor.kind = CCellEditor::Tone;
        break;
    default:
        editor.kind = CCellEditor::List;
        break;
    }
    for (const std::string& choice : MchCellChoices(Root(), m_pmr, n, column))
        editor.choices << QString::fromStdString(choice);
    return editor;
}

void CZ30MchSheet::CommitCell(int row, int column, const QString& text) {
    if (!CellEditable(row, column)) return;
    const int n = ChannelOfRow(row);
    if (text.toStdString() == MchCellValue(Root(), m_pmr, n, column)) return; // nothing typed
    const std::string prefix = PathOfRow(row) + '.';
    CCellsOutcome outcome;
    const CEditStep step = RunEdit(
        EditLabel("Edit", n),
        [&](CNode& root, CEditReport& report) {
            outcome = ApplyMchCells(&root, m_pmr, n, {{column, text.toStdString()}});
            for (CFieldResult& r : outcome.results)
                report.Add(prefix + r.node, r.given, r.result);
        },
        row);
    if (!outcome.refused.empty()) {
        // As the row editor warns; after the cell's editor has closed.
        const QString warning = RefusalText(outcome.refused);
        QTimer::singleShot(0, this, [this, warning] {
            QMessageBox::warning(this, QStringLiteral("KT-Z30"), warning);
        });
        return;
    }
    TellOutcome(n, prefix, step);
}
