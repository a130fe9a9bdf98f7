// The radio's answers to the adjust utility's E8 service commands: a small model of its
// analogue readings (supply, temperature, battery, filter tuning) and the stored settings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CSimServiceModel {
public:
    enum class Battery { NiCd, LiIon, Dry };

    CSimServiceModel();

    // serviceBytes: the E8 payload after the four identity bytes (command number, then value).
    // Returns the answer bytes that follow the identity bytes in the radio's E8 frame (the
    // command repeated, then the result), or nothing when the command has no answer.
    std::optional<std::vector<std::uint8_t>> Handle(const std::vector<std::uint8_t>& serviceBytes);

    // Options.
    void SetTemperatureReading(int raw) { m_temperature = raw & 0xFF; }
    void SetSupplyReading(int raw) { m_supply = raw & 0xFF; }
    void SetLvinReading(int raw) { m_lvin = raw & 0xFF; }
    void SetBattery(Battery b) { m_battery = b; }
    // The tuning value (-128..127) at which filter 0..3 passes most.
    void SetFilterPeak(int filter, int value);
    // Answers command 3 with a reading that is not hexadecimal.
    void SetInvalidAnswers(bool on) { m_invalid = on; }

    // What the radio holds: the last value of every command 0..55 (-1 never set).
    int Stored(int command) const;
    int FilterPeak(int filter) const { return m_peaks[static_cast<std::size_t>(filter & 3)]; }
    // The reading of A/D rows 0..5 and D/A rows 0..7 (rows 6..13).
    int Reading(int row) const;
    int CommandCount() const { return m_commands; }

private:
    int filterResponse() const;
    int bpf(int filter) const;

    std::array<int, 56> m_stored{};
    std::array<int, 4> m_peaks{{-40, 10, 35, 70}};
    int m_temperature = 118;
    int m_supply = 189;
    int m_lvin = 128;
    Battery m_battery = Battery::LiIon;
    bool m_invalid = false;
    int m_commands = 0;
};
