// What the image keeps of the tree: the rules behind "not kept" (a value the tree holds but the
// radio never gets).
#include "clone/model_info.h"
#include "params/node_access.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

using namespace radiomap;

namespace {

// Five-tone settings outside "5ToneCodeCH" that the fix-up of an LMR image resets.
constexpr std::string_view kPmrOnlySettings[] = {"ScanList.ScanCom.AutChCal",
                                                 "CommonSet.Common1.InATim"};
// Nodes without a place in the image: the bank setting, the key choice lists of the views, the
// codes of the group receive channels, the length of the DTMF format, the string tone.
constexpr std::string_view kNotStored[] = {"Mch.BnkSet",
                                           "CommonSet.KeyDisp.Key_Conv_LMR",
                                           "CommonSet.KeyDisp.Key_Conv_PMR",
                                           "2ToneCodeCH.RXCodeCH.CHG.1stFreq",
                                           "2ToneCodeCH.RXCodeCH.CHG.2ndFreq",
                                           "2ToneCodeCH.RXCodeCH.CHG.Group",
                                           "5ToneCodeCH.RXCodeCH.CHG.RxCode",
                                           "5ToneCodeCH.RXCodeCH.CHG.ABC",
                                           "5ToneCodeCH.Format.DTMF.TonLen",
                                           "5ToneCodeCH.TxCodeCom.SpcTonStr"};

bool Contains(std::span<const std::string_view> list, std::string_view s) {
    return std::find(list.begin(), list.end(), s) != list.end();
}

// A channel field only the other family writes (both families have every field in the tree).
bool OtherFamilysField(std::string_view field, bool pmr) {
    return std::any_of(std::begin(kChannelFields), std::end(kChannelFields), [&](const CField& f) {
        return f.name && field == f.name && f.rule.kind != CRuleKind::Flag &&
               f.family == (pmr ? CFamily::Lmr : CFamily::Pmr);
    });
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix &&
           (s.size() == prefix.size() || s[prefix.size()] == '.');
}

CKeep NotKept(CSetReason reason, std::string detail) { return {reason, std::move(detail)}; }

CKeep OtherFamily(bool pmr) {
    return NotKept(CSetReason::OtherFamily,
                   pmr ? "not used by PMR radios" : "not used by LMR radios");
}

} // namespace

CKeep CZ30RadioDataManager::Keeps(const std::string& path) {
    const int variant = Variant();
    const bool pmr = IsPmrVariant(variant);
    int channel = 0;
    std::string_view field;
    if (SplitChannelPath(path, &channel, &field)) {
        if (channel == 0)
            return NotKept(CSetReason::DefaultChannel,
                           "the default channel is a template, not stored in the radio");
        const int channels = ChannelsOfVariant(variant);
        if (channel > channels)
            return NotKept(CSetReason::BeyondChannels,
                           "this radio has " + std::to_string(channels) +
                               (channels == 1 ? " channel" : " channels"));
        if (OtherFamilysField(field, pmr)) return OtherFamily(pmr);
        const std::string ch = "Mch.CH" + std::to_string(channel);
        if (!field.empty() && field != "ChOn" &&
            GetValueByName(GetNode(GetRoot(), ch), "ChOn") == 0)
            return NotKept(CSetReason::ChannelOff, "channel " + std::to_string(channel) +
                                                       " is off; set " + ch + ".ChOn=ON first");
        return {};
    }
    if (Contains(kNotStored, path))
        return NotKept(CSetReason::NotStored, "not stored in the radio");
    if (StartsWith(path, pmr ? "2ToneCodeCH" : "5ToneCodeCH")) return OtherFamily(pmr);
    if (!pmr && Contains(kPmrOnlySettings, path)) return OtherFamily(pmr);
    return {};
}
