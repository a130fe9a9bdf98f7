// The decoder window of a two-tone receive tone: 0.97 to 1.03 of the tone, shifted by up to
// +-3 Hz in 0.2 Hz steps so that its middle lies closest to the tone. Run after decoding and
// whenever a centre changes.
#pragma once

class CFreqNode;
class CZ30UsrTonDecNode;
class CZ302TonRxCodeChNode;

// centre in tenths of Hz; low and high in Hz. The centre becomes the middle of the window.
void ApplyTwoToneWindow(CFreqNode* centre, CZ30UsrTonDecNode* low, CZ30UsrTonDecNode* high);
// Both tones of a receive code channel.
void ApplyTwoToneWindows(CZ302TonRxCodeChNode* channel);
