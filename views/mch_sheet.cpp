#include "views/mch_sheet.h"

#include "core/platform.h"
#include "params/node_access.h"
#include "params/set_result.h"
#include "sheets/channel_entry.h"
#include "sheets/channel_ops.h"
#include "sheets/channel_table.h"
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
#include <string_view>

namespace {

std::span<const std::uint8_t> BytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

} // namespace

CZ30MchSheet::CZ30MchSheet(int index, bool pmr, CCloneSupportDoc* doc, QWidget* parent)
    : CListSheet(index, CZ30ListFrame::TitleOf(index), pmr ? kMchPmrSheet : kMchLmrSheet, doc, true,
                 QString::fromLatin1(pmr ? kPmrClipboardFormat : kLmrClipboardFormat), parent),
      m_pmr(pmr) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { m_clip.reset(); });
}

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
            QMessageBox::warning(&dialog, QStringLiteral("KT-Z30"), RefusalText(refused));
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

QString CZ30MchSheet::RefusalText(const std::vector<CFieldResult>& refused) {
    QStringList lines;
    for (const CFieldResult& r : refused)
        lines << QStringLiteral("%1 \"%2\": %3.")
                     .arg(QString::fromStdString(ChannelFieldLabel(r.node)),
                          QString::fromStdString(r.given),
                          QString::fromUtf8(SetReasonText(r.result.reason)));
    return lines.join('\n') + QStringLiteral("\nThe channel is not changed.");
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
    int n = 0;
    std::string_view field;
    return SplitChannelPath(path, &n, &field) ? n - ChannelOfRow(0) : -1;
}

void CZ30MchSheet::CopyRow() {
    const std::vector<int> channels = SelectedChannels();
    if (channels.empty()) return;
    // The sheet's records, one per row, and the rows as a table for other programs.
    const std::vector<std::uint8_t> records = PackChannelRecords(Root(), channels);
    std::vector<std::vector<std::string>> rows;
    for (int row : SelectedRows())
        rows.push_back(RowTexts(row));
    auto* data = new QMimeData;
    data->setData(ClipboardFormat(), QByteArray(reinterpret_cast<const char*>(records.data()),
                                                static_cast<qsizetype>(records.size())));
    data->setText(QString::fromStdString(TableText(Desc(), rows)));
    QGuiApplication::clipboard()->setMimeData(data);
}

void CZ30MchSheet::CutRows() {
    CopyRow();
    ClearRow();
}

QByteArray CZ30MchSheet::ClipboardRecord() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(ClipboardFormat())) return {};
    QByteArray bytes = data->data(ClipboardFormat());
    return IsChannelRecord(BytesOf(bytes)) ? bytes : QByteArray();
}

const CZ30MchSheet::CClipState& CZ30MchSheet::Clip() const {
    if (!m_clip) {
        CClipState state;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        const QString other =
            QString::fromLatin1(m_pmr ? kLmrClipboardFormat : kPmrClipboardFormat);
        state.own = !ClipboardRecord().isEmpty();
        state.other = data && data->hasFormat(other);
        state.text = data && data->hasText() && !data->text().trimmed().isEmpty();
        m_clip = state;
    }
    return *m_clip;
}

// Records of the other memory sheet do not travel to this one (their text does, by Paste Text,
// or by Paste on several rows).
bool CZ30MchSheet::CanPaste() const {
    const CClipState& clip = Clip();
    return clip.own || (clip.text && (!clip.other || SelectionSize() > 1));
}

void CZ30MchSheet::PasteRow() {
    const int row = SelectedRow();
    const QByteArray record = ClipboardRecord();
    if (row >= 0 && record.isEmpty()) return PasteText();
    const std::size_t count = ChannelRecordCount(BytesOf(record));
    if (row >= 0 && (count > 1 || SelectionSize() > 1)) {
        RunTableEdit(PasteLabel(count), [&](CNode& root) {
            CTableEdit edit;
            edit.channels = PasteTargets(count, SelectedChannels(), ChannelOfRow(RowCount() - 1),
                                         &edit.dropped);
            const auto bytes = BytesOf(record);
            for (std::size_t k = 0; k < edit.channels.size(); ++k) {
                const std::size_t i = std::min(k, count - 1);
                std::vector<CFieldResult> results;
                const int n = edit.channels[k];
                const bool pasted = UnpackChannelRecord(
                    &root, n, bytes.subspan(i * kChannelRecordSize, kChannelRecordSize), &results);
                if (pasted && !IsChannelOn(&root, n)) continue;
                for (CFieldResult& r : results)
                    edit.values.emplace_back(n, std::move(r));
            }
            return edit;
        });
        return;
    }
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

void CZ30MchSheet::RunOnChannels(const char* verb, const std::vector<int>& channels,
                                 const std::function<void(CNode& root)>& change, int changedRow) {
    if (channels.size() == 1) return RunRowOperation(verb, channels.front(), change, changedRow);
    RunTableEdit(RowsLabel(verb), [&](CNode& root) {
        change(root);
        return CTableEdit{};
    });
}

void CZ30MchSheet::ClearRow() {
    const std::vector<int> channels = SelectedChannels();
    if (channels.empty()) return;
    RunOnChannels(
        "Clear", channels,
        [&](CNode& root) {
            for (int n : channels)
                ::ResetChannel(&root, n);
        },
        channels.front() - ChannelOfRow(0));
}

void CZ30MchSheet::DeleteRow() {
    const std::vector<int> channels = SelectedChannels();
    if (channels.empty()) return;
    const bool inUse = std::any_of(channels.begin(), channels.end(),
                                   [&](int n) { return IsChannelOn(Root(), n); });
    if (inUse && !AskYesNo(kDeleteChannelQuestion, true)) return;
    CWaitCursor wait;
    RunOnChannels("Delete", channels,
                  [&](CNode& root) { DeleteChannels(&root, channels, RowCount()); });
}

void CZ30MchSheet::InsertRow() {
    const std::vector<int> channels = SelectedChannels();
    if (channels.empty()) return;
    // Each blank inserted loses one of the last channels.
    bool lost = false;
    for (int k = 0; k < static_cast<int>(channels.size()); ++k)
        lost = lost || IsChannelOn(Root(), RowCount() - k);
    if (lost && !AskYesNo(kChannelOverflowQuestion, false)) return;
    CWaitCursor wait;
    RunOnChannels("Insert", channels,
                  [&](CNode& root) { InsertChannels(&root, channels, RowCount()); });
}
