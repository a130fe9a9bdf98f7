// What the signalling sheets and dialogs show and store, computed from the parameter tree alone:
// the 2-tone receive codes of the LMR radios, the 5-tone receive and transmit codes, formats and
// user tones of the PMR radios, their row editors, and the dialogs "2Tone Setting", "TX Code"
// and "5Tone Setting". The windows and the printout take the same texts.
#pragma once

#include "sheets/form.h"
#include "sheets/sheet_desc.h"

#include <string>
#include <vector>

class CNode;

enum class CSignalSheet { TwoToneRx, FiveToneRx, FiveToneTx, FiveToneFormat, FiveToneUserTone };

struct CSignalSheetDef {
    int index; // the sheet index (3 to 7)
    const CSheetDesc& desc;
    const CFormDesc& editor; // the row editor
};
const CSignalSheetDef& SignalSheetDef(CSignalSheet sheet);

// The node a row shows and edits: "2ToneCodeCH.RXCodeCH.CH1", "5ToneCodeCH.Format.CCIR", ...
std::string SignalRowPath(CSignalSheet sheet, int row);
// The row's name as column 0 shows it: "1", "G" (the group code), "CCIR", "E".
std::string SignalRowName(CSignalSheet sheet, int row);
// The group code row of the receive sheets and the DTMF format: some fields are not theirs.
bool IsSpecialRow(CSignalSheet sheet, int row);
std::vector<std::string> SignalRowTexts(CNode* root, CSignalSheet sheet, int row);
// The row as the status bar names it: "CH 2", "Group", "CCIR", "User Tone E".
std::string SignalRowLabel(CSignalSheet sheet, int row);
// The caption suffix for the selected row (-1: none): " - CH 2", " - Group", " - CCIR", " - E";
// five blanks without a selection.
std::string SignalCaption(CSignalSheet sheet, int row);

// The row editor of a row, bound to the row's node.
CBoundForm RowEditor(CSignalSheet sheet, int row, int variant);

enum class CSignalDialog { TwoToneSetting, TwoToneTxCode, FiveToneSetting };
// A dialog's form; its title names the edit, its node is where its field paths start.
const CFormDesc& SignalDialogForm(CSignalDialog dialog);
