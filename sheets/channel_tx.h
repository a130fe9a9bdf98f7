// A channel's transmit frequency where a user may leave it out: a channel switched on with only
// a receive frequency, and, before a write, channels that would transmit on 0 MHz.
#pragma once

#include <string>
#include <vector>

class CNode;

// Channel n, when it is on with a receive frequency and no transmit frequency, gets TX = RX
// (as the row editor's Simplex gives it). True when it did.
bool GiveTxOfRx(CNode* root, int n);

// The channels among the variant's that are on, not TX-inhibited and have TX 0 MHz.
std::vector<int> ChannelsWithoutTx(CNode* root, int variant);
// "CH 1, 3 transmit on 0 MHz (on, not TX-inhibited, no TX frequency)"
std::string ChannelsWithoutTxText(const std::vector<int>& channels);

// GiveTxOfRx for every channel a list of value paths names ("Mch.CH1.ChOn") without naming its
// "FreqTx"; the channels it gave TX = RX.
std::vector<int> GiveTxOfRxWhereSet(CNode* root, const std::vector<std::string>& paths);
