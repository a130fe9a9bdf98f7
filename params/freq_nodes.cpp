#include "params/freq_nodes.h"

#include "core/ctext.h"

#include <algorithm>
#include <climits>
#include <cmath>

KT_IMPLEMENT_DYNCREATE(CFreqNode, CNode)
KT_IMPLEMENT_DYNCREATE(CZ30MchFreqNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ30IfFreqNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ30BeepFreqNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ30UsrCtcssFreqNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ30UsrTonEncNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ30UsrTonDecNode, CFreqNode)
KT_IMPLEMENT_DYNCREATE(CZ302TonRxCodeChNode, CNode)
KT_IMPLEMENT_DYNCREATE(CZ305TonUsrTonNode, CNode)

namespace {
// The reference clock of the radio's tone dividers.
constexpr double kToneClockHz = 14745600.0;
// The tone generator's step is 6800 / 16384 Hz.
constexpr double kToneStepNum = 6800.0;
constexpr double kToneStepDen = 16384.0;

std::string_view SkipSpacesAndTabs(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t'))
        ++i;
    return t.substr(i);
}

int ToInt(double v) {
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}
} // namespace

// ---- CFreqNode ----

CFreqParse CFreqNode::ParseCommon(const std::string& text) const {
    // Codes beyond this are no value any setting could mean, and doubles stop being exact.
    constexpr double kNoNumberBeyond = 9007199254740992.0; // 2^53
    if (!IsWholeCNumber(text)) return Refusal(CSetReason::NotANumber);
    const std::string_view t = SkipSpacesAndTabs(text).substr(0, 15);
    double x = 0;
    if (!ParseCDouble(t, &x) || !std::isfinite(x)) return Refusal(CSetReason::NotANumber);
    const double exact = std::max(x, 0.0) * m_divisor;
    if (!(exact < kNoNumberBeyond)) return Refusal(CSetReason::NotANumber);
    const double c = std::floor(exact + 0.5);
    CFreqParse p;
    if (x < 0 || c > INT_MAX) {
        p.reason = CSetReason::Clamped;
        p.code = x < 0 ? 0 : Fallback();
    } else {
        p.code = static_cast<int>(c);
        if (std::fabs(exact - c) > 1e-3) p.reason = CSetReason::Rounded;
    }
    return p;
}

CFreqParse CFreqNode::Changed(CFreqParse p, long long code, CSetReason how) {
    if (code != p.code && p.reason != CSetReason::Clamped) p.reason = how;
    p.code = ToInt(static_cast<double>(code));
    return p;
}

CFreqParse CFreqNode::ParseFreq(const std::string& text) const { return ParseCommon(text); }

CSetResult CFreqNode::SetText(const std::string& text) {
    const CFreqParse p = ParseFreq(text);
    if (p.refused) return CSetResult::Refused(this, p.reason);
    return SetValue(p.code).ChangedBefore(p.reason);
}

void CFreqNode::CopyFrom(const CNode& other) {
    CNode::CopyFrom(other);
    if (const auto* v = dynamic_cast<const CChoiceValue*>(&other); v && v != this) {
        CopyValuePart(*v);
        CopyChoices(*v);
    }
}

std::string CFreqNode::GetText() const {
    return FormatFixed(static_cast<double>(GetValue()) / m_divisor, 5);
}

CFreqParse CParseLimitedFreqNode::ParseClamped(const std::string& text) const {
    const CFreqParse p = ParseCommon(text);
    if (p.refused) return p;
    return Changed(p, std::clamp(p.code, m_parseMin, m_parseMax), CSetReason::Clamped);
}

// ---- Channel raster ----

long long CZ30MchFreqNode::OnRaster(long long hz) {
    static constexpr long long kSteps[] = {2500, 3125, 5000, 6250, 7500};
    const long long base = hz / 1000 * 1000;
    for (long long off = 0; off < 1000; off += 125)
        for (long long step : kSteps)
            if ((base + off) % step == 0) return base + off;
    return -1;
}

CFreqParse CZ30MchFreqNode::ParseFreq(const std::string& text) const {
    const CFreqParse p = ParseCommon(text);
    if (p.refused) return p;
    const long long snapped = OnRaster(p.code);
    if (snapped < 0) return Refusal(CSetReason::OffRaster);
    return Changed(p, std::min<long long>(snapped, INT_MAX), CSetReason::Snapped);
}

std::string CZ30MchFreqNode::GridText() {
    SetText(FormatFixed(static_cast<double>(GetValue()) / 1000000, 6));
    return FormatFixed(static_cast<double>(GetValue()) / 1000000, 6);
}

// ---- IF offset ----

CFreqParse CZ30IfFreqNode::ParseFreq(const std::string& text) const {
    std::string_view t = SkipSpacesAndTabs(text);
    const bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    CFreqParse p = ParseCommon(std::string(t));
    if (p.refused) return p;
    if (p.code % 25000 != 0) return Refusal(CSetReason::OffRaster);
    p.code = p.code / 1000 * 1000;
    if (negative) p.code = -p.code;
    return p;
}

// ---- Beep tone divider ----

int CZ30BeepFreqNode::Divider(double hz) {
    if (!(hz > 0)) return 0;
    return static_cast<int>(static_cast<long long>(std::floor(kToneClockHz / (256 * hz) + 0.5)) %
                            256);
}

int CZ30BeepFreqNode::Tone(int n) {
    return n > 0 ? ToInt(std::floor(kToneClockHz / (256.0 * n) + 0.5)) : 0;
}

CFreqParse CZ30BeepFreqNode::ParseFreq(const std::string& text) const {
    const CFreqParse p = ParseClamped(text);
    if (p.refused) return p;
    const int n = Divider(p.code);
    if (n == 0) return Refusal(CSetReason::OffRaster);
    return Changed(p, Tone(n), CSetReason::Snapped);
}

// ---- User CTCSS divider ----

int CZ30UsrCtcssFreqNode::Divider(double tenthsHz) {
    if (!(tenthsHz > 0)) return 0;
    const double hz = tenthsHz / 10.0;
    return static_cast<int>(static_cast<long long>(std::floor(kToneClockHz / (hz * 128) + 0.5)) %
                            65536);
}

CFreqParse CZ30UsrCtcssFreqNode::ParseFreq(const std::string& text) const {
    const CFreqParse p = ParseClamped(text);
    if (p.refused) return p;
    const int n = Divider(p.code);
    if (n == 0) return Refusal(CSetReason::OffRaster);
    return Changed(p, ToInt(std::floor(GetDivisor() * kToneClockHz / (128.0 * n) + 0.5)),
                   CSetReason::Snapped);
}

// ---- Tone generator ----

int CZ30UsrTonEncNode::Word(int hz) {
    return static_cast<int>(static_cast<long long>(std::floor(hz * kToneStepDen / kToneStepNum)) &
                            0xFFFF);
}

int CZ30UsrTonEncNode::FromWord(int word) {
    return ToInt(std::floor(word * kToneStepNum / kToneStepDen + 0.5));
}

CFreqParse CZ30UsrTonEncNode::ParseFreq(const std::string& text) const {
    const CFreqParse p = ParseClamped(text);
    if (p.refused) return p;
    return Changed(p, FromWord(Word(p.code)), CSetReason::Snapped);
}

CFreqParse CZ30UsrTonDecNode::ParseFreq(const std::string& text) const {
    return ParseClamped(text);
}

// ---- Composite signalling nodes ----

namespace {
template <class T> void BindTo(CNode& parent, const char* name, T*& pointer) {
    if (auto* child = dynamic_cast<T*>(parent.FindChild(name))) pointer = child;
}
} // namespace

CZ302TonRxCodeChNode::CZ302TonRxCodeChNode(const char* name)
    : CNode(name),
      m_own1stFreq(std::make_unique<CFreqNode>("1stFreq", 2500, 2500, 2500, 33000, 10)),
      m_own2ndFreq(std::make_unique<CFreqNode>("2ndFreq", 2500, 2500, 2500, 33000, 10)),
      m_own1stFreqLo(std::make_unique<CZ30UsrTonDecNode>("1stFreqLo", 250, 250, 239, 3402)),
      m_own1stFreqHi(std::make_unique<CZ30UsrTonDecNode>("1stFreqHi", 250, 250, 239, 3402)),
      m_own2ndFreqLo(std::make_unique<CZ30UsrTonDecNode>("2ndFreqLo", 250, 250, 239, 3402)),
      m_own2ndFreqHi(std::make_unique<CZ30UsrTonDecNode>("2ndFreqHi", 250, 250, 239, 3402)),
      m_1stFreq(m_own1stFreq.get()), m_2ndFreq(m_own2ndFreq.get()),
      m_1stFreqLo(m_own1stFreqLo.get()), m_1stFreqHi(m_own1stFreqHi.get()),
      m_2ndFreqLo(m_own2ndFreqLo.get()), m_2ndFreqHi(m_own2ndFreqHi.get()) {}

CZ302TonRxCodeChNode::~CZ302TonRxCodeChNode() = default;

void CZ302TonRxCodeChNode::Bind() {
    BindTo(*this, "1stFreq", m_1stFreq);
    BindTo(*this, "2ndFreq", m_2ndFreq);
    BindTo(*this, "1stFreqLo", m_1stFreqLo);
    BindTo(*this, "1stFreqHi", m_1stFreqHi);
    BindTo(*this, "2ndFreqLo", m_2ndFreqLo);
    BindTo(*this, "2ndFreqHi", m_2ndFreqHi);
}

CZ305TonUsrTonNode::CZ305TonUsrTonNode(const char* name)
    : CNode(name), m_ownEnc(std::make_unique<CZ30UsrTonEncNode>("Enc")),
      m_ownDecL(std::make_unique<CZ30UsrTonDecNode>("DecL")),
      m_ownDecH(std::make_unique<CZ30UsrTonDecNode>("DecH")), m_enc(m_ownEnc.get()),
      m_decL(m_ownDecL.get()), m_decH(m_ownDecH.get()) {}

CZ305TonUsrTonNode::~CZ305TonUsrTonNode() = default;

void CZ305TonUsrTonNode::Bind() {
    BindTo(*this, "Enc", m_enc);
    BindTo(*this, "DecL", m_decL);
    BindTo(*this, "DecH", m_decH);
}
