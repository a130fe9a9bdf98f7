#include "sheets/mch_rows.h"

#include "clone/model_info.h"
#include "params/node.h"
#include "params/node_access.h"
#include "sheets/channel_ops.h"
#include "sheets/sheet_desc.h"

#include <cstdio>

namespace {

constexpr const char* kSameAsRx = "<-----";

// Whether a row shows a channel the variant lacks: 1CH and 2CH radios mark the rows after their
// channels; 16CH radios mark none (the 36 rows of manufacture included).
bool BeyondVariant(int variant, int n) {
    return ChannelClassOf(variant) < 2 && n > ChannelsOfVariant(variant);
}

// A field's text followed by "L" when its long flag is set and the field is not OFF.
std::string WithLong(CNode* ch, const char* name, const char* flag) {
    std::string text = GetTextByName(ch, name);
    if (GetValueByName(ch, flag) == 1 && GetValueByName(ch, name) != 0) text += 'L';
    return text;
}

std::string AutoResetPText(CNode* ch) {
    const std::string text = GetTextByName(ch, "AutoResetP");
    if (text == "Timer A Inact") return "Timer AI";
    if (text == "Timer B Inact") return "Timer BI";
    return text;
}

} // namespace

std::string ToneText(const CNode* tone) {
    if (!tone) return {};
    const int code = tone->GetValue();
    if (code < kDcsNormal || code >= kDcsEnd) return tone->GetText();
    char text[16];
    std::snprintf(text, sizeof text, code < kDcsInverted ? "%03dN" : "%03di",
                  code - (code < kDcsInverted ? kDcsNormal : kDcsInverted));
    return text;
}

std::vector<std::string> MchRowTexts(CNode* root, bool pmr, int variant, int row) {
    const CSheetDesc& desc = pmr ? kMchPmrSheet : kMchLmrSheet;
    std::vector<std::string> cells(static_cast<std::size_t>(desc.columns));
    const int n = row + 1;
    cells[0] = std::to_string(n);
    if (BeyondVariant(variant, n)) cells[0] += '*';
    for (auto [attribute, letter] :
         {std::pair{kAttrPrioA, 'A'}, {kAttrPrioB, 'B'}, {kAttrEmr, 'E'}})
        if (ChannelAttribute(root, attribute) == n) cells[1] += letter;

    CNode* ch = ChannelNode(root, n);
    if (!ch || !IsChannelOn(root, n)) return cells;
    auto text = [ch](const char* name) { return GetTextByName(ch, name); };
    cells[2] = text("InhCh");
    cells[3] = text("FreqRx");
    cells[4] = SameTextIgnoringCase(cells[3], text("FreqTx")) ? kSameAsRx : text("FreqTx");
    cells[5] = text("InhTx");
    cells[6] = ToneText(ch->FindChild("CTonRx"));
    cells[7] = GetValueByName(ch, "CTonTx") == GetValueByName(ch, "CTonRx")
                   ? kSameAsRx
                   : ToneText(ch->FindChild("CTonTx"));
    cells[8] = text("WidNar");
    cells[9] = text("PwrSave");
    cells[10] = text("TOT");
    cells[11] = text("RfPwr");
    cells[12] = text(pmr ? "LockoutP" : "LockoutL");
    cells[13] = text("ScnLst1");
    if (!pmr) {
        cells[14] = text("AutoResetL");
        cells[15] = text("2Ton");
        cells[16] = text("LogInOfL");
        return cells;
    }
    cells[14] = text("Moni");
    cells[15] = text("Sel");
    cells[16] = text("Call");
    cells[17] = text("PTT");
    cells[18] = text("LogInOfP");
    cells[19] = AutoResetPText(ch);
    cells[20] = text("Mute");
    cells[21] = text("Form");
    cells[22] = WithLong(ch, "RPT", "RPTLng");
    cells[23] = WithLong(ch, "STN", "STNLng");
    cells[24] = WithLong(ch, "Id", "IdLng");
    cells[25] = text("IdPos");
    cells[26] = text("RxCNo1") + text("RxCNo2") + text("RxCNo3");
    return cells;
}

int MchSheetRows(int variant, bool manufacture) {
    if (manufacture) return kMemoryChannels;
    return ChannelClassOf(variant) == 2 ? 16 : 4;
}

int MchColumnOfField(bool pmr, const std::string& field) {
    struct CFieldColumn {
        const char* field;
        int lmr, pmr;
    };
    // As MchRowTexts fills the cells; a long flag shows with its field.
    static constexpr CFieldColumn kColumns[] = {
        {"ChOn", 0, 0},       {"InhCh", 2, 2},      {"FreqRx", 3, 3},       {"FreqTx", 4, 4},
        {"InhTx", 5, 5},      {"CTonRx", 6, 6},     {"CTonTx", 7, 7},       {"WidNar", 8, 8},
        {"PwrSave", 9, 9},    {"TOT", 10, 10},      {"RfPwr", 11, 11},      {"LockoutL", 12, -1},
        {"LockoutP", -1, 12}, {"ScnLst1", 13, 13},  {"AutoResetL", 14, -1}, {"2Ton", 15, -1},
        {"LogInOfL", 16, -1}, {"Moni", -1, 14},     {"Sel", -1, 15},        {"Call", -1, 16},
        {"PTT", -1, 17},      {"LogInOfP", -1, 18}, {"AutoResetP", -1, 19}, {"Mute", -1, 20},
        {"Form", -1, 21},     {"RPT", -1, 22},      {"RPTLng", -1, 22},     {"STN", -1, 23},
        {"STNLng", -1, 23},   {"Id", -1, 24},       {"IdLng", -1, 24},      {"IdPos", -1, 25},
        {"RxCNo1", -1, 26},   {"RxCNo2", -1, 26},   {"RxCNo3", -1, 26},
    };
    for (const CFieldColumn& c : kColumns)
        if (field == c.field) return pmr ? c.pmr : c.lmr;
    return -1;
}
