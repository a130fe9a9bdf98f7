#include "sheets/channel_table.h"

#include "clone/model_info.h"
#include "core/ctext.h"
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"
#include "sheets/channel_csv.h"
#include "sheets/channel_ops.h"
#include "sheets/csv_table.h"
#include "sheets/mch_rows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace {

constexpr const char* kSameAsRx = "<-----";

// How a column's text maps onto its nodes.
enum class CForm {
    None,
    Frequency,
    Tone,
    Choice,    // a choice of node, among the codes first..last (all when first > last)
    Long,      // a count choice, "L" after it when the long flag is on
    AutoReset, // the choices of "AutoResetP", two of them shown shorter
    CodeLists, // "RxCNo1" to "RxCNo3" as three characters, "_" for a list not joined
};

struct CColumnRule {
    CForm form;
    const char* node;
    int first = 1, last = 0; // the codes the row editor's list offers
    const char* flag = nullptr;
};

// clang-format off
constexpr CColumnRule kCommonRules[] = {
    {CForm::None, nullptr},              {CForm::None, nullptr},
    {CForm::Choice, "InhCh"},            {CForm::Frequency, "FreqRx"},
    {CForm::Frequency, "FreqTx"},        {CForm::Choice, "InhTx"},
    {CForm::Tone, "CTonRx"},             {CForm::Tone, "CTonTx"},
    {CForm::Choice, "WidNar", 0, 1},     {CForm::Choice, "PwrSave"},
    {CForm::Choice, "TOT"},
};
constexpr CColumnRule kLmrRules[] = {
    {CForm::Choice, "RfPwr", 0, 2},      {CForm::Choice, "LockoutL", 0, 2},
    {CForm::Choice, "ScnLst1"},          {CForm::Choice, "AutoResetL"},
    {CForm::Choice, "2Ton", 0, 3},       {CForm::Choice, "LogInOfL", 0, 3},
};
constexpr CColumnRule kPmrRules[] = {
    {CForm::Choice, "RfPwr"},            {CForm::Choice, "LockoutP", 0, 3},
    {CForm::Choice, "ScnLst1"},          {CForm::Choice, "Moni", 0, 7},
    {CForm::Choice, "Sel"},              {CForm::Choice, "Call"},
    {CForm::Choice, "PTT", 0, 1},        {CForm::Choice, "LogInOfP"},
    {CForm::AutoReset, "AutoResetP"},    {CForm::Choice, "Mute", 0, 1},
    {CForm::Choice, "Form"},             {CForm::Long, "RPT", 1, 0, "RPTLng"},
    {CForm::Long, "STN", 1, 0, "STNLng"}, {CForm::Long, "Id", 1, 0, "IdLng"},
    {CForm::Choice, "IdPos"},            {CForm::CodeLists, "RxCNo1"},
};
// clang-format on
constexpr const char* kCodeLists[] = {"RxCNo1", "RxCNo2", "RxCNo3"};
constexpr std::pair<const char*, const char*> kShortAutoReset[] = {{"Timer A Inact", "Timer AI"},
                                                                   {"Timer B Inact", "Timer BI"}};

CColumnRule RuleOf(bool pmr, int column) {
    const auto common = static_cast<int>(std::size(kCommonRules));
    if (column < 0) return {CForm::None, nullptr};
    if (column < common) return kCommonRules[column];
    const auto& rules = pmr ? std::span<const CColumnRule>(kPmrRules) : kLmrRules;
    const auto i = static_cast<std::size_t>(column - common);
    return i < rules.size() ? rules[i] : CColumnRule{CForm::None, nullptr};
}

const CSheetDesc& DescOf(bool pmr) { return pmr ? kMchPmrSheet : kMchLmrSheet; }

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }
std::string Ch(int n) { return "CH " + std::to_string(n); }
std::string ColumnTitle(bool pmr, int column) { return DescOf(pmr).columnTable[column].header; }

// The code of the choice with that text (any letter case) among first..last.
std::optional<int> ChoiceCode(const CNode* node, const std::string& text, int first, int last) {
    const auto* value = dynamic_cast<const CChoiceValue*>(node);
    if (!value) return std::nullopt;
    for (const CChoice& c : value->Choices())
        if ((first > last || (c.code >= first && c.code <= last)) &&
            SameTextIgnoringCase(c.text, text))
            return c.code;
    return std::nullopt;
}

std::vector<std::string> ChoiceTexts(CNode* ch, const CColumnRule& rule) {
    return ListEntries(ch, rule.node, rule.first, rule.last).texts;
}

CFieldResult Refusal(CNode* ch, const char* node, const std::string& given) {
    return {node, given, CSetResult::Refused(ch->FindChild(node), CSetReason::NotAChoice)};
}

// A choice-like cell of a channel in use: the fields it sets, or a refusal.
void ApplyChoiceCell(CNode* ch, const CColumnRule& rule, const std::string& text,
                     std::vector<CFieldResult>& results) {
    auto set = [&](const char* node, int code) {
        results.push_back({node, text, SetValueByName(ch, node, code)});
    };
    switch (rule.form) {
    case CForm::Choice:
        if (auto code = ChoiceCode(ch->FindChild(rule.node), text, rule.first, rule.last))
            return set(rule.node, *code);
        break;
    case CForm::AutoReset: {
        std::string full = text;
        for (auto [longText, shortText] : kShortAutoReset)
            if (SameTextIgnoringCase(text, shortText)) full = longText;
        if (auto code = ChoiceCode(ch->FindChild(rule.node), full, 1, 0))
            return set(rule.node, *code);
        break;
    }
    case CForm::Long: {
        if (auto code = ChoiceCode(ch->FindChild(rule.node), text, 1, 0)) {
            set(rule.node, *code);
            if (*code != 0) set(rule.flag, 0);
            return;
        }
        const bool longTone = text.size() > 1 && (text.back() == 'L' || text.back() == 'l');
        if (longTone) {
            auto code = ChoiceCode(ch->FindChild(rule.node), text.substr(0, text.size() - 1), 1, 0);
            if (code && *code != 0) {
                set(rule.node, *code);
                set(rule.flag, 1);
                return;
            }
        }
        break;
    }
    case CForm::CodeLists:
        if (text.size() == 3) {
            int codes[3] = {};
            bool ok = true;
            for (int i = 0; i < 3; ++i) {
                const char c = text[static_cast<std::size_t>(i)];
                ok = ok && (c == '_' || c == '1' + i);
                codes[i] = c == '_' ? 0 : 1;
            }
            if (ok) {
                for (int i = 0; i < 3; ++i)
                    set(kCodeLists[i], codes[i]);
                return;
            }
        }
        break;
    default:
        return;
    }
    results.push_back(Refusal(ch, rule.node, text));
}

} // namespace

CCellKind MchCellKind(bool pmr, int column) {
    switch (RuleOf(pmr, column).form) {
    case CForm::None:
        return CCellKind::None;
    case CForm::Frequency:
        return CCellKind::Frequency;
    case CForm::Tone:
        return CCellKind::Tone;
    default:
        return CCellKind::Choice;
    }
}

std::string MchCellValue(CNode* root, bool pmr, int n, int column) {
    CNode* ch = ChannelNode(root, n);
    if (!ch || !IsChannelOn(root, n)) return {};
    const CColumnRule rule = RuleOf(pmr, column);
    if (rule.form == CForm::Frequency) return GetTextByName(ch, rule.node);
    if (rule.form == CForm::Tone) return ToneText(ch->FindChild(rule.node));
    const std::vector<std::string> cells = MchRowTexts(root, pmr, 0, n - 1);
    return column >= 0 && static_cast<std::size_t>(column) < cells.size()
               ? cells[static_cast<std::size_t>(column)]
               : std::string();
}

std::vector<std::string> MchCellChoices(CNode* root, bool pmr, int n, int column) {
    CNode* ch = ChannelNode(root, n);
    const CColumnRule rule = RuleOf(pmr, column);
    if (!ch) return {};
    std::vector<std::string> texts;
    switch (rule.form) {
    case CForm::Tone:
        return ToneEntries(ch, rule.node).texts;
    case CForm::Choice:
        return ChoiceTexts(ch, rule);
    case CForm::AutoReset:
        texts = ChoiceTexts(ch, rule);
        for (std::string& t : texts)
            for (auto [longText, shortText] : kShortAutoReset)
                if (t == longText) t = shortText;
        return texts;
    case CForm::Long: {
        texts = ChoiceTexts(ch, rule);
        const std::size_t count = texts.size();
        for (std::size_t i = 1; i < count; ++i) // every one but OFF, long
            texts.push_back(texts[i] + 'L');
        return texts;
    }
    case CForm::CodeLists:
        for (int bits = 0; bits < 8; ++bits) {
            std::string t = "___";
            for (int i = 0; i < 3; ++i)
                if (bits & (1 << i)) t[static_cast<std::size_t>(i)] = static_cast<char>('1' + i);
            texts.push_back(t);
        }
        return texts;
    default:
        return {};
    }
}

CCellsOutcome ApplyMchCells(CNode* root, bool pmr, int n,
                            const std::vector<std::pair<int, std::string>>& cells) {
    CCellsOutcome out;
    CNode* ch = ChannelNode(root, n);
    if (!ch || n < 1) {
        out.note = Ch(n) + " does not exist";
        return out;
    }
    const bool on = IsChannelOn(root, n);
    std::optional<std::string> given[std::size(kCommonRules)];
    std::vector<std::pair<CColumnRule, std::string>> others;
    bool anyValue = false;
    for (const auto& [column, raw] : cells) {
        const CColumnRule rule = RuleOf(pmr, column);
        if (rule.form == CForm::None) continue;
        const std::string text = TrimBlanks(raw);
        anyValue = anyValue || !text.empty();
        if (column < static_cast<int>(std::size(kCommonRules)) &&
            (rule.form == CForm::Frequency || rule.form == CForm::Tone || column == 2 ||
             column == 5))
            given[column] = text;
        else
            others.emplace_back(rule, text);
    }
    if (!on && !given[3]) {
        if (anyValue) out.note = Ch(n) + " is off: it takes a row only with an RX Frequency";
        return out;
    }

    // The row editor's entry: what the channel holds, with what the cells give.
    auto present = [&](const char* node) { return on ? GetTextByName(ch, node) : std::string(); };
    CChannelEntry e;
    e.rxFreq = given[3] ? *given[3] : present("FreqRx");
    const bool txWasRx = !on || SameTextIgnoringCase(present("FreqRx"), present("FreqTx"));
    if (given[4] && *given[4] != kSameAsRx)
        e.txFreq = *given[4];
    else if (given[4] || txWasRx)
        e.freqSimplex = true;
    else
        e.txFreq = present("FreqTx");
    const bool toneWasRx = GetValueByName(ch, "CTonRx") == GetValueByName(ch, "CTonTx");
    e.rxTone = given[6] ? *given[6] : ToneText(ch->FindChild("CTonRx"));
    if (given[7] && *given[7] != kSameAsRx)
        e.txTone = *given[7];
    else if (given[7] || toneWasRx)
        e.toneSimplex = true;
    else
        e.txTone = ToneText(ch->FindChild("CTonTx"));
    e.toneList = ToneEntries(ch, "CTonRx").texts;
    std::vector<CFieldResult> inhibits;
    for (auto [column, node, flag] : {std::tuple{2, "InhCh", &e.inhCh}, {5, "InhTx", &e.inhTx}}) {
        *flag = GetValueByName(ch, node) != 0;
        if (!given[column]) continue;
        if (auto code = ChoiceCode(ch->FindChild(node), *given[column], 1, 0))
            *flag = *code != 0;
        else
            inhibits.push_back(Refusal(ch, node, *given[column]));
    }

    out.refused = CheckChannelEntry(root, n, e);
    if (!out.refused.empty()) return out;
    out.results = ApplyChannelEntry(root, n, e);
    // The row editor stores an unconverted tone as refused; a tone not given was not typed.
    std::erase_if(out.results, [&](const CFieldResult& r) {
        return (r.node == "CTonRx" && !given[6]) ||
               (r.node == "CTonTx" && !given[7] && !e.toneSimplex);
    });
    if (!IsChannelOn(root, n)) return out; // emptied: the blank channel, nothing else matters
    out.results.insert(out.results.end(), inhibits.begin(), inhibits.end());
    for (const auto& [rule, text] : others)
        ApplyChoiceCell(ch, rule, text, out.results);
    return out;
}

// --- Table text ------------------------------------------------------------------------------

std::string TableText(const CSheetDesc& desc, const std::vector<std::vector<std::string>>& rows) {
    auto line = [](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) text += '\t';
            for (char c : cells[i])
                text += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
        }
        return text + '\n';
    };
    std::vector<std::string> titles;
    for (const CColumnDesc& column : desc.columnTable)
        titles.emplace_back(column.header);
    std::string text = line(titles);
    for (const auto& row : rows)
        text += line(row);
    return text;
}

std::vector<std::vector<std::string>> SplitTabText(std::string_view text) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> cells(1);
    auto endLine = [&] {
        const bool blank = std::all_of(cells.begin(), cells.end(),
                                       [](const std::string& c) { return TrimBlanks(c).empty(); });
        if (!blank) lines.push_back(std::move(cells));
        cells.assign(1, std::string());
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && cells.back().empty()) { // a quoted cell
            std::size_t j = i + 1;
            std::string cell;
            while (j < text.size()) {
                if (text[j] == '"') {
                    if (j + 1 < text.size() && text[j + 1] == '"') {
                        cell += '"';
                        j += 2;
                        continue;
                    }
                    break;
                }
                cell += text[j++];
            }
            const bool closed = j < text.size();
            const std::size_t after = closed ? j + 1 : j;
            // Only a cell closed at a tab or a line end was quoted; else the quote is text.
            if (closed && (after == text.size() || text[after] == '\t' || text[after] == '\r' ||
                           text[after] == '\n')) {
                cells.back() = std::move(cell);
                i = after;
                continue;
            }
        }
        if (c == '\t') {
            cells.emplace_back();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            endLine();
        } else {
            cells.back() += c;
        }
        ++i;
    }
    endLine();
    return lines;
}

// --- Paste -----------------------------------------------------------------------------------

namespace {

// A header line's cells matched to the sheet's columns (-1 for none); nullopt when it names none
// of them.
std::optional<std::vector<int>> SheetColumns(bool pmr, const std::vector<std::string>& header) {
    const CSheetDesc& desc = DescOf(pmr);
    std::vector<int> columns(header.size(), -1);
    bool any = false;
    for (std::size_t i = 0; i < header.size(); ++i)
        for (int c = 0; c < desc.columns; ++c)
            if (SameTextIgnoringCase(TrimBlanks(header[i]), desc.columnTable[c].header)) {
                columns[i] = c;
                any = true;
                break;
            }
    if (!any) return std::nullopt;
    return columns;
}

void AddOutcome(CTableEdit& edit, int n, CCellsOutcome outcome) {
    for (CFieldResult& r : outcome.refused)
        edit.notes.push_back(Ch(n) + ", " + ChannelFieldLabel(r.node) + ": " + Quoted(r.given) +
                             " " + SetReasonText(r.result.reason) + "; the row is not taken");
    if (!outcome.note.empty()) edit.notes.push_back(outcome.note);
    for (CFieldResult& r : outcome.results)
        edit.values.emplace_back(n, std::move(r));
}

CTableEdit PasteTabTable(CNode* root, bool pmr, int rows, const std::vector<int>& selected,
                         const std::vector<std::vector<std::string>>& lines,
                         const std::vector<int>& columns) {
    CTableEdit edit;
    std::vector<std::string> unknown;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i] < 0 && !TrimBlanks(lines[0][i]).empty())
            unknown.push_back(TrimBlanks(lines[0][i]));
    if (!unknown.empty()) {
        std::string list;
        for (const std::string& u : unknown)
            list += (list.empty() ? "" : ", ") + u;
        edit.notes.push_back("columns this sheet does not have, left aside: " + list);
    }
    edit.channels = PasteTargets(lines.size() - 1, selected, rows, &edit.dropped);
    for (std::size_t k = 0; k < edit.channels.size(); ++k) {
        const std::vector<std::string>& line = lines[std::min(k + 1, lines.size() - 1)];
        std::vector<std::pair<int, std::string>> cells;
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (columns[i] >= 0)
                cells.emplace_back(columns[i], i < line.size() ? line[i] : std::string());
        AddOutcome(edit, edit.channels[k], ApplyMchCells(root, pmr, edit.channels[k], cells));
    }
    return edit;
}

// A line of a CSV channel list that is a comment: its first field starts with "#".
bool IsCsvComment(const CCsvRecord& record) {
    return !record.fields.empty() && TrimBlanks(record.fields.front()).starts_with('#');
}

// The records of a CSV text without its comment lines.
CCsvTable WithoutComments(CCsvTable table) {
    std::erase_if(table.records, IsCsvComment);
    return table;
}

// A CSV channel list: its rows renumbered onto the target channels, then the CSV import.
CTableEdit PasteCsvTable(CNode* root, int variant, int rows, const std::vector<int>& selected,
                         const CCsvTable& table) {
    CTableEdit edit;
    std::vector<std::string> header = table.records.front().fields;
    std::size_t location = header.size();
    for (std::size_t i = 0; i < header.size(); ++i)
        if (SameTextIgnoringCase(TrimBlanks(header[i]), "Location")) location = i;
    if (location == header.size()) header.emplace_back("Location");
    std::vector<const CCsvRecord*> records;
    for (std::size_t r = 1; r < table.records.size(); ++r)
        if (!std::all_of(table.records[r].fields.begin(), table.records[r].fields.end(),
                         [](const std::string& f) { return TrimBlanks(f).empty(); }))
            records.push_back(&table.records[r]);
    const std::vector<int> targets = PasteTargets(records.size(), selected, rows, &edit.dropped);
    auto oneLine = [](std::string field) {
        std::replace_if(
            field.begin(), field.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        return field;
    };
    std::string text = CsvLine(header);
    for (std::size_t k = 0; k < targets.size(); ++k) {
        std::vector<std::string> fields = records[std::min(k, records.size() - 1)]->fields;
        // A row cut short stays short: the import skips it.
        if (location < fields.size() || fields.size() >= table.records.front().fields.size())
            fields.resize(std::max(fields.size(), location + 1));
        if (location < fields.size()) fields[location] = std::to_string(targets[k]);
        for (std::string& f : fields)
            f = oneLine(std::move(f));
        text += CsvLine(fields);
    }
    const CCsvImport import = ImportChannelCsv(root, variant, text);
    if (!import.error.empty()) {
        edit.error = import.error;
        return edit;
    }
    edit.channels = import.channels;
    for (const CCsvNote& note : import.notes) {
        // Rows are one line each from line 2: the note's row gives the channel it went to.
        const std::size_t k = static_cast<std::size_t>(std::max(note.row - 2, 0));
        std::vector<int> channels;
        for (std::size_t i = k; i < k + static_cast<std::size_t>(std::max(note.rows, 1)); ++i)
            if (i < targets.size()) channels.push_back(targets[i]);
        edit.notes.push_back((channels.empty() ? std::string("CH ?") : ChannelsText(channels)) +
                             (note.column.empty() ? ": " : ", " + note.column + ": ") + note.text +
                             (note.skipped ? "; the row is not taken" : ""));
    }
    if (import.namesLeftAside) edit.notes.emplace_back(kCsvNamesNote);
    return edit;
}

bool IsCsvChannelList(const CCsvTable& table) {
    if (!table.error.empty() || table.records.empty()) return false;
    for (const std::string& name : table.records.front().fields)
        if (SameTextIgnoringCase(TrimBlanks(name), "Frequency")) return true;
    return false;
}

} // namespace

CTableEdit PasteMchTable(CNode* root, bool pmr, int variant, int rows,
                         const std::vector<int>& selected, std::string_view text) {
    CTableEdit edit;
    if (selected.empty()) {
        edit.error = "no row is selected";
        return edit;
    }
    const std::vector<std::vector<std::string>> lines = SplitTabText(text);
    if (!lines.empty()) {
        if (const auto columns = SheetColumns(pmr, lines.front())) {
            if (lines.size() < 2) {
                edit.error = "the text holds column titles but no row";
                return edit;
            }
            return PasteTabTable(root, pmr, rows, selected, lines, *columns);
        }
    }
    const CCsvTable csv = WithoutComments(ParseCsv(text));
    if (IsCsvChannelList(csv)) {
        if (csv.records.size() < 2) {
            edit.error = "the text holds column names but no row";
            return edit;
        }
        return PasteCsvTable(root, variant, rows, selected, csv);
    }
    edit.error = "the text is no channel table: its first line must name the columns, as Copy "
                 "writes them (" +
                 ColumnTitle(pmr, 3) + ", " + ColumnTitle(pmr, 6) +
                 ", ...) or as a CSV channel list does (Location, Frequency, ...)";
    return edit;
}

std::size_t MchTableRowCount(bool pmr, std::string_view text) {
    const std::vector<std::vector<std::string>> lines = SplitTabText(text);
    if (!lines.empty() && SheetColumns(pmr, lines.front())) return lines.size() - 1;
    const CCsvTable csv = WithoutComments(ParseCsv(text));
    if (!IsCsvChannelList(csv)) return 0;
    return static_cast<std::size_t>(
        std::count_if(csv.records.begin() + 1, csv.records.end(), [](const CCsvRecord& r) {
            return std::any_of(r.fields.begin(), r.fields.end(),
                               [](const std::string& f) { return !TrimBlanks(f).empty(); });
        }));
}

// --- Fill ------------------------------------------------------------------------------------

CTableEdit FillMchDown(CNode* root, bool pmr, const std::vector<int>& channels, int column) {
    CTableEdit edit;
    if (channels.size() < 2 || MchCellKind(pmr, column) == CCellKind::None) {
        edit.error = "select two rows or more and a column that holds a channel value";
        return edit;
    }
    if (column != 3 && !IsChannelOn(root, channels.front())) {
        edit.error = Ch(channels.front()) + " is off: it holds no value to fill down";
        return edit;
    }
    const std::string value = MchCellValue(root, pmr, channels.front(), column);
    for (std::size_t k = 1; k < channels.size(); ++k) {
        edit.channels.push_back(channels[k]);
        AddOutcome(edit, channels[k], ApplyMchCells(root, pmr, channels[k], {{column, value}}));
    }
    return edit;
}

CTableEdit FillMchSeries(CNode* root, bool pmr, const std::vector<int>& channels, int column,
                         double stepKhz) {
    CTableEdit edit;
    CNode* first = channels.empty() ? nullptr : ChannelNode(root, channels.front());
    if (channels.size() < 2 || MchCellKind(pmr, column) != CCellKind::Frequency || !first) {
        edit.error = "select two rows or more on the RX or TX Frequency column";
        return edit;
    }
    if (!IsChannelOn(root, channels.front())) {
        edit.error = Ch(channels.front()) + " is off: a series starts from its frequency";
        return edit;
    }
    if (!std::isfinite(stepKhz) || std::fabs(stepKhz) > 1e6) {
        edit.error = "the step is no number of kHz a channel could take";
        return edit;
    }
    const char* node = column == 3 ? "FreqRx" : "FreqTx";
    const bool both = GetValueByName(first, "FreqRx") == GetValueByName(first, "FreqTx");
    const double start = GetValueByName(first, node);
    for (std::size_t k = 1; k < channels.size(); ++k) {
        const double hz = start + static_cast<double>(k) * stepKhz * 1000.0;
        const std::string text = FormatFixed(hz / 1e6, 6);
        std::vector<std::pair<int, std::string>> cells = {{column, text}};
        if (both) cells.emplace_back(column == 3 ? 4 : 3, text);
        edit.channels.push_back(channels[k]);
        AddOutcome(edit, channels[k], ApplyMchCells(root, pmr, channels[k], cells));
    }
    return edit;
}

double DefaultSeriesStepKhz(CNode* root, int n) {
    const long long hz = GetValueByName(ChannelNode(root, n), "FreqRx");
    for (double khz : {12.5, 7.5, 6.25, 5.0, 3.125, 2.5})
        if (hz % std::llround(khz * 1000) == 0) return khz;
    return 2.5;
}
