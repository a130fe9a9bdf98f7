#include "sheets/channel_ops.h"

#include "params/node.h"
#include "params/node_access.h"

#include <algorithm>
#include <cstring>

const char* const kDeleteChannelQuestion = "Delete CH ?";
const char* const kChannelOverflowQuestion = "CH overflow\nLast channel will be deleted.";
const char* const kAttrPrioA = "PrioA";
const char* const kAttrPrioB = "PrioB";
const char* const kAttrEmr = "Emr";
const char* const kLmrClipboardFormat = "NQ-Z30LMRClipboadData";
const char* const kPmrClipboardFormat = "NQ-Z30PMRClipboadData";

namespace {

// The record's layout: two text fields, then one integer field per node.
struct CTextField {
    const char* node;
    std::size_t offset;
    std::size_t size;
};
struct CIntField {
    const char* node;
    std::size_t offset;
};

constexpr CTextField kRecordTexts[] = {{"FreqRx", 0, 50}, {"FreqTx", 50, 58}};
// clang-format off
constexpr CIntField kRecordInts[] = {
    {"InhCh", 108},      {"WidNar", 112},     {"TOT", 116},        {"PwrSave", 120},
    {"ScnLst1", 124},    // 128 to 147 not written
    {"InhTx", 148},      {"CTonRx", 152},     {"CTonTx", 156},     {"2Ton", 160},
    {"AutoResetP", 164}, {"AutoResetL", 168}, {"LogInOfP", 172},   {"LogInOfL", 176},
    {"LockoutP", 180},   {"LockoutL", 184},   {"RfPwr", 188},      {"ChOn", 192},
    {"Moni", 196},       {"Sel", 200},        {"Call", 204},       {"PTT", 208},
    {"Mute", 212},       {"Form", 216},       {"RPT", 220},        {"RPTLng", 224},
    {"STN", 228},        {"STNLng", 232},     {"Id", 236},         {"IdLng", 240},
    {"IdPos", 244},      {"RxCNo1", 248},     {"RxCNo2", 252},     {"RxCNo3", 256},
    // 260 to 279 not written
};
// clang-format on

CNode* Mch(CNode* root) { return root ? root->FindChild("Mch") : nullptr; }

// The fields a move copies: the record's fields.
template <class F> void ForEachField(F f) {
    for (const CTextField& t : kRecordTexts)
        f(t.node);
    for (const CIntField& i : kRecordInts)
        f(i.node);
}

// An attribute on a channel in (lo, hi] moves by step.
void MoveAttributes(CNode* root, int lo, int hi, int step) {
    for (const char* attribute : {kAttrPrioA, kAttrPrioB, kAttrEmr}) {
        const int v = ChannelAttribute(root, attribute);
        if (v > lo && v <= hi) SetChannelAttribute(root, attribute, v + step);
    }
}

// Length of the zero-terminated text in a field; the field's size when it has no end.
std::size_t TextLength(std::span<const std::uint8_t> bytes, const CTextField& f) {
    const auto* begin = bytes.data() + f.offset;
    return static_cast<std::size_t>(std::find(begin, begin + f.size, 0) - begin);
}

} // namespace

CNode* ChannelNode(CNode* root, int n) {
    CNode* mch = Mch(root);
    return mch && n >= 0 ? mch->FindChild("CH" + std::to_string(n)) : nullptr;
}

bool IsChannelOn(CNode* root, int n) { return GetValueByName(ChannelNode(root, n), "ChOn") != 0; }

int ChannelAttribute(CNode* root, const char* attribute) {
    return GetValueByName(Mch(root), attribute);
}

void SetChannelAttribute(CNode* root, const char* attribute, int n) {
    SetValueByName(Mch(root), attribute, n);
}

void CopyChannel(CNode* root, int from, int to) {
    CNode* source = ChannelNode(root, from);
    CNode* target = ChannelNode(root, to);
    if (!source || !target || source == target) return;
    // By code: a move keeps every frequency exactly as it was.
    ForEachField(
        [&](const char* name) { SetValueByName(target, name, GetValueByName(source, name)); });
}

void ResetChannel(CNode* root, int n) {
    if (n >= 1) CopyChannel(root, 0, n);
}

bool DeleteChannel(CNode* root, int n, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (n < 1 || n > rows || !ChannelNode(root, rows)) return false;
    MoveAttributes(root, n, rows, -1);
    for (int c = n; c < rows; ++c)
        CopyChannel(root, c + 1, c);
    ResetChannel(root, rows);
    return true;
}

bool InsertChannel(CNode* root, int n, int rows) {
    rows = std::min(rows, kMemoryChannels);
    if (n < 1 || n > rows || !ChannelNode(root, rows)) return false;
    MoveAttributes(root, n - 1, rows - 1, +1);
    for (int c = rows; c > n; --c)
        CopyChannel(root, c - 1, c);
    ResetChannel(root, n);
    return true;
}

CChannelRecord PackChannelRecord(CNode* root, int n) {
    CChannelRecord record{};
    CNode* channel = ChannelNode(root, n);
    for (const CTextField& f : kRecordTexts) {
        const std::string text = GetTextByName(channel, f.node);
        std::memcpy(record.data() + f.offset, text.data(), std::min(text.size(), f.size - 1));
    }
    for (const CIntField& f : kRecordInts) {
        const auto v = static_cast<std::uint32_t>(GetValueByName(channel, f.node));
        for (int b = 0; b < 4; ++b)
            record[f.offset + b] = static_cast<std::uint8_t>(v >> (8 * b));
    }
    return record;
}

bool IsChannelRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kChannelRecordSize) return false;
    for (const CTextField& f : kRecordTexts)
        if (TextLength(bytes, f) >= f.size) return false;
    return true;
}

bool UnpackChannelRecord(CNode* root, int n, std::span<const std::uint8_t> bytes) {
    CNode* channel = ChannelNode(root, n);
    if (!channel || !IsChannelRecord(bytes)) return false;
    for (const CTextField& f : kRecordTexts) {
        const auto* text = reinterpret_cast<const char*>(bytes.data() + f.offset);
        SetTextByName(channel, f.node, std::string(text, TextLength(bytes, f)));
    }
    for (const CIntField& f : kRecordInts) {
        std::uint32_t v = 0;
        for (int b = 0; b < 4; ++b)
            v |= static_cast<std::uint32_t>(bytes[f.offset + b]) << (8 * b);
        SetValueByName(channel, f.node, static_cast<std::int32_t>(v));
    }
    return true;
}
