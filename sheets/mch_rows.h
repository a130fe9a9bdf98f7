// What the memory channel sheets show, computed from the parameter tree alone: the windows and
// the printout take the same texts.
#pragma once

#include <string>
#include <vector>

class CNode;

// The text of a tone-squelch code: the node's own text for a CTCSS tone, "USER" or "OFF";
// "023N" for a normal and "754i" for an inverted digital code.
std::string ToneText(const CNode* tone);

// The cells of row `row` (channel row + 1) of the LMR or PMR memory sheet for a radio of the
// given variant: the channel number ("*" on the rows a 1CH or 2CH radio lacks), the attribute
// letters, and the channel's fields when it is in use.
std::vector<std::string> MchRowTexts(CNode* root, bool pmr, int variant, int row);
// The column of the memory sheet that shows a channel's field ("FreqRx"), -1 where none does.
int MchColumnOfField(bool pmr, const std::string& field);

// The rows of a memory sheet: 36 in manufacture mode, 16 on a 16CH radio, else 4 (the rows
// beyond a 1CH or 2CH radio's channels marked).
int MchSheetRows(int variant, bool manufacture = false);
