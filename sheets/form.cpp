#include "sheets/form.h"

#include "clone/model_info.h"
#include "core/ctext.h"
#include "params/freq_nodes.h"
#include "params/node.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <algorithm>
#include <climits>
#include <cmath>

const char* const kDtmfChars = "ABCDEF0123456789*# ";
const char* const kCheckOn = "ON";
const char* const kCheckOff = "OFF";

namespace {

using K = CFieldKind;

constexpr int kEvenTimerMin = 2;
constexpr int kEvenTimerMax = 30;

bool IsChoice(CFieldKind kind) { return kind == K::List || kind == K::KeyList || kind == K::Radio; }

// Decimals of a value shown divided by scale.
int DecimalsOf(int scale) {
    int decimals = 0;
    for (int s = scale; s >= 10; s /= 10)
        ++decimals;
    return decimals;
}

// Whether the form stores the field where it is bound: a field of the other family, or one the
// special row lacks, it never writes.
bool FieldUsable(const CBoundForm& bound, const CFieldDesc& field) {
    return FieldEnabled(field, bound.variant) && !(bound.specialRow && field.notOnSpecialRow);
}

// The list entries of the codes first..last (or the choices) of the node at path.
CListEntries EntriesOf(CNode* root, const std::string& path, int first, int last) {
    const std::size_t dot = path.rfind('.');
    CNode* parent = dot == std::string::npos ? root : GetNode(root, path.substr(0, dot));
    return ListEntries(parent, path.substr(dot == std::string::npos ? 0 : dot + 1).c_str(), first,
                       last);
}

std::string KeyListNode(int variant) {
    return IsPmrVariant(variant) ? "Key_Conv_PMR" : "Key_Conv_LMR";
}

// Whether a typed text means the value a number field now shows.
bool MeansShown(const CFieldDesc& field, const std::string& given, int value) {
    const std::string typed = TrimBlanks(given);
    if (typed == NumberText(field.kind, field.scale, value)) return true;
    if (field.kind == K::Timer && value == 0 && SameTextIgnoringCase(typed, "OFF")) return true;
    double x = 0;
    if (!IsWholeCNumber(typed) || !ParseCDouble(typed, &x)) return false;
    return std::fabs(x * field.scale - value) < 1e-6 * std::max(1.0, std::fabs(x * field.scale));
}

CSetResult ApplyNumber(CNode* node, const CFieldDesc& field, const std::string& given) {
    if (IsUnboundedCNumber(given, field.scale))
        return CSetResult::Refused(node, CSetReason::NotANumber);
    CSetResult r = node->SetValue(NumberCode(field.scale, given));
    const int value = node->GetValue();
    if (r.Taken() && !MeansShown(field, given, value)) {
        r.status = CSetStatus::Adjusted;
        if (r.reason != CSetReason::Clamped)
            r.reason = IsWholeCNumber(given) ? CSetReason::Rounded : CSetReason::NotANumber;
    }
    if (r.Taken()) r.stored = NumberText(field.kind, field.scale, value);
    return r;
}

// A string field: the characters the field allows, at most max of them; trailing blanks count
// as stored (the radio pads with spaces).
CSetResult ApplyString(CNode* node, const std::string& given, const std::string& allowed,
                       std::size_t max) {
    std::string text = given;
    bool changed = KeepAllowedChars(text, allowed);
    if (text.size() > max) {
        text.resize(max);
        changed = true;
    }
    CSetResult r = node->SetText(text);
    if (r.status == CSetStatus::Adjusted && r.reason == CSetReason::Trimmed) {
        r.status = CSetStatus::Stored;
        r.reason = CSetReason::None;
    }
    if (changed && r.Taken()) {
        r.status = CSetStatus::Adjusted;
        r.reason = CSetReason::ImageForm;
    }
    return r;
}

// The node's rule on the typed text; a value that ends where the typed number stands (a tone
// clamped back into the range after its snap) counts as stored.
CSetResult ApplyFrequency(CNode* node, const std::string& given) {
    CSetResult r = node->SetText(given);
    const auto* freq = dynamic_cast<const CFreqNode*>(node);
    double x = 0;
    if (r.status == CSetStatus::Adjusted && freq && IsWholeCNumber(given) &&
        ParseCDouble(given, &x) && std::fabs(x * freq->GetDivisor() - freq->GetValue()) < 0.5) {
        r.status = CSetStatus::Stored;
        r.reason = CSetReason::None;
    }
    return r;
}

CSetResult StoreField(CNode* root, CNode* node, const CFieldDesc& field, const std::string& text) {
    if (!node) return CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    switch (field.kind) {
    case K::Timer:
    case K::Whole:
    case K::Count:
    case K::Factor:
        return ApplyNumber(node, field, text);
    case K::Frequency:
        return ApplyFrequency(node, text);
    case K::Comment:
        return ApplyString(node, text, kPrintableChars, kCommentChars);
    case K::DtmfCode:
        return ApplyString(node, text, kDtmfChars, kDtmfCodeChars);
    case K::Seconds:
    case K::EvenSeconds:
        return SetTimerText(node, text, field.scale, field.kind == K::EvenSeconds);
    case K::Code:
        return node->SetText(ExpandGroupTone(text, GroupToneText(root)));
    case K::Check:
        return node->SetValue(text == kCheckOn ? 1 : 0);
    case K::KeyList:
        return node->SetText(KeyStoreText(text));
    default:
        return node->SetText(text);
    }
}

// The field of the forms whose path from the root is path, with its form.
const CFieldDesc* FindField(std::span<const CBoundForm> forms, const std::string& path,
                            const CBoundForm** bound) {
    for (const CBoundForm& b : forms)
        for (const CFieldDesc& field : b.form->fields)
            if (*field.path && FieldPath(b, field) == path) {
                *bound = &b;
                return &field;
            }
    return nullptr;
}

void Append(std::string& list, const char* separator, const std::string& item) {
    list += (list.empty() ? "" : separator) + item;
}

} // namespace

CBoundForm BindForm(const CFormDesc& form, int variant) { return {&form, form.node, variant}; }

// --- Fields --------------------------------------------------------------------------------------

std::string FieldPath(const CBoundForm& bound, const CFieldDesc& field) {
    return bound.base.empty() ? std::string(field.path) : bound.base + "." + field.path;
}

CNode* FieldNode(CNode* root, const CBoundForm& bound, const CFieldDesc& field) {
    return *field.path ? GetNode(root, FieldPath(bound, field)) : nullptr;
}

std::string FieldLabel(const CFieldDesc& field, int variant) {
    return !IsPmrVariant(variant) && *field.lmrLabel ? field.lmrLabel : field.label;
}

bool FieldEnabled(const CFieldDesc& field, int variant) {
    switch (field.use) {
    case CFieldUse::PmrOnly:
        return IsPmrVariant(variant);
    case CFieldUse::LmrOnly:
        return !IsPmrVariant(variant);
    case CFieldUse::Both:
        break;
    }
    return true;
}

std::string FieldText(CNode* root, const CBoundForm& bound, const CFieldDesc& field) {
    CNode* node = FieldNode(root, bound, field);
    if (!node) return {};
    std::string text;
    switch (field.kind) {
    case K::Timer:
    case K::Whole:
    case K::Count:
    case K::Factor:
    case K::Seconds:
    case K::EvenSeconds:
        return NumberText(field.kind, field.scale, node->GetValue());
    case K::Comment:
        text = node->GetText();
        KeepPrintableChars(text);
        return text;
    case K::DtmfCode:
        text = node->GetText();
        KeepAllowedChars(text, kDtmfChars);
        return text;
    case K::Check:
        return node->GetValue() != 0 ? kCheckOn : kCheckOff;
    case K::KeyList: {
        const CListEntries list = FieldEntries(root, bound, field);
        return list.selected >= 0 ? list.texts[list.selected] : std::string();
    }
    default:
        return node->GetText();
    }
}

CListEntries FieldEntries(CNode* root, const CBoundForm& bound, const CFieldDesc& field) {
    const std::string path = FieldPath(bound, field);
    switch (field.kind) {
    case K::Radio:
        return EntriesOf(root, path, 0, 1);
    case K::List:
        if (!*field.source) return EntriesOf(root, path, field.first, field.last);
        break;
    case K::KeyList: {
        CListEntries list;
        const auto* keys = dynamic_cast<const CChoiceValue*>(
            GetNode(root, bound.base + '.' + KeyListNode(bound.variant)));
        if (keys)
            for (const CChoice& c : keys->Choices())
                list.texts.push_back(c.text);
        if (const CNode* node = GetNode(root, path))
            list.selected = KeyEntryIndex(list.texts, node->GetText());
        return list;
    }
    default:
        return {};
    }
    // Texts of another node: the entry showing this node's text is the selected one.
    const std::string source =
        bound.base.empty() ? std::string(field.source) : bound.base + "." + field.source;
    CListEntries entries = EntriesOf(root, source, field.first, field.last);
    const CNode* node = GetNode(root, path);
    const auto it = std::find(entries.texts.begin(), entries.texts.end(),
                              node ? node->GetText() : std::string());
    entries.selected =
        it == entries.texts.end() ? -1 : static_cast<int>(it - entries.texts.begin());
    return entries;
}

std::string FieldToolTip(CNode* root, const CBoundForm& bound, const CFieldDesc& field) {
    const CNode* node = FieldNode(root, bound, field);
    switch (field.kind) {
    case K::Comment:
        return "Up to " + std::to_string(kCommentChars) + " characters, space to ~";
    case K::DtmfCode:
        return "Up to " + std::to_string(kDtmfCodeChars) + " DTMF digits: 0 to 9, A to F, * and #";
    case K::Code:
        return "Up to " + std::to_string(field.maxLength) + " of " + field.allowed;
    case K::Timer:
        return RangeToolTip(node, 1, field.unit, true);
    case K::Whole:
    case K::Count:
    case K::Frequency:
    case K::Tone:
        return RangeToolTip(node, 1, field.unit);
    case K::Factor:
    case K::Seconds:
        return RangeToolTip(node, field.scale, field.unit);
    case K::EvenSeconds:
        return RangeToolTip(node, field.scale, field.unit) + "; in steps of 0.02 s";
    default:
        return {};
    }
}

// --- The whole form ------------------------------------------------------------------------------

CFormState ReadForm(CNode* root, const CBoundForm& bound) {
    CFormState state;
    for (const CFieldDesc& field : bound.form->fields) {
        const bool lacked = bound.specialRow && field.notOnSpecialRow;
        state.enabled.push_back(FieldUsable(bound, field));
        state.texts.push_back(lacked ? std::string() : FieldText(root, bound, field));
    }
    return state;
}

std::vector<CFieldResult> ApplyForm(CNode* root, const CBoundForm& bound, const CFormState& state) {
    std::vector<CFieldResult> results;
    const std::span<const CFieldDesc> fields = bound.form->fields;
    for (std::size_t i = 0; i < fields.size() && i < state.texts.size(); ++i) {
        const CFieldDesc& field = fields[i];
        const std::string& text = state.texts[i];
        if (field.kind == K::Lock || !FieldUsable(bound, field) ||
            (i < state.enabled.size() && !state.enabled[i]))
            continue;
        if (IsChoice(field.kind) && text.empty()) continue; // nothing chosen: the value stays
        const std::string path = FieldPath(bound, field);
        CNode* node = GetNode(root, path);
        if (field.keepWhenEmpty && node && text.empty()) {
            results.push_back({path, text, CSetResult::Refused(node, CSetReason::Empty)});
            continue;
        }
        results.push_back({path, text, StoreField(root, node, field, text)});
    }
    return results;
}

std::string FormOutcomeText(CNode* root, std::span<const CBoundForm> forms,
                            const std::string& where, const std::vector<CFieldResult>& results) {
    const bool page = forms.empty() || forms[0].form->style == CFormStyle::Page;
    std::string adjusted, refused, phrases;
    for (const CFieldResult& r : results) {
        if (r.result.status == CSetStatus::Stored) continue;
        const CBoundForm* bound = nullptr;
        const CFieldDesc* field = FindField(forms, r.node, &bound);
        const std::string name = !field         ? r.node
                                 : *field->name ? field->name
                                                : FieldLabel(*field, bound->variant);
        // What the form shows now; a page tells a value the image keeps in another form as the
        // image keeps it.
        std::string shown = !field || (page && r.result.reason == CSetReason::ImageForm)
                                ? r.result.stored
                                : FieldText(root, *bound, *field);
        shown = CompactNumber(shown);
        if (field && *field->unit && (!page || IsWholeCNumber(shown)))
            shown += std::string(" ") + field->unit;
        if (!page)
            Append(phrases, "; ", OutcomePhrase(name, r.given, r.result, shown));
        else if (r.result.status == CSetStatus::Adjusted)
            Append(adjusted, ", ", name + " " + shown);
        else
            Append(
                refused, ", ",
                name + ": " +
                    (r.result.detail.empty() ? SetReasonText(r.result.reason) : r.result.detail));
    }
    // An editor's line starts with a blank, as the sheets' other status texts do.
    if (!page) return phrases.empty() ? phrases : " " + where + ": " + phrases;
    std::string text;
    if (!adjusted.empty()) text = "Adjusted: " + adjusted;
    if (!refused.empty()) Append(text, "; ", "Not taken: " + refused);
    return text;
}

std::vector<CFormCell> FormCells(CNode* root, const CBoundForm& bound) {
    const CFormState state = ReadForm(root, bound);
    std::vector<CFormCell> cells;
    const std::span<const CFieldDesc> fields = bound.form->fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const CFieldDesc& field = fields[i];
        if (field.kind == K::Lock) continue;
        std::string value = state.texts[i];
        if (field.kind == K::Check)
            if (const CNode* node = FieldNode(root, bound, field); node && !node->GetText().empty())
                value = node->GetText();
        cells.push_back({field.group, field.subgroup, FieldLabel(field, bound.variant), value});
    }
    return cells;
}

// --- Rules of the texts --------------------------------------------------------------------------

std::string NumberText(CFieldKind kind, int scale, int value) {
    switch (kind) {
    case K::Timer:
        return value == 0 ? "OFF" : std::to_string(value) + ".000";
    case K::Whole:
        return std::to_string(value) + ".000";
    case K::Factor:
    case K::Seconds:
    case K::EvenSeconds:
        return TimerText(value, scale);
    default:
        return std::to_string(value);
    }
}

int NumberCode(int scale, const std::string& text) {
    return static_cast<int>(std::clamp<long long>(ScaledDecimal(text, scale), INT_MIN, INT_MAX));
}

std::string TimerText(int value, int scale) {
    return FormatFixed(static_cast<double>(value) / (scale > 0 ? scale : 1), 3);
}

long long TimerValue(const std::string& text, int scale, bool even) {
    long long value = ScaledDecimal(text, scale);
    if (even) value = std::clamp<long long>(value, kEvenTimerMin, kEvenTimerMax) & ~1LL;
    return value;
}

CSetResult SetTimerText(CNode* node, const std::string& text, int scale, bool even) {
    if (!node) return CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    if (IsUnboundedCNumber(text, scale)) return CSetResult::Refused(node, CSetReason::NotANumber);
    const long long wanted = TimerValue(text, scale, even);
    CSetResult r =
        node->SetValue(static_cast<int>(std::clamp<long long>(wanted, INT_MIN, INT_MAX)));
    if (!r.Taken()) return r;
    const int held = node->GetValue();
    double typed = 0;
    const bool asTyped = IsWholeCNumber(text) && ParseCDouble(text, &typed) &&
                         std::fabs(typed * scale - held) < 1e-6;
    if (asTyped) return r;
    if (r.status != CSetStatus::Adjusted) {
        const long long raw = ScaledDecimal(text, scale);
        r.reason = even && (raw < kEvenTimerMin || raw > kEvenTimerMax) ? CSetReason::Clamped
                                                                        : CSetReason::Rounded;
    }
    r.status = CSetStatus::Adjusted;
    r.stored = TimerText(held, scale);
    return r;
}

std::string RangeToolTip(const CNode* node, int scale, const char* unit, bool offZero) {
    const std::string units = *unit ? std::string(" ") + unit : std::string();
    if (const auto* freq = dynamic_cast<const CFreqNode*>(node)) {
        const double divisor = freq->GetDivisor();
        // What may be typed: the parse limits where the node has them.
        const auto* limited = dynamic_cast<const CParseLimitedFreqNode*>(freq);
        const int low = limited ? limited->GetParseMin() : freq->GetMin();
        const int high = limited ? limited->GetParseMax() : freq->GetMax();
        std::string tip = CompactNumber(FormatFixed(low / divisor, 6)) + " to " +
                          CompactNumber(FormatFixed(high / divisor, 6)) + units;
        if (dynamic_cast<const CZ30IfFreqNode*>(freq))
            tip += "; a multiple of 0.025";
        else if (dynamic_cast<const CZ30BeepFreqNode*>(freq) ||
                 dynamic_cast<const CZ30UsrCtcssFreqNode*>(freq) ||
                 dynamic_cast<const CZ30UsrTonEncNode*>(freq))
            tip += "; the nearest tone the radio makes is kept";
        return tip;
    }
    const auto* range = dynamic_cast<const CRangeValue*>(node);
    if (!range) return {};
    const int decimals = DecimalsOf(scale);
    const double divisor = std::max(scale, 1);
    const int lowest = offZero ? std::max(range->GetMin(), 1) : range->GetMin();
    std::string tip = FormatFixed(lowest / divisor, decimals) + " to " +
                      FormatFixed(range->GetMax() / divisor, decimals) + units;
    if (offZero) tip += "; OFF = 0";
    return tip;
}

std::string CompactNumber(std::string text) {
    if (!IsWholeCNumber(text) || text.find('.') == std::string::npos ||
        text.find_first_of("eE") != std::string::npos)
        return text;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string GroupToneText(CNode* root) {
    return GetStringByName(GetNode(root, "5ToneCodeCH.TxCodeCom"), "SpcTonGrp");
}

std::string ShowGroupTone(const std::string& code, const std::string& groupTone) {
    return groupTone.empty() ? code : SubstituteChars(code, groupTone, "*");
}

std::string ExpandGroupTone(const std::string& code, const std::string& groupTone) {
    if (groupTone.empty()) return code;
    return SubstituteChars(SubstituteChars(code, "*", groupTone), "G", groupTone);
}

// --- Key lists -----------------------------------------------------------------------------------

std::string KeyMatchText(const std::string& text) {
    return text == "Moni(Audi)" ? std::string("Moni") : text;
}

int KeyEntryIndex(const std::vector<std::string>& entries, const std::string& keyText) {
    if (keyText.empty()) return -1;
    const std::string key = KeyMatchText(keyText);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (KeyMatchText(entries[i]) == key) return static_cast<int>(i);
    return -1;
}

std::string KeyStoreText(const std::string& entry) {
    return SameTextIgnoringCase(entry, "Moni") ? std::string("Moni(Audi)") : entry;
}

// --- Typing filters ------------------------------------------------------------------------------

bool FilterTyping(std::string& text, int& caret, const std::string& allowed,
                  std::size_t maxLength) {
    std::string kept;
    int newCaret = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (allowed.find(text[i]) == std::string::npos) continue;
        kept.push_back(text[i]);
        if (static_cast<int>(i) < caret) ++newCaret;
    }
    if (maxLength > 0 && kept.size() > maxLength) {
        const std::size_t excess = kept.size() - maxLength;
        const std::size_t end =
            std::clamp<std::size_t>(static_cast<std::size_t>(newCaret), excess, kept.size());
        kept.erase(end - excess, excess);
        newCaret = static_cast<int>(end - excess);
    }
    if (kept.size() == text.size()) return false;
    text.swap(kept);
    caret = newCaret;
    return true;
}
