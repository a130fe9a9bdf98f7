#include "sheets/setting_forms.h"

#include "clone/model_info.h"
#include "core/ctext.h"
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "params/value_nodes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

using R = CFieldRule;
constexpr CFieldUse kPmrOnly = CFieldUse::PmrOnly;
constexpr CFieldUse kLmrOnly = CFieldUse::LmrOnly;

// clang-format off
constexpr CFormField kKeyDisplayFields[] = {
    // group             label                 path            rule
    {"Key Assign",       "Red*",               "KeyF0Conv",    R::KeyList},
    {"Key Assign",       "Upper",              "KeyF1Conv",    R::KeyList},
    {"Key Assign",       "Lower",              "KeyF2Conv",    R::KeyList},
    {"Key Assign",       "Mic Up",             "KeyMicUpConv", R::KeyList},
    {"Key Assign",       "Mic Down",           "KeyMicDnConv", R::KeyList},
    {"Key Assign",       "Mic A",              "KeyMicAConv",  R::KeyList},
    {"Key Assign",       "Mic B",              "KeyMicBConv",  R::KeyList},
    {"Display Assign",   "RF Power Selection", "RFPwrSel",     R::BitList},
    {nullptr,            "Opening Beep",       "OpeningBeep",  R::Check},
    {nullptr,            "Beep",               "BeepOn",       R::Check},
    {nullptr,            "Mic Function",       "MicFunc",      R::Check},
};

constexpr CFormField kCommon1Fields[] = {
    // group          label                 path           rule        scale unit name
    {nullptr,         "Auto Reset Timer A", "AutoResTimA", R::Timer,   1,    "s"},
    {nullptr,         "Auto Reset Timer B", "AutoResTimB", R::Timer,   1,    "s"},
    {nullptr,         "Inactive Timer",     "InATim",      R::Timer,   1,    "s", nullptr, kPmrOnly},
    {nullptr,         "SQL Level",          "SqlLvl",      R::Count},
    {"TOT",           "TOT Timer",          "TotTim",      R::Whole,   1,    "s"},
    {nullptr,         "Penalty Timer",      "PenaltyTim",  R::Timer,   1,    "s"},
    {nullptr,         "ID Out",             "IdOut",       R::Check,   1,    "",  nullptr,
     CFieldUse::Both, "ID Out (DTMF)"},
    {nullptr,         "Beep",               "BeepOn",      R::Check},
    {"Clone Comment", "(1)",                "Comment1",    R::Comment, 1,    "", "Clone Comment (1)"},
    {"Clone Comment", "(2)",                "Comment2",    R::Comment, 1,    "", "Clone Comment (2)"},
};

constexpr CFormField kCommon2Fields[] = {
    // group   label                    path            rule       scale unit
    {nullptr,  "Lockout Penalty Timer", "LckOutPenTim", R::Timer,  1,    "s"},
    {nullptr,  "CTCSS Tone Burst",      "TonBurst",     R::BitList},
    {nullptr,  "CTCSS Reverse Burst",   "RevBurst",     R::Factor, 100,  "s"},
    {nullptr,  "Transceiver Data Out",  "TrDataOut",    R::Check},
};

constexpr CFormField kExpertFields[] = {
    // group      label                  path            rule          scale unit   name
    {nullptr,     "Fast Scan Timer",     "FastScnTim",   R::Factor,    1000, "s"},
    {nullptr,     "Slow Scan Timer",     "SlwScnTim",    R::Factor,    100,  "s"},
    {nullptr,     "User CTCSS Freq(Hz)", "UsrCtcssFreq", R::Frequency, 1,    "Hz", "User CTCSS Freq"},
    {"Emergency", "SW ON Timer",         "EmrSwOnTim",   R::Factor,    10,   "s",  "Emergency SW ON Timer"},
    {"Emergency", "SW OFF Timer",        "EmrSwOfTim",   R::Factor,    10,   "s",  "Emergency SW OFF Timer"},
    {"Emergency", "Start/Repeat Timer",  "EmrStrRepTim", R::Factor,    1,    "s",  "Emergency Start/Repeat Timer"},
    {nullptr,     "Low Beep Frequency",  "BeepFreqL",    R::Frequency, 1,    "Hz"},
    {nullptr,     "High Beep Frequency", "BeepFreqH",    R::Frequency, 1,    "Hz"},
    {nullptr,     "TX DTCS Inverse",     "DTCSInvTx",    R::BitList},
    {nullptr,     "RX DTCS Inverse",     "DTCSInvRx",    R::BitList},
    {"PWR Save",  "Start Timer (1st)",   "PwrSavTim1",   R::Factor,    10,   "s",  "PWR Save Start Timer (1st)"},
    {"PWR Save",  "Start Timer (2nd)",   "PwrSavTim2",   R::Factor,    1,    "s",  "PWR Save Start Timer (2nd)"},
};

constexpr CFormField kScanFields[] = {
    // group  label            path         rule          scale unit name
    {nullptr, "Mode",          "Mode",      R::ChoiceList},
    {nullptr, "PWR Save",      "PwrSave",   R::Check},
    {nullptr, "Stop Timer",    "StopTim",   R::Factor,    10,   "s"},
    {nullptr, "Resume Timer",  "ResTim",    R::Factor,    10,   "s"},
    {nullptr, "Power ON Scan", "PwrOnScan", R::Check},
    {nullptr, "Auto CH Call",  "AutChCal",  R::Check,     1,    "",  nullptr, kPmrOnly},
};

constexpr CFormField kDtmfFields[] = {
    // group  label           path                 rule         scale unit name
    {nullptr, "Autodial 1",   "DTMFDial.AD1.Code", R::DtmfCode},
    {nullptr, "Emergency",    "DTMFDial.AD2.Code", R::DtmfCode, 1,    "",  nullptr, kLmrOnly},
    {nullptr, "Log / ID",     "DTMFDial.AD3.Code", R::DtmfCode, 1,    "",  nullptr, kLmrOnly},
    {nullptr, "DTMF Timer",   "DTMFCom.DTMFTim",   R::Factor,   100,  "s"},
    {nullptr, "1st Timer",    "DTMFCom.1stTim",    R::Factor,   100,  "s"},
    {nullptr, "[*][#] Timer", "DTMFCom.MarkTim",   R::Factor,   100,  "s"},
};

constexpr CFormField kMakerFields[] = {
    // group       label                  path            rule          scale unit   name
    {"SQL",        "Delay",               "SqlDelayOn",   R::Check,     1,    "",    "SQL Delay"},
    {nullptr,      "Delay Reset Timer",   "SqlDelayTim",  R::Factor,    1000, "s"},
    {nullptr,      "Signal Detect Timer", "SigDetTim",    R::Factor,    1000, "s"},
    {nullptr,      "Noise Detect Timer",  "NoisDetTim",   R::Factor,    1000, "s"},
    {"CTCSS",      "Decode Attack",       "CTonAtack",    R::Count,     1,    "",    "CTCSS Decode Attack"},
    {"CTCSS",      "Decode Release",      "CTonRel",      R::Count,     1,    "",    "CTCSS Decode Release"},
    {"CTCSS",      "Decode PS",           "CTonPs",       R::Count,     1,    "",    "CTCSS Decode PS"},
    {"DTCS",       "TX Polarity",         "DtcsPolTx",    R::BitList,   1,    "",    "DTCS TX Polarity"},
    {"DTCS",       "RX Polarity",         "DtcsPolRx",    R::BitList,   1,    "",    "DTCS RX Polarity"},
    {nullptr,      "Decode",              "DtcsDec",      R::Count,     1,    "",    "DTCS Decode"},
    {"Power Save", "OFF Timer",           "PwrSavOfTim",  R::Factor,    100,  "s",   "Power Save OFF Timer"},
    {"Power Save", "ON Timer1",           "PwrSavOnTim1", R::Factor,    100,  "s",   "Power Save ON Timer1"},
    {"Power Save", "ON Timer2",           "PwrSavOnTim2", R::Factor,    100,  "s",   "Power Save ON Timer2"},
    {nullptr,      "IF Frequency (MHz)",  "IfFreq",       R::Frequency, 1,    "MHz", "IF Frequency"},
    {nullptr,      "PLL Reference",       "PllRef",       R::BitList},
    {nullptr,      "Frequency Pitch",     "FreqPitch",    R::BitList},
    {"Mute Timer", "TX",                  "MutTimTx",     R::Factor,    1000, "s",   "Mute Timer TX"},
    {"Mute Timer", "RX",                  "MutTimRx",     R::Factor,    1000, "s",   "Mute Timer RX"},
};

const CFormDesc kForms[] = {
    // form                        title                      node                 fields             right column
    {CSettingForm::KeyDisplay,    "Key && Display Assign  ", "CommonSet.KeyDisp", kKeyDisplayFields, 7},
    {CSettingForm::Common1,       "Common 1",                "CommonSet.Common1", kCommon1Fields,    6},
    {CSettingForm::Common2,       "Common 2",                "CommonSet.Common2", kCommon2Fields,    -1},
    {CSettingForm::Expert,        "Expert",                  "CommonSet.Expert",  kExpertFields,     6},
    {CSettingForm::ScanSetting,   "Scan Setting",            "ScanList.ScanCom",  kScanFields,       -1},
    {CSettingForm::DtmfAutodial,  "DTMF Autodial",           "DTMFAutoD",         kDtmfFields,       -1},
    {CSettingForm::Maker,         "Maker Reserved",          "MakerR",            kMakerFields,      10},
};
// clang-format on

// Decimals of a value shown divided by scale.
int DecimalsOf(int scale) {
    int decimals = 0;
    for (int s = scale; s >= 10; s /= 10)
        ++decimals;
    return decimals;
}

bool IsNumberRule(CFieldRule rule) {
    return rule == R::Timer || rule == R::Whole || rule == R::Count || rule == R::Factor;
}

// Whether a typed text means the value a number field now shows.
bool MeansShown(const CFormField& field, const std::string& given, int value) {
    const std::string typed = TrimBlanks(given);
    if (typed == NumberText(field.rule, field.scale, value)) return true;
    if (field.rule == R::Timer && value == 0 && SameTextIgnoringCase(typed, "OFF")) return true;
    double x = 0;
    if (!IsWholeCNumber(typed) || !ParseCDouble(typed, &x)) return false;
    return std::fabs(x * field.scale - value) < 1e-6 * std::max(1.0, std::fabs(x * field.scale));
}

CFieldResult ApplyNumber(CNode* node, const CFormField& field, const std::string& given) {
    if (IsUnboundedCNumber(given, field.scale))
        return {{}, given, CSetResult::Refused(node, CSetReason::NotANumber)};
    CSetResult r = node->SetValue(NumberCode(field.scale, given));
    const int value = node->GetValue();
    if (r.Taken() && !MeansShown(field, given, value)) {
        r.status = CSetStatus::Adjusted;
        if (r.reason != CSetReason::Clamped)
            r.reason = IsWholeCNumber(given) ? CSetReason::Rounded : CSetReason::NotANumber;
    }
    if (r.Taken()) r.stored = NumberText(field.rule, field.scale, value);
    return {{}, given, r};
}

// A string field: the characters the field allows, at most max of them; trailing blanks count
// as stored (the radio pads with spaces).
CFieldResult ApplyString(CNode* node, const std::string& given, const std::string& allowed,
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
    return {{}, given, r};
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

const CFormField* FindField(const std::string& path, const CFormDesc** form) {
    for (const CFormDesc& f : kForms)
        for (const CFormField& field : f.fields)
            if (FieldPath(f, field) == path) {
                *form = &f;
                return &field;
            }
    return nullptr;
}

std::string KeyListNode(int variant) {
    return IsPmrVariant(variant) ? "Key_Conv_PMR" : "Key_Conv_LMR";
}

} // namespace

const char* const kDtmfChars = "ABCDEF0123456789*# ";

const CFormDesc& FormDescOf(CSettingForm form) {
    for (const CFormDesc& f : kForms)
        if (f.form == form) return f;
    return kForms[0];
}

std::string FieldPath(const CFormDesc& form, const CFormField& field) {
    return std::string(form.node) + '.' + field.path;
}

CNode* FieldNode(CNode* root, const CFormDesc& form, const CFormField& field) {
    return GetNode(root, FieldPath(form, field));
}

std::string FieldLabel(const CFormField& field, int variant) {
    return !IsPmrVariant(variant) && field.lmrLabel ? field.lmrLabel : field.label;
}

bool FieldEnabled(const CFormField& field, int variant) {
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

// --- Number rules --------------------------------------------------------------------------------

std::string NumberText(CFieldRule rule, int scale, int value) {
    switch (rule) {
    case R::Timer:
        return value == 0 ? "OFF" : std::to_string(value) + ".000";
    case R::Whole:
        return std::to_string(value) + ".000";
    case R::Factor:
        return FormatFixed(static_cast<double>(value) / std::max(scale, 1), 3);
    default:
        return std::to_string(value);
    }
}

int NumberCode(int scale, const std::string& text) {
    return static_cast<int>(std::clamp<long long>(ScaledDecimal(text, scale), INT_MIN, INT_MAX));
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

// --- What a form shows ---------------------------------------------------------------------------

CListEntries FieldListEntries(CNode* root, const CFormDesc& form, const CFormField& field,
                              int variant) {
    CListEntries list;
    CNode* node = FieldNode(root, form, field);
    const auto* value = dynamic_cast<const CChoiceValue*>(node);
    switch (field.rule) {
    case R::BitList:
        if (!value) break;
        for (int code : {0, 1})
            if (std::string text = value->TextOf(code); !text.empty())
                list.texts.push_back(std::move(text));
        break;
    case R::ChoiceList:
        if (!value) break;
        for (const CChoice& c : value->Choices())
            list.texts.push_back(c.text);
        break;
    case R::KeyList: {
        const auto* keys = dynamic_cast<const CChoiceValue*>(
            GetNode(root, std::string(form.node) + '.' + KeyListNode(variant)));
        if (keys)
            for (const CChoice& c : keys->Choices())
                list.texts.push_back(c.text);
        if (node) list.selected = KeyEntryIndex(list.texts, node->GetText());
        return list;
    }
    default:
        return list;
    }
    if (node) {
        const auto it = std::find(list.texts.begin(), list.texts.end(), node->GetText());
        if (it != list.texts.end()) list.selected = static_cast<int>(it - list.texts.begin());
    }
    return list;
}

std::string FieldText(CNode* root, const CFormDesc& form, const CFormField& field, int variant) {
    CNode* node = FieldNode(root, form, field);
    if (!node) return {};
    std::string text;
    switch (field.rule) {
    case R::Frequency:
    case R::Check:
    case R::BitList:
    case R::ChoiceList:
        return node->GetText();
    case R::KeyList: {
        const CListEntries list = FieldListEntries(root, form, field, variant);
        return list.selected >= 0 ? list.texts[list.selected] : std::string();
    }
    case R::Comment:
        text = node->GetText();
        KeepPrintableChars(text);
        return text;
    case R::DtmfCode:
        text = node->GetText();
        KeepAllowedChars(text, kDtmfChars);
        return text;
    default:
        return NumberText(field.rule, field.scale, node->GetValue());
    }
}

std::string FieldToolTip(CNode* root, const CFormDesc& form, const CFormField& field) {
    if (field.rule == R::Comment)
        return "Up to " + std::to_string(kCommentChars) + " characters, space to ~";
    if (field.rule == R::DtmfCode)
        return "Up to " + std::to_string(kDtmfCodeChars) + " DTMF digits: 0 to 9, A to F, * and #";
    if (!IsNumberRule(field.rule) && field.rule != R::Frequency) return {};
    return RangeToolTip(FieldNode(root, form, field), field.rule == R::Factor ? field.scale : 1,
                        field.unit, field.rule == R::Timer);
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

std::vector<CFormCell> FormCells(CNode* root, CSettingForm form, int variant) {
    const CFormDesc& desc = FormDescOf(form);
    std::vector<CFormCell> cells;
    for (const CFormField& field : desc.fields)
        cells.push_back({field.group ? field.group : "", FieldLabel(field, variant),
                         FieldText(root, desc, field, variant)});
    return cells;
}

// --- OK ------------------------------------------------------------------------------------------

std::vector<CFieldResult> ApplyFormEntry(CNode* root, CSettingForm form, int variant,
                                         const CFormEntry& entry) {
    const CFormDesc& desc = FormDescOf(form);
    std::vector<CFieldResult> results;
    for (const CFormField& field : desc.fields) {
        const auto given = std::find_if(entry.begin(), entry.end(),
                                        [&](const auto& e) { return e.first == field.path; });
        if (given == entry.end() || !FieldEnabled(field, variant)) continue;
        const std::string& text = given->second;
        const bool list =
            field.rule == R::BitList || field.rule == R::ChoiceList || field.rule == R::KeyList;
        if (list && text.empty()) continue; // nothing chosen: the node keeps its value
        CNode* node = FieldNode(root, desc, field);
        CFieldResult r{{}, text, CSetResult::Refused(nullptr, CSetReason::UnknownPath)};
        if (node) {
            switch (field.rule) {
            case R::Frequency:
                r.result = ApplyFrequency(node, text);
                break;
            case R::BitList:
            case R::ChoiceList:
                r.result = node->SetText(text);
                break;
            case R::KeyList:
                r.result = node->SetText(KeyStoreText(text));
                break;
            case R::Check:
                r.result = node->SetValue(text == "1" ? 1 : 0);
                break;
            case R::Comment:
                r = ApplyString(node, text, kPrintableChars, kCommentChars);
                break;
            case R::DtmfCode:
                r = ApplyString(node, text, kDtmfChars, kDtmfCodeChars);
                break;
            default:
                r = ApplyNumber(node, field, text);
                break;
            }
        }
        r.node = FieldPath(desc, field);
        results.push_back(std::move(r));
    }
    return results;
}

std::string FormOutcomeText(CNode* root, int variant, const std::vector<CFieldResult>& results) {
    std::string adjusted, refused;
    auto append = [](std::string& list, const std::string& item) {
        list += (list.empty() ? "" : ", ") + item;
    };
    for (const CFieldResult& r : results) {
        if (r.result.status == CSetStatus::Stored) continue;
        const CFormDesc* form = nullptr;
        const CFormField* field = FindField(r.node, &form);
        const std::string name = !field        ? r.node
                                 : field->name ? field->name
                                               : FieldLabel(*field, variant);
        if (r.result.status == CSetStatus::Adjusted) {
            // What the form shows now; a value the image keeps in another form as it keeps it.
            std::string value = field && r.result.reason != CSetReason::ImageForm
                                    ? FieldText(root, *form, *field, variant)
                                    : r.result.stored;
            value = CompactNumber(value);
            if (field && *field->unit && IsWholeCNumber(value))
                value += std::string(" ") + field->unit;
            append(adjusted, name + " " + value);
        } else {
            append(refused, name + ": " +
                                (r.result.detail.empty() ? SetReasonText(r.result.reason)
                                                         : r.result.detail));
        }
    }
    std::string text;
    if (!adjusted.empty()) text = "Adjusted: " + adjusted;
    if (!refused.empty()) text += (text.empty() ? "" : "; ") + std::string("Not taken: ") + refused;
    return text;
}
