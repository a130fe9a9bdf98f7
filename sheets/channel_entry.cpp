#include "sheets/channel_entry.h"

#include "core/ctext.h"
#include "params/freq_nodes.h"
#include "params/node.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace {

// A list control over plain texts, for the node accessors that fill lists.
class CTextList final : public IListControl {
public:
    CListEntries entries;
    void ResetContent() override { entries = {}; }
    int AddString(const std::string& text) override {
        entries.texts.push_back(text);
        return GetCount() - 1;
    }
    int GetCount() const override { return static_cast<int>(entries.texts.size()); }
    std::string GetItemText(int index) const override {
        return index >= 0 && index < GetCount() ? entries.texts[index] : std::string();
    }
    int GetCurSel() const override { return entries.selected; }
    void SetCurSel(int index) override { entries.selected = index; }
};

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

// The entry as OK reads it: spaces out of the receive text, then the Simplex boxes.
CChannelEntry Normalized(CChannelEntry entry) {
    std::erase(entry.rxFreq, ' ');
    if (entry.freqSimplex) entry.txFreq = entry.rxFreq;
    if (entry.toneSimplex) entry.txTone = entry.rxTone;
    return entry;
}

struct CFieldLabel {
    const char* node;
    const char* label;
};
// clang-format off
constexpr CFieldLabel kFieldLabels[] = {
    {"FreqRx", "RX Frequency"},     {"FreqTx", "TX Frequency"},   {"CTonRx", "RX C.Tone"},
    {"CTonTx", "TX C.Tone"},        {"InhCh", "CH Inhibit"},      {"InhTx", "TX Inhibit"},
    {"WidNar", "Wide/Narrow"},      {"PwrSave", "PWR Save"},      {"TOT", "TOT"},
    {"RfPwr", "RF PWR"},            {"ScnLst1", "Scan"},          {"LockoutL", "Lockout"},
    {"LockoutP", "Lockout"},        {"AutoResetL", "Auto Reset"}, {"AutoResetP", "Auto Reset"},
    {"2Ton", "2Tone"},              {"LogInOfL", "Log IN/OFF"},   {"LogInOfP", "Log IN/OFF"},
    {"Moni", "Moni"},               {"Sel", "Sel"},               {"Call", "Call"},
    {"PTT", "PTT"},                 {"Mute", "CH Mute"},          {"Form", "Form"},
    {"RPT", "RPT"},                 {"STN", "STN"},               {"Id", "ID"},
    {"IdPos", "ID Pos"},
};
// clang-format on

// The frequency a text stands for when the channel shows it now for either of its frequencies:
// that frequency as it stands (a radio may hold one on no raster, which the rule for typed texts
// refuses). Null for any other text, which goes through the node's rule.
std::optional<int> PresentFrequency(CNode* ch, const std::string& text) {
    for (const char* node : {"FreqRx", "FreqTx"})
        if (const CNode* now = ch->FindChild(node); now && now->GetText() == text)
            return now->GetValue();
    return std::nullopt;
}

} // namespace

CListEntries ListEntries(CNode* channel, const char* node, int first, int last) {
    CTextList list;
    if (first > last)
        FillComboWithChoices(channel, node, list);
    else
        FillComboWithRange(channel, node, list, first, last);
    return list.entries;
}

CListEntries ToneEntries(CNode* channel, const char* node) {
    CTextList list;
    FillComboWithRange(channel, node, list, kToneOff, kToneOff);
    FillComboWithRange(channel, node, list, 0, kToneUser, false);
    return list.entries;
}

bool ToneCodeOfText(const std::string& text, const std::vector<std::string>& list, int* code) {
    if (auto it = std::find(list.begin(), list.end(), CommaAsPoint(text)); it != list.end()) {
        *code = *it == "OFF" ? kToneOff : static_cast<int>(it - list.begin()) - 1;
        return true;
    }
    std::string t = text;
    for (char& c : t)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (t.find_first_of("NI") == std::string::npos) t += 'N';
    if (t.size() != 4 || !IsOctal(t[0]) || !IsOctal(t[1]) || !IsOctal(t[2]) ||
        (t[3] != 'N' && t[3] != 'I'))
        return false;
    const int digits = (t[0] - '0') * 100 + (t[1] - '0') * 10 + (t[2] - '0');
    *code = digits + (t[3] == 'I' ? kDcsInverted : kDcsNormal);
    return true;
}

std::vector<CFieldResult> CheckChannelEntry(CNode* root, int n, const CChannelEntry& given) {
    std::vector<CFieldResult> refused;
    CNode* ch = ChannelNode(root, n);
    const CChannelEntry entry = Normalized(given);
    if (!ch || entry.rxFreq.empty()) return refused; // an emptied channel is always taken
    for (auto [node, text] : {std::pair{"FreqRx", entry.rxFreq}, {"FreqTx", entry.txFreq}}) {
        const auto* freq = dynamic_cast<const CFreqNode*>(ch->FindChild(node));
        if (!freq || PresentFrequency(ch, text)) continue;
        if (const CFreqParse p = freq->ParseFreq(text); p.refused)
            refused.push_back({node, text, CSetResult::Refused(freq, p.reason)});
    }
    return refused;
}

std::string ChannelFieldLabel(const std::string& node) {
    for (const CFieldLabel& f : kFieldLabels)
        if (node == f.node) return f.label;
    return node;
}

std::vector<CFieldResult> ApplyChannelEntry(CNode* root, int n, CChannelEntry given) {
    std::vector<CFieldResult> results;
    CNode* ch = ChannelNode(root, n);
    if (!ch) return results;
    const CChannelEntry entry = Normalized(std::move(given));
    const bool on = !entry.rxFreq.empty();
    SetValueByName(ch, "ChOn", on ? 1 : 0);
    if (!on) {
        // An emptied channel holds the blank data; nothing else of the entry matters.
        ResetChannel(root, n);
        return results;
    }
    // Both are read before either is stored: each text may show the other's present frequency.
    const std::optional<int> present[] = {PresentFrequency(ch, entry.rxFreq),
                                          PresentFrequency(ch, entry.txFreq)};
    for (int i : {0, 1}) {
        const char* node = i == 0 ? "FreqRx" : "FreqTx";
        const std::string& text = i == 0 ? entry.rxFreq : entry.txFreq;
        results.push_back(
            {node, text,
             present[i] ? SetValueByName(ch, node, *present[i]) : SetTextByName(ch, node, text)});
    }
    SetValueByName(ch, "InhCh", entry.inhCh ? 1 : 0);
    SetValueByName(ch, "InhTx", entry.inhTx ? 1 : 0);
    for (auto [node, text] : {std::pair{"CTonRx", entry.rxTone}, {"CTonTx", entry.txTone}}) {
        int code = 0;
        const bool converts = text.size() > 2 && ToneCodeOfText(text, entry.toneList, &code);
        results.push_back({node, text,
                           converts
                               ? SetValueByName(ch, node, code)
                               : CSetResult::Refused(ch->FindChild(node), CSetReason::NotAChoice)});
    }
    for (const auto& [node, on] : entry.checks)
        SetValueByName(ch, node, on ? 1 : 0);
    for (const auto& [node, text] : entry.lists)
        if (!text.empty()) results.push_back({node, text, SetTextByName(ch, node, text)});
    return results;
}
