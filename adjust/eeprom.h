// The adjust utility's EEPROM image, the radio identity and the NQ-Z30 reading of the image.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class clsCmcEeprom {
public:
    clsCmcEeprom() { eeSize(2048); }

    std::int32_t eeSize() const { return static_cast<std::int32_t>(m_bytes.size()); }
    // Re-creates the image with every byte 0.
    void eeSize(std::int32_t size);
    void Clear();

    std::int16_t ReadByte(std::int32_t adr) const;
    std::int16_t WriteByte(std::int32_t adr, std::uint8_t data);
    std::int16_t ReadBit(std::int32_t adr, int bit) const;
    std::int16_t WriteBlock(std::int32_t adr, const std::vector<std::uint8_t>& bytes);

private:
    bool inside(std::int64_t adr) const { return adr >= 0 && adr < eeSize(); }
    std::vector<std::uint8_t> m_bytes;
};

class clsCmcRadio {
public:
    std::string radioNameM = "0000";
    std::string radionameS = "0000";
    clsCmcEeprom eepImage;
};

// Temperature borders of the 20 reference areas, in A/D counts.
constexpr std::array<int, 21> kTxfTempBorder = {
    0, 16, 24, 32, 40, 48, 64, 80, 96, 112, 128, 144, 160, 176, 192, 208, 216, 224, 232, 240, 255};

class clsIndEep_RigZ30 {
public:
    explicit clsIndEep_RigZ30(clsCmcRadio* radio) : m_radio(radio) {}

    static constexpr int kChannels = 36;
    static constexpr int kChannelBase = 512;
    static constexpr int kChannelSize = 20;

    bool RigZ30Eep_GetChAppear(int n) const;
    std::string RigZ30Eep_GetChName(int n) const;
    std::int32_t RigZ30Eep_GetChFreqRxReal(int n) const;
    std::int32_t RigZ30Eep_GetChFreqTxReal(int n) const;
    std::int16_t RigZ30Eep_GetChRFPower(int n) const;
    bool RigZ30Eep_GetChMode(int n) const;
    std::int32_t ReadFreqBlock(std::int32_t adr) const;
    bool Check_MRCH(std::int32_t adr) const;
    bool Check_Inh(std::int32_t adr) const;
    // The parameter report; it replaces the text field's contents.
    void RigZ30Eep_DispPara(std::string& textBox) const;
    std::string RigZ30Eep_DispPara() const;

    static std::int32_t ChannelAdr(int n) { return kChannelBase + kChannelSize * n; }

private:
    const clsCmcEeprom& eep() const { return m_radio->eepImage; }
    clsCmcRadio* m_radio;
};
