#include "params/node_access.h"

#include "core/ctext.h"
#include "params/value_nodes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace {
CNode* g_activeRoot = nullptr;

CNode* Child(CNode* parent, const std::string& name) {
    return parent ? parent->FindChild(name) : nullptr;
}

void SelectText(IListControl& combo, const std::string& text) {
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetItemText(i) == text) {
            combo.SetCurSel(i);
            return;
        }
}

std::string SelectedText(const IListControl& combo) {
    const int sel = combo.GetCurSel();
    return sel >= 0 ? combo.GetItemText(sel) : std::string();
}
} // namespace

const char* const kPrintableChars =
    " !\"#$%&'()*+,-./"
    "0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
const char* const kNumericChars = "0123456789.";

void SetActiveRoot(CNode* root) { g_activeRoot = root; }
CNode* GetActiveRoot() { return g_activeRoot; }

CNode* GetNode(const std::string& path) { return GetNode(g_activeRoot, path); }

CNode* GetNode(CNode* root, const std::string& path) {
    CNode* node = root;
    if (!node || path.empty()) return node;
    std::size_t start = 0;
    while (node) {
        const std::size_t dot = path.find('.', start);
        node = node->FindChild(path.substr(start, dot == std::string::npos ? dot : dot - start));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return node;
}

bool SplitChannelPath(std::string_view path, int* channel, std::string_view* field) {
    constexpr std::string_view kPrefix = "Mch.CH";
    if (path.substr(0, kPrefix.size()) != kPrefix) return false;
    std::string_view rest = path.substr(kPrefix.size());
    const std::string_view number = rest.substr(0, rest.find_first_not_of("0123456789"));
    if (number.empty() || number.size() > 2) return false;
    rest.remove_prefix(number.size());
    if (!rest.empty() && rest.front() != '.') return false;
    *channel = std::stoi(std::string(number));
    *field = rest.empty() ? rest : rest.substr(1);
    return true;
}

CSetResult SetValueByName(CNode* parent, const std::string& name, int code) {
    CNode* c = Child(parent, name);
    return c ? c->SetValue(code) : CSetResult::Refused(nullptr, CSetReason::UnknownPath);
}

CSetResult SetTextByName(CNode* parent, const std::string& name, const std::string& text) {
    CNode* c = Child(parent, name);
    return c ? c->SetText(text) : CSetResult::Refused(nullptr, CSetReason::UnknownPath);
}

int GetValueByName(CNode* parent, const std::string& name) {
    CNode* c = Child(parent, name);
    return c ? c->GetValue() : 0;
}

std::string GetTextByName(CNode* parent, const std::string& name) {
    CNode* c = Child(parent, name);
    return c ? c->GetText() : std::string();
}

CSetResult SetFromCombo(CNode* parent, const std::string& name, const IListControl& combo) {
    CNode* c = Child(parent, name);
    if (!c) return CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    if (combo.GetCurSel() < 0) return CSetResult::Refused(c, CSetReason::NotAChoice);
    return c->SetText(SelectedText(combo));
}

void FillComboWithChoices(CNode* parent, const std::string& name, IListControl& combo) {
    CNode* c = Child(parent, name);
    if (!c) return;
    combo.ResetContent();
    if (auto* choices = dynamic_cast<CChoiceValue*>(c))
        for (const CChoice& ch : choices->Choices())
            combo.AddString(ch.text);
    SelectText(combo, c->GetText());
}

void FillComboWithRange(CNode* parent, const std::string& name, IListControl& combo, int first,
                        int last, bool empty) {
    CNode* c = Child(parent, name);
    if (!c) return;
    const int saved = c->GetValue();
    if (empty) combo.ResetContent();
    for (long long v = first; v <= last; ++v) {
        c->SetValue(static_cast<int>(v));
        const std::string t = c->GetText();
        if (!t.empty()) combo.AddString(t);
    }
    c->SetValue(saved);
    SelectText(combo, c->GetText());
}

void FillComboWithBit(CNode* parent, const std::string& name, IListControl& combo) {
    FillComboWithRange(parent, name, combo, 0, 1, true);
}

CSetResult SetStringByName(CNode* parent, const std::string& name, const std::string& text) {
    CNode* c = Child(parent, name);
    if (!c) return CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    auto* s = dynamic_cast<CStringNode*>(c);
    return s ? s->SetString(text) : CSetResult::Refused(c, CSetReason::NoValue);
}

std::string GetStringByName(CNode* parent, const std::string& name) {
    auto* s = dynamic_cast<CStringNode*>(Child(parent, name));
    return s ? s->GetString() : std::string();
}

CSetResult SetStringFromCombo(CNode* parent, const std::string& name, const IListControl& combo) {
    return SetStringByName(parent, name, SelectedText(combo));
}

bool KeepAllowedChars(std::string& text, const std::string& allowed) {
    std::string kept;
    kept.reserve(text.size());
    for (char ch : text)
        if (allowed.find(ch) != std::string::npos) kept.push_back(ch);
    const bool removed = kept.size() != text.size();
    text.swap(kept);
    return removed;
}

bool KeepPrintableChars(std::string& text) { return KeepAllowedChars(text, kPrintableChars); }

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

std::string SubstituteChars(const std::string& text, const std::string& set,
                            const std::string& replacement) {
    std::string out;
    for (char ch : text) {
        if (set.find(ch) != std::string::npos)
            out += replacement;
        else
            out.push_back(ch);
    }
    return out;
}

long long ScaledDecimal(const std::string& text, int scale) {
    double x = 0;
    if (!ParseCDouble(text, &x) || !std::isfinite(x)) return 0;
    const double tenth = std::floor(10.0 * scale * x + 0.5);
    constexpr double limit = static_cast<double>(std::numeric_limits<long long>::max() / 2);
    if (tenth > limit || tenth < -limit)
        return tenth > 0 ? static_cast<long long>(limit) / 10 : -static_cast<long long>(limit) / 10;
    return static_cast<long long>(tenth) / 10;
}
