#include "views/mch_sheet.h"

#include "core/platform.h"
#include "params/node_access.h"
#include "params/set_result.h"
#include "sheets/channel_entry.h"
#include "sheets/channel_ops.h"
#include "sheets/mch_rows.h"
#include "views/edit_notes.h"
#include "views/list_frame.h"
#include "views/mch_edit_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>

#include <algorithm>
#include <charconv>

namespace {

std::span<const std::uint8_t> BytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

} // namespace

CZ30MchSheet::CZ30MchSheet(int index, bool pmr, CCloneSupportDoc* doc, QWidget* parent)
    : CListSheet(index, CZ30ListFrame::TitleOf(index), pmr ? kMchPmrSheet : kMchLmrSheet, doc, true,
                 QString::fromLatin1(pmr ? kPmrClipboardFormat : kLmrClipboardFormat), parent),
      m_pmr(pmr) {}

std::vector<std::string> CZ30MchSheet::RowTexts(int row) const {
    return MchRowTexts(Root(), m_pmr, Variant(), row);
}

void CZ30MchSheet::EditRow() {
    const int row = SelectedRow();
    if (row < 0 || !Root()) return;
    CModalScope guard;
    if (!guard.Entered()) return;
    const int n = ChannelOfRow(row);
    CZ30MchEditDlg dialog(Root(), n, m_pmr, this);
    dialog.onApply = [&](const CChannelEntry& entry) {
        // A frequency the channel refuses keeps the editor open with nothing stored.
        const std::vector<CFieldResult> refused = CheckChannelEntry(Root(), n, entry);
        if (!refused.empty()) {
            QStringList lines;
            for (const CFieldResult& r : refused)
                lines << QStringLiteral("%1 \"%2\": %3.")
                             .arg(QString::fromStdString(ChannelFieldLabel(r.node)),
                                  QString::fromStdString(r.given),
                                  QString::fromUtf8(SetReasonText(r.result.reason)));
            QMessageBox::warning(&dialog, QStringLiteral("KT-Z30"),
                                 lines.join('\n') +
                                     QStringLiteral("\nThe channel is not changed."));
            return false;
        }
        const std::string prefix = PathOfRow(row) + '.';
        const CEditStep step = RunEdit(
            EditLabel("Edit", n),
            [&](CNode& root, CEditReport& report) {
                for (CFieldResult& r : ApplyChannelEntry(&root, n, entry))
                    report.Add(prefix + r.node, std::move(r.given), std::move(r.result));
            },
            row);
        TellOutcome(n, prefix, step);
        return true;
    };
    dialog.exec();
}

void CZ30MchSheet::TellOutcome(int n, const std::string& prefix, const CEditStep& step) {
    const QString outcome = EditOutcomeText(step, [&](const std::string& path) {
        return QString::fromStdString(
            ChannelFieldLabel(path.size() > prefix.size() ? path.substr(prefix.size()) : path));
    });
    CEditNotes::Instance().Tell(
        outcome.isEmpty() ? QString() : QStringLiteral(" CH %1: %2").arg(n).arg(outcome));
}

std::string CZ30MchSheet::PathOfRow(int row) const {
    return "Mch.CH" + std::to_string(ChannelOfRow(row));
}

int CZ30MchSheet::RowOfPath(const std::string& path) const {
    // "Mch.CH<n>" or a field under it.
    static const std::string prefix = "Mch.CH";
    if (path.rfind(prefix, 0) != 0) return -1;
    const char* first = path.data() + prefix.size();
    const char* last = path.data() + std::min(path.find('.', prefix.size()), path.size());
    int n = 0;
    const auto [end, error] = std::from_chars(first, last, n);
    if (error != std::errc() || end != last || first == last) return -1;
    return n - ChannelOfRow(0);
}

void CZ30MchSheet::CopyRow() {
    const int n = SelectedChannel();
    if (n < 1) return;
    const CChannelRecord record = PackChannelRecord(Root(), n);
    auto* data = new QMimeData;
    data->setData(ClipboardFormat(), QByteArray(reinterpret_cast<const char*>(record.data()),
                                                static_cast<qsizetype>(record.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

QByteArray CZ30MchSheet::ClipboardRecord() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ClipboardFormat())) return {};
    QByteArray bytes = data->data(ClipboardFormat());
    return IsChannelRecord(BytesOf(bytes)) ? bytes : QByteArray();
}

bool CZ30MchSheet::CanPaste() const { return !ClipboardRecord().isEmpty(); }

void CZ30MchSheet::PasteRow() {
    const int row = SelectedRow();
    const QByteArray record = ClipboardRecord();
    if (row < 0 || record.isEmpty()) return;
    const int n = ChannelOfRow(row);
    const std::string prefix = PathOfRow(row) + '.';
    const CEditStep step = RunEdit(
        EditLabel("Paste", n),
        [&](CNode& root, CEditReport& report) {
            std::vector<CFieldResult> results;
            const bool pasted = UnpackChannelRecord(&root, n, BytesOf(record), &results);
            // An empty channel pasted: nothing of it is used, nothing to tell. A record refused
            // changed nothing: the frequency that refused it is told.
            if (pasted && !IsChannelOn(&root, n)) return;
            for (CFieldResult& r : results)
                report.Add(prefix + r.node, std::move(r.given), std::move(r.result));
        },
        row);
    TellOutcome(n, prefix, step);
}

void CZ30MchSheet::RunRowOperation(const char* verb, int n,
                                   const std::function<void(CNode& root)>& change, int changedRow) {
    // The channel acted on, as the edit's outcome: a channel the radio does not use is noted.
    const std::string path = "Mch.CH" + std::to_string(n);
    const CEditStep step = RunEdit(
        EditLabel(verb, n),
        [&](CNode& root, CEditReport& report) {
            change(root);
            if (const CNode* ch = GetNode(&root, path)) report.Add(path, {}, CSetResult::Of(*ch));
        },
        changedRow);
    TellOutcome(n, path + '.', step);
}

void CZ30MchSheet::ResetChannel(int channel) {
    RunRowOperation(
        "Clear", channel, [&](CNode& root) { ::ResetChannel(&root, channel); },
        channel - ChannelOfRow(0));
}

void CZ30MchSheet::ClearRow() {
    if (const int n = SelectedChannel(); n >= 1) ResetChannel(n);
}

void CZ30MchSheet::DeleteRow() {
    const int n = SelectedChannel();
    if (n < 1) return;
    if (IsChannelOn(Root(), n) && !AskYesNo(kDeleteChannelQuestion, true)) return;
    CWaitCursor wait;
    RunRowOperation("Delete", n, [&](CNode& root) { DeleteChannel(&root, n, RowCount()); });
}

void CZ30MchSheet::InsertRow() {
    const int n = SelectedChannel();
    if (n < 1) return;
    if (IsChannelOn(Root(), RowCount()) && !AskYesNo(kChannelOverflowQuestion, false)) return;
    CWaitCursor wait;
    RunRowOperation("Insert", n, [&](CNode& root) { InsertChannel(&root, n, RowCount()); });
}
