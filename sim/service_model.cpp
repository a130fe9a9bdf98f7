#include "sim/service_model.h"

#include "core/ctext.h"

#include <algorithm>
#include <cstdlib>

namespace {

int hexDigit(std::uint8_t c) { return HexDigitValue(static_cast<char>(c)); }

constexpr int kReadRow = 3;
constexpr int kFilterBase = 12;
constexpr int kRefInitialBase = 16;
// A filter detunes by one count per tuning step, at most this far.
constexpr int kFilterSkirt = 60;

} // namespace

CSimServiceModel::CSimServiceModel() {
    m_stored.fill(-1);
    for (int f = 0; f < 4; ++f)
        m_stored[static_cast<std::size_t>(kFilterBase + f)] = 0;
}

void CSimServiceModel::SetFilterPeak(int filter, int value) {
    m_peaks[static_cast<std::size_t>(filter & 3)] = std::clamp(value, -128, 127);
}

int CSimServiceModel::Stored(int command) const {
    return command >= 0 && command < static_cast<int>(m_stored.size())
               ? m_stored[static_cast<std::size_t>(command)]
               : -1;
}

int CSimServiceModel::bpf(int filter) const {
    const int v = m_stored[static_cast<std::size_t>(kFilterBase + filter)];
    return v > 127 ? v - 256 : v;
}

int CSimServiceModel::filterResponse() const {
    int sum = 15;
    for (int f = 0; f < 4; ++f)
        sum += kFilterSkirt -
               std::min(std::abs(bpf(f) - m_peaks[static_cast<std::size_t>(f)]), kFilterSkirt);
    return std::clamp(sum, 0, 255);
}

int CSimServiceModel::Reading(int row) const {
    auto stored = [this](int cmd) { return std::max(Stored(cmd), 0); };
    switch (row) {
    case 0:
        return m_supply;
    case 1:
        return m_temperature;
    case 2:
        return m_lvin;
    case 3:
        return filterResponse();
    case 4:
        return 0;
    case 5:
        return m_battery == Battery::NiCd ? 60 : m_battery == Battery::LiIon ? 128 : 200;
    case 6:
    case 7:
    case 8:
    case 9:
        return bpf(row - 6) + 128;
    case 10: {
        // The reference voltage follows REF Initial of the area the temperature lies in.
        static constexpr int kBorders[] = {16,  24,  32,  40,  48,  64,  80,  96,  112, 128,
                                           144, 160, 176, 192, 208, 216, 224, 232, 240};
        int area = 0;
        while (area < 19 && m_temperature >= kBorders[area])
            ++area;
        return stored(kRefInitialBase + area);
    }
    case 11:
        return stored(10);
    case 12:
        return stored(8);
    case 13:
        return stored(4);
    default:
        return 0;
    }
}

std::optional<std::vector<std::uint8_t>>
CSimServiceModel::Handle(const std::vector<std::uint8_t>& serviceBytes) {
    if (serviceBytes.size() < 3) return std::nullopt;
    const int command = serviceBytes[0];
    const int hi = hexDigit(serviceBytes[1]);
    const int lo = hexDigit(serviceBytes[2]);
    if (hi < 0 || lo < 0) return std::nullopt;
    const int value = hi * 16 + lo;
    ++m_commands;
    if (command != kReadRow) {
        if (command < static_cast<int>(m_stored.size()))
            m_stored[static_cast<std::size_t>(command)] = value;
        return std::nullopt;
    }
    if (m_invalid) return std::vector<std::uint8_t>{kReadRow, 'Z', 'Z'};
    const int r = Reading(value) & 0xFF;
    return std::vector<std::uint8_t>{kReadRow, static_cast<std::uint8_t>(kUpperHexDigits[r >> 4]),
                                     static_cast<std::uint8_t>(kUpperHexDigits[r & 0x0F])};
}
