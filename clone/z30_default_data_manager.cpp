#include "clone/z30_default_data_manager.h"

#include "clone/clone_manager.h"

#include <span>

KT_IMPLEMENT_DYNCREATE(CZ30DefaultDataManager, CDefaultDataManager)

namespace {
using Image = CZ30DefaultDataManager::Image;

// A run of the image: bytes written at address + i * stride for i = 0 .. count - 1.
struct Run {
    std::uint16_t address;
    std::uint16_t count;
    std::uint16_t stride;
    std::span<const std::uint8_t> bytes;
};

template <class... B> constexpr auto Bytes(B... b) {
    return std::array<std::uint8_t, sizeof...(B)>{static_cast<std::uint8_t>(b)...};
}

// ---- LMR factory image (variant 0) ----

constexpr auto kHead = Bytes(0x58, 0x27, 0x01, 0x00, 0x00, 0x00, 0x00, 0xC3, 0x84, 0x63, 0x50, 0x0D,
                             0x32, 0x64, 0x0F, 0x0A, 0x32, 0x2D, 0x3C, 0x8C, 0x05, 0x19, 0x03);
static_assert(kHead.size() == 0x017 - 0x000);

constexpr auto kSettings070 =
    Bytes(0x73, 0x3A, 0x24, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x0A, 0x0E, 0x0F, 0x00, 0x00, 0x04, 0x80,
          0x00, 0x64, 0x32, 0x1E, 0x50, 0x50, 0x50, 0x50, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x1E, 0x32,
          0x1E, 0x10, 0x10, 0x14, 0x0A, 0x0A, 0x1E, 0x14, 0x05, 0x0A, 0x1E, 0x00, 0x3C, 0x3C, 0x32,
          0x3C, 0x00, 0x0E, 0x18, 0x05, 0x10, 0x0E, 0x18, 0x00, 0x00, 0x00, 0x00);
static_assert(kSettings070.size() == 0x0A9 - 0x070);

constexpr auto kSettings0A9 =
    Bytes(0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F);
static_assert(kSettings0A9.size() == 0x0B8 - 0x0A9);

constexpr auto kBlank = Bytes(0x20);

constexpr auto kTones120 = Bytes(
    0x02, 0x5A, 0x1F, 0x0F, 0x0B, 0x44, 0x0C, 0x00, 0x0C, 0xC7, 0x0D, 0x9C, 0x0E, 0x7E, 0x0F, 0x6D,
    0x10, 0x71, 0x11, 0x81, 0x16, 0x98, 0x08, 0xC0, 0x15, 0x23, 0x09, 0x53, 0x13, 0xD9, 0x00, 0xF3,
    0x01, 0x02, 0x0C, 0x81, 0x0D, 0x47, 0x00, 0xF3, 0x01, 0x02, 0x0C, 0x81, 0x0D, 0x47, 0x00, 0xF3,
    0x01, 0x02, 0x0C, 0x81, 0x0D, 0x47, 0x05, 0xE5, 0x06, 0x23, 0x06, 0x46, 0x06, 0x88, 0x06, 0xB0);
static_assert(kTones120.size() == 0x160 - 0x120);

constexpr auto kTones160 = Bytes(
    0x06, 0xF6, 0x07, 0x1E, 0x07, 0x6A, 0x09, 0x30, 0x09, 0x92, 0x03, 0x8F, 0x03, 0xB5, 0x08, 0x99,
    0x08, 0xF3, 0x03, 0xCB, 0x03, 0xF3, 0x08, 0x12, 0x08, 0x68, 0x14, 0x64, 0x46, 0x46, 0x46, 0x28,
    0x28, 0x64, 0x21, 0x08, 0x10, 0x0A, 0x0A, 0x0A, 0x06, 0x06, 0x10, 0x06, 0x11, 0x11, 0x0C, 0x0C,
    0x0C, 0x07, 0x07, 0x11, 0x06, 0x32, 0x08, 0x00, 0x00, 0x00, 0x05, 0x16, 0x05, 0x16, 0x05, 0x16);
static_assert(kTones160.size() == 0x1A0 - 0x160);

constexpr auto kScan1F0 = Bytes(0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x91, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0x00, 0x00, 0x00, 0x00, 0x00);
static_assert(kScan1F0.size() == 0x200 - 0x1F0);

constexpr auto kChannelRecord = Bytes(0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x80, 0x08, 0x00, 0x93,
                                      0x00, 0x30, 0x02, 0x00, 0x00, 0x00, 0x00, 0x81, 0x00, 0x00);
static_assert(kChannelRecord.size() == 20);

constexpr auto kTxCodeRecord = Bytes(0x01, 0xFF, 0xFF, 0xFF, 0x19, 0x00);
constexpr auto kTxCodeRecordLast = Bytes(0x01, 0xFF, 0xFF, 0xFF, 0x00, 0x30);
constexpr auto kSignal602 = Bytes(0x82, 0x03, 0x00);
constexpr auto kRxCodeRecord = Bytes(0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x83, 0x02, 0x00);
constexpr auto kMakerName = Bytes('N', 'O', 'R', 'Q', ' ', 'I', 'n', 'c');

// Everything not listed is 0x00.
constexpr Run kLmrImage[] = {
    {0x000, 1, 1, kHead},
    {0x070, 1, 1, kSettings070},
    {0x0A9, 1, 1, kSettings0A9},
    {0x100, 32, 1, kBlank},
    {0x120, 1, 1, kTones120},
    {0x160, 1, 1, kTones160},
    {0x1F0, 1, 1, kScan1F0},
    {0x200, 36, 20, kChannelRecord},
    {0x520, 28, 6, kTxCodeRecord},
    {0x5C8, 4, 6, kTxCodeRecordLast},
    {0x602, 1, 1, kSignal602},
    {0x605, 8, 9, kRxCodeRecord},
    {0x650, 16, 20, kChannelRecord},
    {0x7F8, 1, 1, kMakerName},
};

// ---- PMR factory image (variant 1): the LMR image with these differences ----

constexpr auto kPmrFlag = Bytes(0x08);
constexpr auto kPmr087 = Bytes(0x46);
constexpr auto kPmr120 = Bytes(0x12, 0xA5, 0x0A, 0x94);
constexpr auto kPmr13E =
    Bytes(0x07, 0x95, 0x07, 0xE5, 0x04, 0x4D, 0x04, 0x7B, 0x04, 0x95, 0x04, 0xC5, 0x04, 0xE1, 0x05,
          0x15, 0x05, 0x32, 0x05, 0x6A, 0x05, 0x89, 0x05, 0xC3);
static_assert(kPmr13E.size() == 0x156 - 0x13E);
constexpr auto kPmr17A = Bytes(0x64);
constexpr auto kPmr183 = Bytes(0x10);
constexpr auto kPmrRecord15 = Bytes(0x01);
constexpr auto kPmrRecord17 = Bytes(0x00);
constexpr auto kPmrRecord19 = Bytes(0xE0);
constexpr auto kTxCode1 = Bytes(0x11, 0x11, 0x1F);
constexpr auto kTxCode2 = Bytes(0x22, 0x22, 0x2F);
constexpr auto kTxCode3 = Bytes(0x33, 0x33, 0x3F);
constexpr auto kTxCode4 = Bytes(0x44, 0x44, 0x4F);
constexpr auto kTxCode5 = Bytes(0x55, 0x55, 0x5F);
constexpr auto kTxCode6 = Bytes(0x66, 0x66, 0x6F);
constexpr auto kTxCode7 = Bytes(0x77, 0x77, 0x7F);
constexpr auto kTxCode8 = Bytes(0x88, 0x88, 0x8F);
constexpr auto kTxCode9 = Bytes(0x99, 0x99, 0x9F);
constexpr auto kTxCodeEmpty = Bytes(0x00, 0x00, 0x0F);
constexpr auto kRxCode1 = Bytes(0x11, 0x11, 0x1F, 0xFF);
constexpr auto kRxCode2 = Bytes(0x22, 0x22, 0x2F, 0xFF);
constexpr auto kRxCode3 = Bytes(0x33, 0x33, 0x3F, 0xFF);
constexpr auto kRxCode4 = Bytes(0x44, 0x44, 0x4F, 0xFF);
constexpr auto kRxCode5 = Bytes(0x55, 0x55, 0x5F, 0xFF);
constexpr auto kRxCode6 = Bytes(0x66, 0x66, 0x6F, 0xFF);
constexpr auto kRxCode7 = Bytes(0x77, 0x77, 0x7F, 0xFF);
constexpr auto kRxCode8 = Bytes(0x88, 0x88, 0x8F, 0xFF);

constexpr Run kPmrDifferences[] = {
    {0x07B, 1, 1, kPmrFlag},
    {0x087, 1, 1, kPmr087},
    {0x120, 1, 1, kPmr120},
    {0x13E, 1, 1, kPmr13E},
    {0x17A, 1, 1, kPmr17A},
    {0x183, 1, 1, kPmr183},
    {0x200 + 15, 36, 20, kPmrRecord15},
    {0x200 + 17, 36, 20, kPmrRecord17},
    {0x200 + 19, 36, 20, kPmrRecord19},
    {0x650 + 15, 16, 20, kPmrRecord15},
    {0x650 + 17, 16, 20, kPmrRecord17},
    {0x650 + 19, 16, 20, kPmrRecord19},
    {0x520, 1, 1, kTxCode1},
    {0x526, 1, 1, kTxCode2},
    {0x52C, 1, 1, kTxCode3},
    {0x532, 1, 1, kTxCode4},
    {0x538, 1, 1, kTxCode5},
    {0x53E, 1, 1, kTxCode6},
    {0x544, 1, 1, kTxCode7},
    {0x54A, 1, 1, kTxCode8},
    {0x550, 1, 1, kTxCode9},
    {0x556, 23, 6, kTxCodeEmpty},
    {0x605, 1, 1, kRxCode1},
    {0x60E, 1, 1, kRxCode2},
    {0x617, 1, 1, kRxCode3},
    {0x620, 1, 1, kRxCode4},
    {0x629, 1, 1, kRxCode5},
    {0x632, 1, 1, kRxCode6},
    {0x63B, 1, 1, kRxCode7},
    {0x644, 1, 1, kRxCode8},
};

// ---- Channel classes: bytes 0x003 and 0x007 ----

struct ClassBytes {
    std::uint8_t byte003;
    std::uint8_t byte007;
};
constexpr ClassBytes kChannelClass[] = {
    {0x00, 0xC3}, // 1 channel
    {0x01, 0xC2}, // 2 channels
    {0x02, 0xC0}, // 16 channels
};

constexpr Image Apply(Image image, std::span<const Run> runs) {
    for (const Run& r : runs)
        for (std::size_t i = 0; i < r.count; ++i)
            for (std::size_t j = 0; j < r.bytes.size(); ++j)
                image[r.address + i * r.stride + j] = r.bytes[j];
    return image;
}

constexpr std::array<Image, 6> MakeFactoryImages() {
    const Image lmr = Apply(Image{}, kLmrImage);
    const Image pmr = Apply(lmr, kPmrDifferences);
    std::array<Image, 6> all{};
    for (int v = 0; v < 6; ++v) {
        all[v] = v % 2 ? pmr : lmr;
        all[v][0x003] = kChannelClass[v / 2].byte003;
        all[v][0x007] = kChannelClass[v / 2].byte007;
    }
    return all;
}

constexpr std::array<Image, 6> kFactoryImages = MakeFactoryImages();

static_assert(kFactoryImages[4][0x007] == 0xC0 && kFactoryImages[5][0x07B] == 0x08);
static_assert(kFactoryImages[1][0x200 + 19] == 0xE0 && kFactoryImages[0][0x7FF] == 'c');

int IndexOf(int variant) { return variant >= 1 && variant <= 5 ? variant : 0; }
} // namespace

const CZ30DefaultDataManager::Image& CZ30DefaultDataManager::FactoryBytes(int index) {
    return kFactoryImages[IndexOf(index)];
}

const CByteImage& CZ30DefaultDataManager::FactoryImage(int index) {
    static const std::array<CByteImage, 6> images = [] {
        std::array<CByteImage, 6> all;
        for (int v = 0; v < 6; ++v) {
            all[v].Resize(kImageSize);
            all[v].WriteBlock(0, kFactoryImages[v].data(), kImageSize);
        }
        return all;
    }();
    return images[IndexOf(index)];
}

int CZ30DefaultDataManager::Resolve(int variant) const {
    if (variant >= 0) return variant;
    const CCloneManagerTemplate* hub = GetOwner();
    return hub ? hub->GetVariant() : 0;
}

const CByteImage* CZ30DefaultDataManager::DefaultImage(int variant) const {
    return &FactoryImage(Resolve(variant));
}

int CZ30DefaultDataManager::ResetByte(int variant, std::uint32_t address) {
    CByteImage* image = GetOwner() ? GetOwner()->GetImage() : nullptr;
    if (!image) return 0;
    if (address < kImageSize) image->WriteByte(address, FactoryBytes(Resolve(variant))[address]);
    return 1;
}

int CZ30DefaultDataManager::ResetBit(int variant, std::uint32_t address, unsigned bit) {
    CByteImage* image = GetOwner() ? GetOwner()->GetImage() : nullptr;
    if (!image) return 0;
    if (address < kImageSize)
        image->WriteBit(address, bit, (FactoryBytes(Resolve(variant))[address] >> (bit & 7)) & 1);
    return 1;
}

int CZ30DefaultDataManager::ResetBlock(int variant, std::uint32_t address, std::uint32_t n) {
    CByteImage* image = GetOwner() ? GetOwner()->GetImage() : nullptr;
    if (!image) return 0;
    if (n > 0 && address < kImageSize && n <= kImageSize - address)
        image->WriteBlock(address, FactoryBytes(Resolve(variant)).data() + address, n);
    return 1;
}

int CZ30DefaultDataManager::LoadWhole(int variant) {
    CByteImage* image = GetOwner() ? GetOwner()->GetImage() : nullptr;
    if (!image) return 0;
    image->WriteBlock(0, FactoryBytes(Resolve(variant)).data(), kImageSize);
    return 1;
}
