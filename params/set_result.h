// What a setter did with the value it was given. Every text and code setter of every node kind
// returns one; the caller tells the user (status bar, warning, command-line message).
#pragma once

#include <string>

class CNode;

enum class CSetStatus {
    Stored,   // taken as given
    Adjusted, // taken in another form; `stored` is what the node holds now
    Refused,  // the node keeps its value
    NotKept,  // held by the tree, but the image cannot hold it (see the radio map's keep query)
};

enum class CSetReason {
    None,
    // Adjusted
    Clamped,   // into the range (a negative frequency counts as 0)
    Snapped,   // onto the channel raster or a tone divider
    Rounded,   // to the node's unit
    Trimmed,   // trailing blanks removed
    ImageForm, // the image keeps it in another form (cut to its length, a code it allows)
    Centred,   // a two-tone centre moved onto the middle of the decode window it set
    // Refused
    NotANumber, // no finite decimal number, trailing junk, or far beyond any value
    NotAChoice,
    OffRaster,   // fits no raster
    NoValue,     // the node holds no value of that kind (a branch; a code given to a text)
    UnknownPath, // there is no such node
    Empty,       // an emptied field that keeps what it holds (a five-tone receive code)
    // Not kept
    OtherFamily,    // a setting of the other signalling family (LMR two-tone, PMR five-tone)
    ChannelOff,     // a field of a channel that is switched off
    BeyondChannels, // a channel the variant does not have: stored, but never used by the radio
    DefaultChannel, // "Mch.CH0", the template of cleared channels
    NotStored,      // the image has no place for it
};

struct CSetResult {
    CSetStatus status = CSetStatus::Stored;
    std::string stored; // the node's value afterwards as ValueText gives it
    CSetReason reason = CSetReason::None;
    std::string detail; // a sentence for the user where the reason alone says too little

    // Stored or adjusted: the tree holds the value.
    bool Taken() const { return status == CSetStatus::Stored || status == CSetStatus::Adjusted; }
    // A value stored as a rule had already changed it: adjusted for the rule's reason (None
    // leaves the result as it is).
    CSetResult& ChangedBefore(CSetReason how) {
        if (status == CSetStatus::Stored && how != CSetReason::None) {
            status = CSetStatus::Adjusted;
            reason = how;
        }
        return *this;
    }
    // Stored, or adjusted for the given reason.
    static CSetResult Of(const CNode& node, CSetReason adjustment = CSetReason::None);
    static CSetResult Refused(const CNode* node, CSetReason reason);
};

// Whether an image keeps a node's value: kept, or the not-kept reason with a sentence for the
// user ("channel 1 is off; set Mch.CH1.ChOn=ON first").
struct CKeep {
    CSetReason reason = CSetReason::None;
    std::string detail;
    bool Kept() const { return reason == CSetReason::None; }
};

// The one text table of statuses and reasons: "stored", "adjusted", ...; "clamped into range",
// "not a number", ...
const char* SetStatusWord(CSetStatus status);
const char* SetReasonText(CSetReason reason);

// One value as a status line tells it, by the name the user knows it by and the value as its
// field shows it now: "RX Frequency adjusted to 146.53125 (snapped ...)", "TX C.Tone "089" not
// taken (not one of the choices)"; empty for a value stored as given.
std::string OutcomePhrase(const std::string& name, const std::string& given, const CSetResult& r,
                          const std::string& shown);

// A node's value as the user reads it: its text, or its code where it has no text (numeric
// settings); a string node's string even when empty.
std::string ValueText(const CNode& node);
