// What set takes beyond each value's own rule: a channel tone typed as the row editor shows it,
// and a refused tone told with the forms it takes.
#pragma once

#include <string>

// True, with its code, when path is a channel's tone ("Mch.CH1.CTonTx") and text a DCS code as
// the row editor shows it ("023N", "754I", "023" for 023N, either case).
bool ChannelToneCode(const std::string& path, const std::string& text, int* code);
// The refusal of a text a channel tone does not take, naming the forms it takes; empty when path
// is no channel tone.
std::string ChannelToneRefusal(const std::string& path, const std::string& given);
