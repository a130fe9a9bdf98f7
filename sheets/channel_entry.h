// The rules of the "Edit Memory CH" row editors without their windows: what the lists offer,
// the tone entry texts, and the order in which OK stores the controls into the channel.
#pragma once

#include "params/set_result.h"

#include <string>
#include <utility>
#include <vector>

class CNode;

// Texts of a drop-down list for a channel field: the texts of the codes first..last, or every
// choice of the node when first > last; selected is the entry of the current value or -1.
struct CListEntries {
    std::vector<std::string> texts;
    int selected = -1;
};
CListEntries ListEntries(CNode* channel, const char* node, int first, int last);
// The tone box list: "OFF", then the CTCSS tones and "USER" (list position p is code p - 1).
CListEntries ToneEntries(CNode* channel, const char* node);

// The code a tone box text stands for: a list entry, or three octal digits followed by N
// (normal, the default) or I (inverted), in either case. False for any other text.
bool ToneCodeOfText(const std::string& text, const std::vector<std::string>& list, int* code);

// What the editor's controls hold when OK is pressed.
struct CChannelEntry {
    std::string rxFreq;
    std::string txFreq;
    bool freqSimplex = false;
    bool inhCh = false;
    bool inhTx = false;
    std::string rxTone;
    std::string txTone;
    bool toneSimplex = false;
    std::vector<std::string> toneList;
    std::vector<std::pair<std::string, int>> checks;        // node, 0 or 1
    std::vector<std::pair<std::string, std::string>> lists; // node, chosen text ("" none)
};

// How one field took what the editor gave it, as the node's setter says.
struct CFieldResult {
    std::string node;
    std::string given;
    CSetResult result;
};

// The frequencies OK would store that the channel's nodes refuse (not a number, fits no raster),
// checked without storing anything: the editor warns and stays open instead of leaving a half
// stored channel. Empty when OK may store the entry.
std::vector<CFieldResult> CheckChannelEntry(CNode* root, int n, const CChannelEntry& entry);

// The name the row editor and the sheet give a channel field ("FreqRx": "RX Frequency"); the
// node's own name for a field without one.
std::string ChannelFieldLabel(const std::string& node);

// Stores the entry into the channel in the editor's order: spaces out of the receive text,
// the Simplex boxes, "ChOn" from whether a receive text is left, the frequencies (a text the
// channel shows now for one of its frequencies keeps that frequency as it stands) and inhibits,
// the tones (a text of more than two characters, when it converts), every other control. A
// channel left without a receive text is off and gets the blank channel's data.
std::vector<CFieldResult> ApplyChannelEntry(CNode* root, int n, CChannelEntry entry);
