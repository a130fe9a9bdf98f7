#include "cli/set_rules.h"

#include "params/node_access.h"
#include "sheets/channel_entry.h"

#include <string_view>

namespace {

bool IsChannelTone(const std::string& path) {
    int n = 0;
    std::string_view field;
    return SplitChannelPath(path, &n, &field) && (field == "CTonTx" || field == "CTonRx");
}

} // namespace

bool ChannelToneCode(const std::string& path, const std::string& text, int* code) {
    // Only the digital form: the node's own texts (OFF, USER, the CTCSS tones) are its choices.
    return IsChannelTone(path) && text.size() >= 3 && text.size() <= 4 &&
           ToneCodeOfText(text, {}, code);
}

std::string ChannelToneRefusal(const std::string& path, const std::string& given) {
    if (!IsChannelTone(path)) return {};
    return path + ": '" + given +
           "' is no tone; it takes OFF, USER, a CTCSS tone (67.0 to 254.1 Hz, as get shows "
           "them), a DCS code (023N, 754I), or a code with " +
           path +
           ":=CODE (1000 OFF, 51 USER, 0 to 50 the CTCSS tones, 2023 for 023N, 3754 for "
           "754I)";
}
