// Two-tone signalling of the LMR variants: "2ToneCodeCH" (receive code channels, transmit code,
// receive common).
#include "params/freq_nodes.h"
#include "params/node_access.h"
#include "radiomap/map_fields.h"
#include "radiomap/memory_map.h"
#include "radiomap/radio_data_manager.h"
#include "radiomap/two_tone_window.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <string>

using namespace radiomap;
using M = CZ30RadioDataManager;

namespace {

// Decoder windows of CH1 to CH3: four words at 0x013E + 8 * k. Coded by hand: the centres are
// derived from them.
constexpr std::uint16_t kWindows = 0x013E;
constexpr std::uint32_t kWindowsSize = 8;

// Window search.
constexpr int kCentreMin = 2500;
constexpr int kCentreMax = 33000;
constexpr int kWindowMin = 239;
constexpr int kWindowMax = 3402;

int RoundHz(double x) { return static_cast<int>(std::floor(x + 0.5)); }

} // namespace

// ---- window rule ----

void ApplyTwoToneWindow(CFreqNode* centre, CZ30UsrTonDecNode* low, CZ30UsrTonDecNode* high) {
    if (!centre || !low || !high) return;
    const double c = Clamp(centre->GetValue(), kCentreMin, kCentreMax);
    double best = 99999.0;
    double bestLo = 0.097 * c;
    double bestHi = 0.103 * c;
    for (int i = -30; i <= 30; i += 2) {
        const double x = i * 0.1;
        const double lo = x + 0.097 * c;
        const double hi = x + 0.103 * c;
        const int l = Clamp(RoundHz(lo), kWindowMin, kWindowMax);
        const int h = Clamp(RoundHz(hi), kWindowMin, kWindowMax);
        const double e = std::fabs((l + h) / 2.0 - 0.1 * c);
        if (e > best) break;
        best = e;
        bestLo = lo;
        bestHi = hi;
    }
    low->SetValue(RoundHz(bestLo));
    high->SetValue(RoundHz(bestHi));
    centre->SetValue(
        static_cast<int>(std::floor((low->GetValue() + high->GetValue()) * 0.5 * 10 + 0.5)));
}

void ApplyTwoToneWindows(CZ302TonRxCodeChNode* channel) {
    if (!channel) return;
    ApplyTwoToneWindow(channel->FirstFreq(), channel->FirstFreqLo(), channel->FirstFreqHi());
    ApplyTwoToneWindow(channel->SecondFreq(), channel->SecondFreqLo(), channel->SecondFreqHi());
}

void CZ30RadioDataManager::UpdateDependents(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return;
    const std::string name = path.substr(dot + 1);
    if (name != "1stFreq" && name != "2ndFreq") return;
    auto* ch = dynamic_cast<CZ302TonRxCodeChNode*>(GetNode(GetRoot(), path.substr(0, dot)));
    if (!ch) return;
    // Only the tone set: a second run of the rule may move a centre that was set once.
    if (name == "1stFreq")
        ApplyTwoToneWindow(ch->FirstFreq(), ch->FirstFreqLo(), ch->FirstFreqHi());
    else
        ApplyTwoToneWindow(ch->SecondFreq(), ch->SecondFreqLo(), ch->SecondFreqHi());
}

// ---- receive code channels ----

namespace {

std::uint32_t WindowsOf(int index) {
    return kWindows + kWindowsSize * static_cast<std::uint32_t>(index);
}

// The four words of a channel's windows: low and high limit of the first tone, then the second.
std::array<CZ30UsrTonDecNode*, 4> Limits(const CZ302TonRxCodeChNode* ch) {
    return {ch->FirstFreqLo(), ch->FirstFreqHi(), ch->SecondFreqLo(), ch->SecondFreqHi()};
}

// The windows give the centres, which the window rule then settles.
void DecodeRx(M&, CNode*, const CItem& item, const CByteImage& image, int index) {
    auto* ch = dynamic_cast<CZ302TonRxCodeChNode*>(item.node);
    if (index >= kCodedChannelCount || !ch) return;
    const auto limits = Limits(ch);
    for (std::uint32_t i = 0; i < 4; ++i)
        if (limits[i]) limits[i]->SetValue(ReadPlace(image, WindowsOf(index), Word(2 * i)));
    CFreqNode* centres[2] = {ch->FirstFreq(), ch->SecondFreq()};
    for (std::size_t k = 0; k < 2; ++k)
        if (centres[k] && limits[2 * k] && limits[2 * k + 1])
            centres[k]->SetValue(
                RoundHz((limits[2 * k]->GetValue() + limits[2 * k + 1]->GetValue()) * 5.0));
    ApplyTwoToneWindows(ch);
}

bool EncodeRx(M&, CNode*, const CItem& item, CByteImage& image, int index) {
    auto* ch = dynamic_cast<CZ302TonRxCodeChNode*>(item.node);
    if (index >= kCodedChannelCount || !ch) return true;
    const auto limits = Limits(ch);
    for (std::uint32_t i = 0; i < 4; ++i)
        if (limits[i]) WritePlace(image, WindowsOf(index), Word(2 * i), limits[i]->GetValue());
    return true;
}

} // namespace

constinit const CSectionCodec radiomap::k2ToneRxCodec = {
    kRxChannelCount, RxItem<k2ToneCodedSection, k2ToneGroupSection>, DecodeRx, EncodeRx,
    CFamily::Lmr};
