// Memory channels: the "Mch" branch of the tree and its codec. The radio keeps 36 channel records
// of 20 bytes at 0x0200, one scan-list bit per channel at 0x01F0 and the priority and emergency
// channel numbers at 0x0073 to 0x0075 (memory_map.h).
#include "params/node_access.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"

#include <algorithm>
#include <cstdint>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

std::uint32_t RecordOf(int index) { return kChannelBase + kRecordSize * index; }

// Channel n (1 to 36) is bit 7 - (n - 1) mod 8 of byte 0x01F0 + (n - 1) / 8.
std::uint32_t ScanByte(int index) { return kScanList + static_cast<std::uint32_t>(index / 8); }
unsigned ScanBit(int index) { return 7 - static_cast<unsigned>(index % 8); }

} // namespace

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
    CNode* ch0 = GetNode(root, "Mch.CH0");
    for (const Field& f : kDefaultChannel)
        SetValueByName(ch0, f.name, f.code);
}

namespace {

// "Emr" is a channel number with a flag bit elsewhere.
void DecodeMch(M& map, CNode* root, const CItem& item, const CByteImage& image, int) {
    SetValueByName(item.node, "Emr",
                   image.ReadBit(kEmrFlag, kEmrFlagBit)
                       ? std::min<int>(image.ReadByte(kEmrChannel), 35) + 1
                       : 0);
    map.Decode(CZ30Section::Channel, root, image);
}

bool EncodeMch(M& map, CNode* root, const CItem& item, CByteImage& image, int) {
    const int e = Clamp(GetValueByName(item.node, "Emr"), 0, 36);
    image.WriteBit(kEmrFlag, kEmrFlagBit, e != 0);
    image.WriteByte(kEmrChannel, static_cast<std::uint8_t>(e ? e - 1 : 0));
    map.Encode(CZ30Section::Channel, root, image);
    return true;
}

CItem ChannelItem(CNode* root, int index) {
    return {GetNode(root, "Mch.CH" + std::to_string(index + 1)),
            {{{RecordOf(index), &kChannelSection}}}};
}

// Whether the channel is on, and its bit in the scan list outside the records.
void DecodeChannel(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    const std::uint32_t a = RecordOf(index);
    const bool on = image.ReadByte(a) != 0xFF;
    SetValueByName(item.node, "ChOn", on);
    SetValueByName(item.node, "InhCh", on ? image.ReadBit(a, 7) : 0);
    SetValueByName(item.node, "ScnLst1", image.ReadBit(ScanByte(index), ScanBit(index)));
}

bool EncodeChannel(M& map, CNode*, const CItem& item, CByteImage& image, int index) {
    const std::uint32_t a = RecordOf(index);
    if (!GetValueByName(item.node, "ChOn")) {
        // A channel that is off keeps the factory record, marked off; its scan bit stays.
        map.CopyDefaultBlock(image, a, kRecordSize);
        image.WriteByte(a, 0xFF);
        return false;
    }
    image.WriteBit(ScanByte(index), ScanBit(index), GetValueByName(item.node, "ScnLst1") != 0);
    return true;
}

} // namespace

constinit const CSectionCodec radiomap::kMchCodec = {1, Whole<kMchSection>, DecodeMch, EncodeMch};
constinit const CSectionCodec radiomap::kChannelCodec = {kChannelCount, ChannelItem, DecodeChannel,
                                                         EncodeChannel};
