#include "adjust/eeprom.h"

#include <cstdio>

void clsCmcEeprom::eeSize(std::int32_t size) { m_bytes.assign(size > 0 ? size : 0, 0); }

void clsCmcEeprom::Clear() { std::fill(m_bytes.begin(), m_bytes.end(), 0); }

std::int16_t clsCmcEeprom::ReadByte(std::int32_t adr) const {
    return inside(adr) ? m_bytes[adr] : 0;
}

std::int16_t clsCmcEeprom::WriteByte(std::int32_t adr, std::uint8_t data) {
    if (!inside(adr)) return 1;
    m_bytes[adr] = data;
    return 0;
}

std::int16_t clsCmcEeprom::ReadBit(std::int32_t adr, int bit) const {
    if (!inside(adr) || bit < 0 || bit > 7) return 0;
    return (m_bytes[adr] >> bit) & 1;
}

std::int16_t clsCmcEeprom::WriteBlock(std::int32_t adr, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return inside(adr) ? 0 : 1;
    const std::int64_t last = std::int64_t{adr} + static_cast<std::int64_t>(bytes.size()) - 1;
    if (!inside(adr) || !inside(last)) return 1;
    std::copy(bytes.begin(), bytes.end(), m_bytes.begin() + adr);
    return 0;
}

bool clsIndEep_RigZ30::RigZ30Eep_GetChAppear(int n) const {
    return n >= 0 && eep().ReadByte(ChannelAdr(n)) != 0xFF;
}

std::string clsIndEep_RigZ30::RigZ30Eep_GetChName(int n) const { return std::to_string(n + 1); }

std::int32_t clsIndEep_RigZ30::RigZ30Eep_GetChFreqRxReal(int n) const {
    return ReadFreqBlock(ChannelAdr(n));
}

std::int32_t clsIndEep_RigZ30::RigZ30Eep_GetChFreqTxReal(int n) const {
    return ReadFreqBlock(ChannelAdr(n) + 3);
}

std::int16_t clsIndEep_RigZ30::RigZ30Eep_GetChRFPower(int n) const {
    const std::int32_t adr = ChannelAdr(n) + 9;
    if (!eep().ReadBit(adr, 1)) return 2;
    return eep().ReadBit(adr, 0) ? 0 : 1;
}

bool clsIndEep_RigZ30::RigZ30Eep_GetChMode(int n) const {
    return eep().ReadBit(ChannelAdr(n) + 12, 7) != 0;
}

std::int32_t clsIndEep_RigZ30::ReadFreqBlock(std::int32_t adr) const {
    std::int32_t khz = 0;
    for (int i = 0; i < 3; ++i) {
        const int b = eep().ReadByte(adr + i);
        if ((b >> 4) > 9 || (b & 0x0F) > 9) return 0;
        khz = khz * 100 + (b >> 4) * 10 + (b & 0x0F);
    }
    return khz * 1000;
}

bool clsIndEep_RigZ30::Check_MRCH(std::int32_t adr) const { return eep().ReadByte(adr) != 0xFF; }

bool clsIndEep_RigZ30::Check_Inh(std::int32_t adr) const { return eep().ReadBit(adr, 7) != 0; }

namespace {

struct ParaItem {
    const char* label;
    int adr;
    bool isSigned;
};

constexpr ParaItem kParaHead[] = {
    {"POW HI Level", 38, false},      {"POW L2 Level", 37, false},
    {"POW L1 Level", 36, false},      {"DTCS Bal Level", 45, false},
    {"MOD W Level", 43, false},       {"MOD N Level", 44, false},
    {"SQL Level", 167, false},        {"BPF T1 Level", 39, true},
    {"BPF T2 Level", 40, true},       {"BPF T3 Level", 41, true},
    {"BPF T4 Level", 42, true},       {"MOD Level(Div) 0", 24, true},
    {"MOD Level(Div) 1", 25, true},   {"MOD Level(Div) 2", 26, true},
    {"MOD Level(Div) 3", 27, true},   {"MOD Level(Div) 4", 28, true},
    {"Power Level(Div) 0", 29, true}, {"Power Level(Div) 1", 30, true},
    {"Power Level(Div) 2", 31, true}, {"Power Level(Div) 3", 32, true},
    {"Power Level(Div) 4", 33, true}, {"MOD Slant", 34, true},
    {"SQL Slant", 35, false},
};

std::string label(const std::string& text) {
    std::string s = text + ": ";
    return std::string(s.size() < 25 ? 25 - s.size() : 0, ' ') + s;
}

std::string value4(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", v);
    return buf;
}

} // namespace

void clsIndEep_RigZ30::RigZ30Eep_DispPara(std::string& textBox) const {
    std::string out;
    auto line = [&out](const std::string& l, const std::string& v) {
        out += label(l) + v + "\r\n";
    };
    auto byteValue = [this](int adr, bool isSigned) {
        int v = eep().ReadByte(adr);
        return isSigned && v >= 128 ? v - 256 : v;
    };
    for (const ParaItem& p : kParaHead)
        line(p.label, value4(byteValue(p.adr, p.isSigned)));
    const int base = eep().ReadByte(23);
    line("Base Frequency", value4((base >> 4) * 10 + (base & 0x0F)) + "0.000MHz");
    for (int i = 0; i <= 20; ++i)
        line("REF Area " + std::to_string(i), value4(kTxfTempBorder[i]));
    for (int i = 0; i < 20; ++i)
        line("REF Initial " + std::to_string(i), value4(byteValue(66 + i, false)));
    for (int i = 0; i < 20; ++i)
        line("REF Slant " + std::to_string(i), value4(byteValue(46 + i, true)));
    textBox = out;
}

std::string clsIndEep_RigZ30::RigZ30Eep_DispPara() const {
    std::string s;
    RigZ30Eep_DispPara(s);
    return s;
}
