// Memory channels: the "Mch" branch of the tree and its codec. The radio keeps 36 channel records
// of 20 bytes at 0x0200, one scan-list bit per channel at 0x01F0 and the priority and emergency
// channel numbers at 0x0073 to 0x0075 (memory_map.h).
#include "params/freq_nodes.h"
#include "params/value_nodes.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

// ---- Helpers ----

CNode* Mch(CNode* root) { return root ? root->FindChild("Mch") : nullptr; }

CNode* Channel(CNode* mch, int index) {
    return mch ? mch->FindChild("CH" + std::to_string(index + 1)) : nullptr;
}

std::uint32_t RecordOf(int index) { return kChannelBase + kRecordSize * index; }

// Channel n (1 to 36) is bit 7 - (n - 1) mod 8 of byte 0x01F0 + (n - 1) / 8.
std::uint32_t ScanByte(int index) { return kScanList + static_cast<std::uint32_t>(index / 8); }
unsigned ScanBit(int index) { return 7 - static_cast<unsigned>(index % 8); }

} // namespace

// ---- Tree ----

// CH0 is never stored: it is the channel the sheets copy into a cleared or inserted channel.
void CZ30RadioDataManager::SetDefaultChannel(CNode* root) {
    struct Field {
        const char* name;
        int code;
    };
    static constexpr Field kDefaultChannel[] = {
        {"ChOn", 0},       {"InhCh", 0},     {"FreqRx", 0},   {"InhTx", 0},    {"FreqTx", 0},
        {"CTonRx", 1000},  {"CTonTx", 1000}, {"WidNar", 0},   {"PwrSave", 1},  {"TOT", 1},
        {"RfPwr", 0},      {"LockoutL", 0},  {"LockoutP", 0}, {"ScnLst1", 1},  {"AutoResetL", 1},
        {"AutoResetP", 1}, {"2Ton", 0},      {"LogInOfL", 0}, {"LogInOfP", 0}, {"Moni", 5},
        {"Sel", 0},        {"Call", 0},      {"PTT", 0},      {"Mute", 0},     {"Form", 1},
        {"RPTLng", 0},     {"RPT", 0},       {"STNLng", 0},   {"STN", 0},      {"IdLng", 0},
        {"Id", 0},         {"IdPos", 0},     {"RxCNo1", 1},   {"RxCNo2", 1},   {"RxCNo3", 1},
    };
    CNode* mch = Mch(root);
    CNode* ch0 = mch ? mch->FindChild("CH0") : nullptr;
    if (!ch0) return;
    for (const Field& f : kDefaultChannel)
        Set(ch0, f.name, f.code);
}

// ---- Codec ----

namespace {

CItem MchItem(CNode* root, int) { return {Mch(root), {{{0, &kMchSection}}}}; }

// "Emr" is a channel number with a flag bit elsewhere.
void DecodeMch(M& map, CNode* root, const CItem& item, const CByteImage& image, int) {
    Set(item.node, "Emr",
        image.ReadBit(kEmrFlag, kEmrFlagBit) ? std::min<int>(image.ReadByte(kEmrChannel), 35) + 1
                                             : 0);
    map.Decode(CZ30Section::Channel, root, image);
}

bool EncodeMch(M& map, CNode* root, const CItem& item, CByteImage& image, int) {
    const int e = Clamp(Get(item.node, "Emr"), 0, 36);
    image.WriteBit(kEmrFlag, kEmrFlagBit, e != 0);
    image.WriteByte(kEmrChannel, static_cast<std::uint8_t>(e ? e - 1 : 0));
    map.Encode(CZ30Section::Channel, root, image);
    return true;
}

CItem ChannelItem(CNode* root, int index) {
    return {Channel(Mch(root), index), {{{RecordOf(index), &kChannelSection}}}};
}

// Whether the channel is on, and its bit in the scan list outside the records.
void DecodeChannel(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    const std::uint32_t a = RecordOf(index);
    const bool on = image.ReadByte(a) != 0xFF;
    Set(item.node, "ChOn", on);
    Set(item.node, "InhCh", on ? image.ReadBit(a, 7) : 0);
    Set(item.node, "ScnLst1", image.ReadBit(ScanByte(index), ScanBit(index)));
}

bool EncodeChannel(M& map, CNode*, const CItem& item, CByteImage& image, int index) {
    const std::uint32_t a = RecordOf(index);
    if (!Get(item.node, "ChOn")) {
        // A channel that is off keeps the factory record, marked off; its scan bit stays.
        map.CopyDefaultBlock(image, a, kRecordSize);
        image.WriteByte(a, 0xFF);
        return false;
    }
    image.WriteBit(ScanByte(index), ScanBit(index), Get(item.node, "ScnLst1") != 0);
    return true;
}

} // namespace

constinit const CSectionCodec radiomap::kMchCodec = {1, MchItem, DecodeMch, EncodeMch};
constinit const CSectionCodec radiomap::kChannelCodec = {kChannelCount, ChannelItem, DecodeChannel,
                                                         EncodeChannel};
