#include "sheets/channel_ops.h"

#include "core/ctext.h"
#include "params/freq_nodes.h"
#include "params/node.h"
#include "params/node_access.h"
#include "sheets/channel_entry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

const char* const kDeleteChannelQuestion = "Delete CH ?";
const char* const kChannelOverflowQuestion = "CH overflow\nLast channel will be deleted.";
const char* const kAttrPrioA = "PrioA";
const char* const kAttrPrioB = "PrioB";
const char* const kAttrEmr = "Emr";
const char* const kLmrClipboardFormat = "NQ-Z30LMRClipboadData";
const char* const kPmrClipboardFormat = "NQ-Z30PMRClipboadData";

namespace {

// The record's layout: two text fields, then one integer field per node.
struct CTextField {
    const char* node;
    std::size_t offset;
    std::size_t size;
};
struct CIntField {
    const char* node;
    std::size_t offset;
};

constexpr CTextField kRecordTexts[] = {{"FreqRx", 0, 50}, {"FreqTx", 50, 58}};
// clang-format off
constexpr CIntField kRecordInts[] = {
    {"InhCh", 108},      {"WidNar", 112},     {"TOT", 116},        {"PwrSave", 120},
    {"ScnLst1", 124},    // 128 to 147 not written
    {"InhTx", 148},      {"CTonRx", 152},     {"CTonTx", 156},     {"2Ton", 160},
    {"AutoResetP", 164}, {"AutoResetL", 168}, {"LogInOfP", 172},   {"LogInOfL", 176},
    {"LockoutP", 180},   {"LockoutL", 184},   {"RfPwr", 188},      {"ChOn", 192},
    {"Moni", 196},       {"Sel", 200},        {"Call", 204},       {"PTT", 208},
    {"Mute", 212},       {"Form", 216},       {"RPT", 220},        {"RPTLng", 224},
    {"STN", 228},        {"STNLng", 232},     {"Id", 236},         {"IdLng", 240},
    {"IdPos", 244},      {"RxCNo1", 248},     {"RxCNo2", 252},     {"RxCNo3", 256},
    // 260 to 279 not written
};
// clang-format on

CNode* Mch(CNode* root) { return root ? root->FindChild("Mch") : nullptr; }

// The fields a move copies: the record's fields.
template <class F> void ForEachField(F f) {
    for (const CTextField& t : kRecordTexts)
        f(t.node);
    for (const CIntField& i : kRecordInts)
        f(i.node);
}

// An attribute on a channel in (lo, hi] moves by step.
void MoveAttributes(CNode* root, int lo, int hi, int step) {
    for (const char* attribute : {kAttrPrioA, kAttrPrioB, kAttrEmr}) {
        const int v = ChannelAttribute(root, attribute);
        if (v > lo && v <= hi) SetChannelAttribute(root, attribute, v + step);
    }
}

// The frequency a record's text gives through the node's rule (onto the raster, into range,
// with the adjustment made). A text on no raster is a frequency the source channel held as it
// stands (the radio keeps whole kHz, and a radio may hold one on no raster): it comes across
// unchanged. Refused for a text that is no frequency of the node.
CFreqParse RecordFrequency(const CFreqNode& node, const std::string& text) {
    const CFreqParse p = node.ParseFreq(text);
    if (!p.refused || p.reason != CSetReason::OffRaster) return p;
    double value = 0;
    if (!ParseCDouble(text, &value)) return p;
    const double code = std::round(value * node.GetDivisor());
    if (code < node.GetMin() || code > node.GetMax()) return p;
    return {static_cast<int>(code), CSetReason::None, false};
}

// Length of the zero-terminated text in a field; the field's size when it has no end.
std::size_t TextLength(std::span<const std::uint8_t> bytes, const CTextField& f) {
    const auto* begin = bytes.data() + f.offset;
    return static_cast<std::size_t>(std::find(begin, begin + f.size, 0) - begin);
}

} // namespace

CNode* ChannelNode(CNode* root, int n) {
    CNode* mch = Mch(root);
    return mch && n >= 0 ? mch->FindChild("CH" + std::to_string(n)) : nullptr;
}

bool IsChannelOn(CNode* root, int n) { return GetValueByName(ChannelNode(root, n), "ChOn") != 0; }

int ChannelAttribute(CNode* root, const char* attribute) {
    return GetValueByName(Mch(root), attribute);
}

void SetChannelAttribute(CNode* root, const char* attribute, int n) {
    SetValueByName(Mch(root), attribute, n);
}

void CopyChannel(CNode* root, int from, int to) {
    CNode* source = ChannelNode(root, from);
    CNode* target = ChannelNode(root, to);
    if (!source || !target || source == target) return;
    // By code: a move keeps every frequency exactly as it was.
    ForEachField(
        [&](const char* name) { SetValueByName(target, name, GetValueByName(source, name)); });
}

void ResetChannel(CNode* root, int n) {
    if (n >= 1) CopyChannel(root, 0, n);
}

bool DeleteChannel(CNode* root, int n, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (n < 1 || n > rows || !ChannelNode(root, rows)) return false;
    MoveAttributes(root, n, rows, -1);
    for (int c = n; c < rows; ++c)
        CopyChannel(root, c + 1, c);
    ResetChannel(root, rows);
    return true;
}

bool InsertChannel(CNode* root, int n, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (n < 1 || n > rows || !ChannelNode(root, rows)) return false;
    MoveAttributes(root, n - 1, rows - 1, +1);
    for (int c = rows; c > n; --c)
        CopyChannel(root, c - 1, c);
    ResetChannel(root, n);
    return true;
}

namespace {
// The channels in descending order, each once; false when one lies outside 1..rows.
bool LastFirst(std::vector<int>& channels, int rows) {
    std::sort(channels.begin(), channels.end(), std::greater<>());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    return !channels.empty() && channels.front() <= rows && channels.back() >= 1;
}
} // namespace

bool DeleteChannels(CNode* root, std::vector<int> channels, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (!LastFirst(channels, rows) || !ChannelNode(root, rows)) return false;
    for (int n : channels)
        DeleteChannel(root, n, rows);
    return true;
}

bool InsertChannels(CNode* root, std::vector<int> channels, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (!LastFirst(channels, rows) || !ChannelNode(root, rows)) return false;
    // A run of channels gets as many blanks before its first; from the last run up.
    for (std::size_t i = 0; i < channels.size();) {
        std::size_t j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] - 1)
            ++j;
        for (std::size_t k = i; k <= j; ++k)
            InsertChannel(root, channels[j], rows);
        i = j + 1;
    }
    return true;
}

std::string ChannelsText(const std::vector<int>& channels) {
    if (channels.empty()) return {};
    std::vector<int> sorted = channels;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.size() == 1) return "CH " + std::to_string(sorted[0]);
    if (sorted.back() - sorted.front() + 1 == static_cast<int>(sorted.size()))
        return "CH " + std::to_string(sorted.front()) + "-" + std::to_string(sorted.back());
    return std::to_string(sorted.size()) + " CH";
}

std::vector<int> PasteTargets(std::size_t k, const std::vector<int>& selected, int rows,
                              int* dropped) {
    *dropped = 0;
    if (k == 0 || selected.empty()) return {};
    if (k == 1 && selected.size() > 1) return selected;
    std::vector<int> targets;
    for (std::size_t i = 0; i < k; ++i) {
        const long long n = selected.front() + static_cast<long long>(i);
        if (n > rows)
            ++*dropped;
        else
            targets.push_back(static_cast<int>(n));
    }
    return targets;
}

CChannelRecord PackChannelRecord(CNode* root, int n) {
    CChannelRecord record{};
    CNode* channel = ChannelNode(root, n);
    for (const CTextField& f : kRecordTexts) {
        const std::string text = GetTextByName(channel, f.node);
        std::memcpy(record.data() + f.offset, text.data(), std::min(text.size(), f.size - 1));
    }
    for (const CIntField& f : kRecordInts) {
        const auto v = static_cast<std::uint32_t>(GetValueByName(channel, f.node));
        for (int b = 0; b < 4; ++b)
            record[f.offset + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return record;
}

bool IsChannelRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kChannelRecordSize) return false;
    for (const CTextField& f : kRecordTexts)
        if (TextLength(bytes, f) >= f.size) return false;
    return true;
}

std::vector<std::uint8_t> PackChannelRecords(CNode* root, const std::vector<int>& channels) {
    std::vector<std::uint8_t> bytes;
    for (int n : channels) {
        const CChannelRecord record = PackChannelRecord(root, n);
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

std::size_t ChannelRecordCount(std::span<const std::uint8_t> bytes) {
    std::size_t count = 0;
    while ((count + 1) * kChannelRecordSize <= bytes.size() &&
           IsChannelRecord(bytes.subspan(count * kChannelRecordSize, kChannelRecordSize)))
        ++count;
    return count;
}

bool UnpackChannelRecord(CNode* root, int n, std::span<const std::uint8_t> bytes,
                         std::vector<CFieldResult>* results) {
    CNode* channel = ChannelNode(root, n);
    if (!channel || !IsChannelRecord(bytes)) return false;
    // Both frequencies first: a record without them changes nothing.
    CFreqParse parsed[std::size(kRecordTexts)] = {};
    std::string texts[std::size(kRecordTexts)];
    for (std::size_t i = 0; i < std::size(kRecordTexts); ++i) {
        const CTextField& f = kRecordTexts[i];
        const auto* node = dynamic_cast<const CFreqNode*>(channel->FindChild(f.node));
        const auto* chars = reinterpret_cast<const char*>(bytes.data() + f.offset);
        texts[i].assign(chars, TextLength(bytes, f));
        parsed[i] =
            node ? RecordFrequency(*node, texts[i]) : CFreqParse{0, CSetReason::UnknownPath, true};
        if (parsed[i].refused) {
            if (results)
                results->push_back({f.node, texts[i], CSetResult::Refused(node, parsed[i].reason)});
            return false;
        }
    }
    for (std::size_t i = 0; i < std::size(kRecordTexts); ++i) {
        CSetResult r = SetValueByName(channel, kRecordTexts[i].node, parsed[i].code)
                           .ChangedBefore(parsed[i].reason);
        if (results) results->push_back({kRecordTexts[i].node, std::move(texts[i]), std::move(r)});
    }
    for (const CIntField& f : kRecordInts) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(bytes[f.offset + b]) << (8 * b);
        const auto code = static_cast<std::int32_t>(v);
        CSetResult r = SetValueByName(channel, f.node, code);
        if (results && r.status != CSetStatus::Stored)
            results->push_back({f.node, std::to_string(code), std::move(r)});
    }
    return true;
}

namespace {

struct CVerbName {
    CChannelVerb verb;
    const char* word;
    const char* action; // in the edit's name
    const char* done;   // in the line that reports it
    int channels;       // the channel numbers it takes
};
constexpr CVerbName kVerbs[] = {
    {CChannelVerb::Clear, "clear", "Clear", "Cleared", 1},
    {CChannelVerb::Delete, "delete", "Delete", "Deleted", 1},
    {CChannelVerb::Insert, "insert", "Insert", "Inserted a blank", 1},
    {CChannelVerb::Copy, "copy", "Copy", "Copied", 2},
};

const CVerbName& NameOf(CChannelVerb verb) {
    for (const CVerbName& v : kVerbs)
        if (v.verb == verb) return v;
    return kVerbs[0];
}

// A channel number: decimal digits only, small enough for any radio.
bool ParseChannelNumber(const std::string& word, int* n) {
    if (word.empty() || word.size() > 4 ||
        !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    *n = std::stoi(word);
    return true;
}

// A channel number or a run "3-5" (its end not before its start); last 0 for one channel.
bool ParseChannelRun(const std::string& word, int* n, int* last) {
    const std::size_t dash = word.find('-');
    if (dash == std::string::npos) return ParseChannelNumber(word, n);
    return ParseChannelNumber(word.substr(0, dash), n) &&
           ParseChannelNumber(word.substr(dash + 1), last) && *last >= *n;
}

std::string ChText(int n) { return "CH " + std::to_string(n); }

std::vector<int> RunOf(const CChannelCommand& c) {
    std::vector<int> run;
    for (int i = 0; i < c.Count(); ++i)
        run.push_back(c.channel + i);
    return run;
}

} // namespace

bool ParseChannelCommand(const std::vector<std::string>& words, CChannelCommand* command,
                         std::string* error) {
    const CVerbName* verb = nullptr;
    for (const CVerbName& v : kVerbs)
        if (!words.empty() && words[0] == v.word) verb = &v;
    if (!verb) {
        *error = "Unknown channel operation" + (words.empty() ? "" : " \"" + words[0] + "\"") +
                 "; use clear N, delete N, insert N or copy FROM TO.";
        return false;
    }
    const std::size_t given = words.size() - 1;
    if (given != static_cast<std::size_t>(verb->channels)) {
        *error = std::string(verb->word) + (verb->channels == 2 ? " takes two channel numbers."
                                                                : " takes one channel number.");
        return false;
    }
    CChannelCommand c;
    c.verb = verb->verb;
    int* targets[] = {&c.channel, &c.to};
    for (std::size_t i = 0; i < given; ++i) {
        if (i == 0 ? !ParseChannelRun(words[1], &c.channel, &c.last)
                   : !ParseChannelNumber(words[i + 1], targets[i])) {
            *error = "\"" + words[i + 1] + "\" is no channel number.";
            return false;
        }
    }
    *command = c;
    return true;
}

bool RunChannelCommand(CNode* root, const CChannelCommand& command, int rows, std::string* error) {
    rows = std::min(rows, kMemoryChannels);
    const bool copy = command.verb == CChannelVerb::Copy;
    const std::vector<int> run = RunOf(command);
    std::vector<int> named = run;
    if (copy) named.insert(named.end(), {command.to, command.to + command.Count() - 1});
    for (int n : named) {
        if (n < 1 || n > rows || !ChannelNode(root, n)) {
            *error = ChText(n) + " does not exist: this radio has channels 1 to " +
                     std::to_string(rows) + ".";
            return false;
        }
    }
    switch (command.verb) {
    case CChannelVerb::Clear:
        for (int n : run)
            ResetChannel(root, n);
        return true;
    case CChannelVerb::Delete:
        return DeleteChannels(root, run, rows);
    case CChannelVerb::Insert:
        return InsertChannels(root, run, rows);
    case CChannelVerb::Copy: {
        // Every record taken before any is stored: a run may overlap its target.
        const std::vector<std::uint8_t> records = PackChannelRecords(root, run);
        const std::span<const std::uint8_t> all(records);
        for (int i = 0; i < command.Count(); ++i) {
            const auto one =
                all.subspan(static_cast<std::size_t>(i) * kChannelRecordSize, kChannelRecordSize);
            if (!UnpackChannelRecord(root, command.to + i, one)) {
                *error = ChText(command.channel + i) + " holds no frequency that can be copied.";
                return false;
            }
        }
        return true;
    }
    }
    return false;
}

namespace {

// "<verb> CH n" (or a run "CH 3-5"), and " to CH m" for a copy.
std::string Phrase(const char* verb, const CChannelCommand& command) {
    std::string text = std::string(verb) + " " + ChannelsText(RunOf(command));
    if (command.verb == CChannelVerb::Copy) text += " to " + ChText(command.to);
    return text;
}

} // namespace

std::string ChannelCommandLabel(const CChannelCommand& command) {
    return Phrase(NameOf(command.verb).action, command);
}

std::string ChannelCommandDoneText(const CChannelCommand& command) {
    return Phrase(NameOf(command.verb).done, command) + ".";
}
