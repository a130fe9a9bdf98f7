// The signalling editors without their windows. Each row editor and setting dialog is a form: a
// table of fields (group, label, node, kind) that is read from the tree into the texts the
// controls show, stored back in the form's order, and listed as (label, value) pairs the way
// the dialog shows them, for printing.
#pragma once

#include "sheets/channel_entry.h"

#include <span>
#include <string>
#include <vector>

class CNode;

enum class CFieldKind {
    Edit,      // the node's text (a frequency), stored as text
    Code,      // a five-tone code: allowed characters only; "*" and "G" stand for the group tone
    Timer,     // a number shown as value / scale with three decimals, stored as scaled decimal
    EvenTimer, // a Timer clamped to 2..30 and made even (the two-tone notone timer)
    List,      // drop-down list, stored as the chosen text
    Check,     // check box, stored as 0 or 1
    Radio,     // one radio button for each of a bit's two texts, stored as the chosen text
    Lock,      // a check box of the dialog alone: while checked, `controls` is disabled
};

struct CFieldDesc {
    const char* label;
    const char* node; // path below the form's node; "" for a Lock
    CFieldKind kind;
    const char* group = "";    // group box, "" for none
    const char* subgroup = ""; // group box inside the group (or the dialog), "" for none
    int scale = 1;             // Timer: the stored value is the shown value times scale
    // List: the texts of the codes first..last of `source`, or every choice of the node when
    // first > last.
    int first = 1;
    int last = 0;
    const char* source = "";    // List: the node whose texts fill the list ("": the field's node)
    const char* allowed = "";   // Code: the characters kept as typed
    int maxLength = 0;          // 0: no limit
    const char* unit = "";      // of the value shown
    const char* name = "";      // the field in messages, "": the label
    bool keepWhenEmpty = false; // an emptied edit leaves the node as it is
    // Disabled and empty on the special row of its sheet (the group row of the receive sheets,
    // the DTMF format) and never stored there.
    bool notOnSpecialRow = false;
    bool beside = false;       // Check, Lock: beside the field before it
    const char* controls = ""; // Radio, Lock: the group disabled by the second text / a check

    constexpr CFieldDesc In(const char* g, const char* sub = "") const {
        CFieldDesc f = *this;
        f.group = g;
        f.subgroup = sub;
        return f;
    }
    constexpr CFieldDesc NotOnSpecialRow() const {
        CFieldDesc f = *this;
        f.notOnSpecialRow = true;
        return f;
    }
    constexpr CFieldDesc Beside() const {
        CFieldDesc f = *this;
        f.beside = true;
        return f;
    }
    constexpr CFieldDesc Controls(const char* g) const {
        CFieldDesc f = *this;
        f.controls = g;
        return f;
    }
    constexpr CFieldDesc Named(const char* n) const {
        CFieldDesc f = *this;
        f.name = n;
        return f;
    }
    constexpr CFieldDesc KeptWhenEmpty() const {
        CFieldDesc f = *this;
        f.keepWhenEmpty = true;
        return f;
    }
};

// The fields of the forms, built like a table. Edits hold tones in Hz, timers seconds.
constexpr CFieldDesc EditField(const char* label, const char* node) {
    CFieldDesc f{label, node, CFieldKind::Edit};
    f.unit = "Hz";
    return f;
}
constexpr CFieldDesc CodeField(const char* label, const char* node, const char* allowed,
                               int maxLength) {
    CFieldDesc f{label, node, CFieldKind::Code};
    f.allowed = allowed;
    f.maxLength = maxLength;
    return f;
}
constexpr CFieldDesc TimerField(const char* label, const char* node, int scale,
                                CFieldKind kind = CFieldKind::Timer) {
    CFieldDesc f{label, node, kind};
    f.scale = scale;
    f.unit = "s";
    return f;
}
constexpr CFieldDesc ListField(const char* label, const char* node, int first = 1, int last = 0,
                               const char* source = "") {
    CFieldDesc f{label, node, CFieldKind::List};
    f.first = first;
    f.last = last;
    f.source = source;
    return f;
}
constexpr CFieldDesc CheckField(const char* label, const char* node) {
    return {label, node, CFieldKind::Check};
}
constexpr CFieldDesc RadioField(const char* label, const char* node) {
    return {label, node, CFieldKind::Radio};
}
constexpr CFieldDesc LockField(const char* label) { return {label, "", CFieldKind::Lock}; }

struct CSignalFormDesc {
    const char* title;
    std::span<const CFieldDesc> fields;
    const char* secondColumn = ""; // the group that begins a second column, "" for one column
};

// What the controls show: one text per field ("ON"/"OFF" for check boxes, "" for an empty or
// disabled control) and whether the field may be edited.
struct CFormState {
    std::vector<std::string> texts;
    std::vector<bool> enabled;
};

// A field as a printout shows it.
struct CDialogField {
    std::string group;
    std::string subgroup;
    std::string label;
    std::string value;
};

extern const char* const kCheckOn;  // "ON"
extern const char* const kCheckOff; // "OFF"

// The path of a field: base + "." + node.
std::string FieldPath(const std::string& base, const CFieldDesc& field);

// The form's texts as the nodes below base hold them; specialRow disables the fields marked so.
CFormState ReadForm(CNode* root, const std::string& base, const CSignalFormDesc& form,
                    bool specialRow = false);
// What a list or the radio buttons of a field offer, and which entry shows the node's text.
CListEntries FieldEntries(CNode* root, const std::string& base, const CFieldDesc& field);
// Stores the enabled fields in the form's order. Outcomes carry the path from the root; an
// emptied field kept when empty is refused (Empty).
std::vector<CFieldResult> ApplyForm(CNode* root, const std::string& base,
                                    const CSignalFormDesc& form, const CFormState& state);
// The status line about what OK made of the fields, by their names as the dialog shows them and
// with their values as they show them now, in their units: "CH 2: 1st Frequency adjusted to
// 3300 Hz (centred in its decode window)"; where names the row or dialog. Empty when every
// value was stored as given.
std::string FormOutcomeText(CNode* root, const std::string& base, const CSignalFormDesc& form,
                            const std::string& where, const std::vector<CFieldResult>& results);
// The range of an edit ("0 to 60 s", "250 to 3300 Hz; ..."), or the characters a code takes.
std::string FieldToolTip(CNode* root, const std::string& base, const CFieldDesc& field);
// The fields as (group, label, value), Lock boxes left out.
std::vector<CDialogField> FormFields(const CSignalFormDesc& form, const CFormState& state);

// --- Rules of the texts.
// value / scale with three decimals ("0.250"; "7.000" with scale 1).
std::string TimerText(int value, int scale);
// The value a typed timer text stands for: the scaled-decimal rule (a text that is not a number
// gives 0); even: clamped to 2..30 and made even.
long long TimerValue(const std::string& text, int scale, bool even);
// Stores a typed timer text; adjusted (with the text the node now shows) when the value held is
// not the one typed: clamped by the node, rounded to its unit, made even, or not a number.
CSetResult SetTimerText(CNode* node, const std::string& text, int scale, bool even);
// The text of the special group tone ("SpcTonGrp" of the five-tone transmit common settings).
std::string GroupToneText(CNode* root);
// A code as the sheets show it: every character of the group tone text shown as "*".
std::string ShowGroupTone(const std::string& code, const std::string& groupTone);
// A typed code as it is stored: every "*" and then every "G" replaced by the group tone text
// (kept when there is no group tone text).
std::string ExpandGroupTone(const std::string& code, const std::string& groupTone);
