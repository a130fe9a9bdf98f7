#include "params/set_result.h"

#include "params/value_nodes.h"

CSetResult CSetResult::Of(const CNode& node, CSetReason adjustment) {
    CSetResult r;
    r.status = adjustment == CSetReason::None ? CSetStatus::Stored : CSetStatus::Adjusted;
    r.reason = adjustment;
    r.stored = ValueText(node);
    return r;
}

CSetResult CSetResult::Refused(const CNode* node, CSetReason reason) {
    CSetResult r;
    r.status = CSetStatus::Refused;
    r.reason = reason;
    if (node) r.stored = ValueText(*node);
    return r;
}

const char* SetStatusWord(CSetStatus status) {
    switch (status) {
    case CSetStatus::Stored:
        return "stored";
    case CSetStatus::Adjusted:
        return "adjusted";
    case CSetStatus::Refused:
        return "refused";
    case CSetStatus::NotKept:
        return "not kept";
    }
    return "";
}

const char* SetReasonText(CSetReason reason) {
    switch (reason) {
    case CSetReason::None:
        return "";
    case CSetReason::Clamped:
        return "clamped into range";
    case CSetReason::Snapped:
        return "snapped to the channel raster or the tone step";
    case CSetReason::Rounded:
        return "rounded";
    case CSetReason::Trimmed:
        return "trailing blanks removed";
    case CSetReason::ImageForm:
        return "as the radio stores it";
    case CSetReason::Centred:
        return "centred in its decode window";
    case CSetReason::NotANumber:
        return "not a number";
    case CSetReason::NotAChoice:
        return "not one of the choices";
    case CSetReason::OffRaster:
        return "fits no raster";
    case CSetReason::NoValue:
        return "the node keeps its value";
    case CSetReason::UnknownPath:
        return "unknown path";
    case CSetReason::Empty:
        return "left empty, the value is kept";
    case CSetReason::OtherFamily:
        return "not used by this radio";
    case CSetReason::ChannelOff:
        return "the channel is off";
    case CSetReason::BeyondChannels:
        return "stored, the radio does not use that channel";
    case CSetReason::DefaultChannel:
        return "the default channel is not stored in the radio";
    case CSetReason::NotStored:
        return "not stored in the radio";
    }
    return "";
}

std::string OutcomePhrase(const std::string& name, const std::string& given, const CSetResult& r,
                          const std::string& shown) {
    const std::string why = SetReasonText(r.reason);
    switch (r.status) {
    case CSetStatus::Stored:
        return {};
    case CSetStatus::Adjusted:
        return name + " adjusted to " + shown + " (" + why + ")";
    case CSetStatus::Refused:
    case CSetStatus::NotKept:
        break;
    }
    return name + " \"" + given + "\" not taken (" + why + ")";
}

std::string ValueText(const CNode& node) {
    if (const auto* s = dynamic_cast<const CStringNode*>(&node)) return s->GetString();
    std::string text = node.GetText();
    return text.empty() ? std::to_string(node.GetValue()) : text;
}
