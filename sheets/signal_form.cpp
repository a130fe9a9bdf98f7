#include "sheets/signal_form.h"

#include "core/ctext.h"
#include "params/node.h"
#include "params/node_access.h"
#include "sheets/setting_forms.h"

#include <algorithm>
#include <climits>
#include <cmath>

const char* const kCheckOn = "ON";
const char* const kCheckOff = "OFF";

namespace {

constexpr int kEvenTimerMin = 2;
constexpr int kEvenTimerMax = 30;

// base + "." + name, or name alone below the root.
std::string PathBelow(const std::string& base, const char* name) {
    return base.empty() ? std::string(name) : base + "." + name;
}

CNode* FieldNode(CNode* root, const std::string& base, const CFieldDesc& field) {
    return *field.node ? GetNode(root, FieldPath(base, field)) : nullptr;
}

std::string FieldText(const CNode* node, const CFieldDesc& field) {
    if (!node) return {};
    switch (field.kind) {
    case CFieldKind::Timer:
    case CFieldKind::EvenTimer:
        return TimerText(node->GetValue(), field.scale);
    case CFieldKind::Check:
        return node->GetValue() != 0 ? kCheckOn : kCheckOff;
    case CFieldKind::Lock:
        return kCheckOff;
    default:
        return node->GetText();
    }
}

// The list entries of the codes first..last (or the choices) of the node at path.
CListEntries EntriesOf(CNode* root, const std::string& path, int first, int last) {
    const std::size_t dot = path.rfind('.');
    CNode* parent = dot == std::string::npos ? root : GetNode(root, path.substr(0, dot));
    return ListEntries(parent, path.substr(dot == std::string::npos ? 0 : dot + 1).c_str(), first,
                       last);
}

CSetResult StoreField(CNode* root, CNode* node, const CFieldDesc& field, const std::string& text) {
    if (!node) return CSetResult::Refused(nullptr, CSetReason::UnknownPath);
    switch (field.kind) {
    case CFieldKind::Code:
        return node->SetText(ExpandGroupTone(text, GroupToneText(root)));
    case CFieldKind::Timer:
    case CFieldKind::EvenTimer:
        return SetTimerText(node, text, field.scale, field.kind == CFieldKind::EvenTimer);
    case CFieldKind::Check:
        return node->SetValue(text == kCheckOn ? 1 : 0);
    default:
        return node->SetText(text);
    }
}

} // namespace

std::string FieldPath(const std::string& base, const CFieldDesc& field) {
    return PathBelow(base, field.node);
}

CFormState ReadForm(CNode* root, const std::string& base, const CSignalFormDesc& form,
                    bool specialRow) {
    CFormState state;
    for (const CFieldDesc& field : form.fields) {
        const bool enabled = !(specialRow && field.notOnSpecialRow);
        state.enabled.push_back(enabled);
        state.texts.push_back(enabled ? FieldText(FieldNode(root, base, field), field)
                                      : std::string());
    }
    return state;
}

CListEntries FieldEntries(CNode* root, const std::string& base, const CFieldDesc& field) {
    if (field.kind == CFieldKind::Radio) return EntriesOf(root, FieldPath(base, field), 0, 1);
    if (field.kind != CFieldKind::List) return {};
    if (!*field.source) return EntriesOf(root, FieldPath(base, field), field.first, field.last);
    // Texts of another node: the entry showing this node's text is the selected one.
    CListEntries entries = EntriesOf(root, PathBelow(base, field.source), field.first, field.last);
    const CNode* node = FieldNode(root, base, field);
    const auto it = std::find(entries.texts.begin(), entries.texts.end(),
                              node ? node->GetText() : std::string());
    entries.selected =
        it == entries.texts.end() ? -1 : static_cast<int>(it - entries.texts.begin());
    return entries;
}

std::vector<CFieldResult> ApplyForm(CNode* root, const std::string& base,
                                    const CSignalFormDesc& form, const CFormState& state) {
    std::vector<CFieldResult> results;
    for (std::size_t i = 0; i < form.fields.size() && i < state.texts.size(); ++i) {
        const CFieldDesc& field = form.fields[i];
        const std::string& text = state.texts[i];
        if (field.kind == CFieldKind::Lock || (i < state.enabled.size() && !state.enabled[i]))
            continue;
        // A list without a choice keeps its value.
        if ((field.kind == CFieldKind::List || field.kind == CFieldKind::Radio) && text.empty())
            continue;
        const std::string path = FieldPath(base, field);
        CNode* node = GetNode(root, path);
        if (field.keepWhenEmpty && node && text.empty()) {
            results.push_back({path, text, CSetResult::Refused(node, CSetReason::Empty)});
            continue;
        }
        results.push_back({path, text, StoreField(root, node, field, text)});
    }
    return results;
}

std::string FormOutcomeText(CNode* root, const std::string& base, const CSignalFormDesc& form,
                            const std::string& where, const std::vector<CFieldResult>& results) {
    std::string text;
    for (const CFieldResult& r : results) {
        const auto field =
            std::find_if(form.fields.begin(), form.fields.end(), [&](const CFieldDesc& f) {
                return *f.node && FieldPath(base, f) == r.node;
            });
        std::string name = r.node, shown = r.result.stored;
        if (field != form.fields.end()) {
            name = *field->name ? field->name : field->label;
            shown = CompactNumber(FieldText(FieldNode(root, base, *field), *field));
            if (*field->unit) shown += std::string(" ") + field->unit;
        }
        const std::string phrase = OutcomePhrase(name, r.given, r.result, shown);
        if (!phrase.empty()) text += (text.empty() ? where + ": " : "; ") + phrase;
    }
    return text;
}

std::string FieldToolTip(CNode* root, const std::string& base, const CFieldDesc& field) {
    switch (field.kind) {
    case CFieldKind::Code:
        return "Up to " + std::to_string(field.maxLength) + " of " + field.allowed;
    case CFieldKind::Edit:
        return RangeToolTip(FieldNode(root, base, field), 1, field.unit);
    case CFieldKind::Timer:
    case CFieldKind::EvenTimer:
        return RangeToolTip(FieldNode(root, base, field), field.scale, field.unit) +
               (field.kind == CFieldKind::EvenTimer ? "; in steps of 0.02 s" : "");
    default:
        return {};
    }
}

std::vector<CDialogField> FormFields(const CSignalFormDesc& form, const CFormState& state) {
    std::vector<CDialogField> fields;
    for (std::size_t i = 0; i < form.fields.size(); ++i) {
        const CFieldDesc& field = form.fields[i];
        if (field.kind == CFieldKind::Lock) continue;
        fields.push_back({field.group, field.subgroup, field.label,
                          i < state.texts.size() ? state.texts[i] : std::string()});
    }
    return fields;
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
