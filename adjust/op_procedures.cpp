// The guided procedures run by state 20 of the operations cycle: the TXF temperature
// compensation and the BPF peak sweep.
#include <algorithm>
#include <cmath>

#include "adjust/op_rigz30.h"

namespace {
constexpr int kRefInitialAdr = 66;
constexpr int kRefSlantAdr = 46;
constexpr int kE8RefInitial = 16;
constexpr int kE8RefSlant = 36;
constexpr int kTxfWriteWaitMs = 200;

// Rounded half up. "Const.ini" may hold any finite number, so the table can run out of every
// range: the result stays within +-1e9 (NaN reads 0) and the clamps of the writes take over.
int roundHalfUp(double x) {
    if (std::isnan(x)) return 0;
    return static_cast<int>(std::clamp(std::floor(x + 0.5), -1e9, 1e9));
}
} // namespace

bool clsIndOp_RigZ30::txfStep() {
    int t = 0;
    switch (procState) {
    case 1:
        txfArea = txfRecordedArea = txfRecordedValue = -1;
        txfEnter = txfEnterTaken = false;
        procState = 2;
        break;
    case 2: {
        const int r = readRow(1, t);
        if (r <= 0) return r < 0;
        if (txfSecondPoint) {
            console.Value(kTxf, firstSetting > 204 ? 255 : firstSetting + 60);
        } else {
            txfArea = TempArea(t);
            console.Value(kTxf, m_radio->eepImage.ReadByte(kRefInitialAdr + txfArea));
        }
        procState = 3;
        break;
    }
    case 3: {
        const int r = readRow(1, t);
        if (r <= 0) return r < 0;
        txfArea = TempArea(t);
        const int value = console.Value(kTxf);
        if (value == txfRecordedValue && txfArea == txfRecordedArea && !txfEnter) {
            procState = 5;
            break;
        }
        txfRecordedValue = value;
        txfRecordedArea = txfArea;
        txfWrites.clear();
        txfFullWrite = txfEnter && txfSecondPoint;
        if (txfEnter) {
            txfEnterTaken = true;
            txfEnter = false;
        }
        if (txfFullWrite) {
            secondSetting = value;
            const double slope = (secondSetting - firstSetting) / 10.0;
            for (std::size_t i = 0; i < refTable.size(); ++i)
                refTable[i] = static_cast<float>(firstSetting - slope * refCoef[i]);
            for (std::size_t i = 0; i < refSlant.size(); ++i)
                refSlant[i] = static_cast<float>(double(refTable[i + 1]) - refTable[i]) /
                              static_cast<float>(kTxfTempBorder[i + 1] - kTxfTempBorder[i]) * 32.0f;
            const auto a = static_cast<std::size_t>(txfArea);
            const double expected = std::floor(double(refTable[a]) + 0.5) +
                                    (t - kTxfTempBorder[a]) * roundHalfUp(refSlant[a]) / 32.0;
            const double correction = firstSetting - std::floor(expected);
            refCorrection = static_cast<std::int16_t>(
                std::isnan(correction) ? 0 : std::clamp(correction, -32768.0, 32767.0));
            for (int p = 0; p < 20; ++p)
                txfWrites.push_back(
                    {kE8RefInitial + p,
                     std::clamp(roundHalfUp(refTable[static_cast<std::size_t>(p)]) + refCorrection,
                                0, 255),
                     kRefInitialAdr + p});
            for (int p = 0; p < 20; ++p)
                txfWrites.push_back(
                    {kE8RefInitial + 20 + p,
                     std::clamp(roundHalfUp(refSlant[static_cast<std::size_t>(p)]), -128, 127),
                     kRefSlantAdr + p});
        } else {
            if (txfEnterTaken) firstSetting = value;
            for (int a = txfArea - 1; a <= txfArea + 1; ++a)
                if (a >= 0 && a < 20)
                    txfWrites.push_back({kE8RefInitial + a, value, kRefInitialAdr + a});
            for (int a = txfArea - 1; a <= txfArea + 1; ++a)
                if (a >= 0 && a < 20) txfWrites.push_back({kE8RefSlant + a, 0, kRefSlantAdr + a});
        }
        procState = 4;
        break;
    }
    case 4:
        if (!txfWrites.empty()) {
            const Write w = txfWrites.front();
            txfWrites.erase(txfWrites.begin());
            m_radio->eepImage.WriteByte(w.adr, static_cast<std::uint8_t>(w.value & 0xFF));
            sendValue(w.command, w.value, kTxfWriteWaitMs);
        }
        if (txfWrites.empty()) procState = txfEnterTaken ? 5 : 3;
        break;
    case 5:
        procState = 3;
        if (txfEnterTaken) {
            txfEnterTaken = false;
            if (txfSecondPoint) {
                procState = 0;
                txfSecondPoint = txfFullWrite = txfEnter = false;
                beep();
            } else {
                txfSecondPoint = true;
                procState = 1;
            }
        }
        break;
    default:
        procState = 0;
        break;
    }
    console.Disp(kTxf);
    return true;
}

bool clsIndOp_RigZ30::bpfStep() {
    switch (procState) {
    case 6:
        procState = 7;
        break;
    case 7:
        for (int f = 0; f < 4; ++f)
            if (bpfSelected[static_cast<std::size_t>(f)])
                console.Value(kBpfT1 + f, console.Item(kBpfT1 + f).Min);
        procState = 8;
        break;
    case 8: {
        int offset = 0;
        const int r = readRow(2, offset);
        if (r <= 0) return r < 0;
        bpfOffset = offset;
        const auto it = std::find(bpfSelected.begin(), bpfSelected.end(), true);
        if (it == bpfSelected.end()) {
            procState = 10;
            break;
        }
        bpfCurrent = kBpfT1 + static_cast<int>(it - bpfSelected.begin());
        const int min = console.Item(bpfCurrent).Min;
        console.Value(bpfCurrent, bpfAllMode ? -bpfOffset : min);
        console.Edit(bpfCurrent).flgChanged = false;
        bpfBest = -1;
        bpfFirst = bpfLast = min;
        bpfPhase = 0;
        procState = 9;
        break;
    }
    case 9: {
        if (bpfPhase == 0) {
            console.SendE8(bpfCurrent);
            console.Edit(bpfCurrent).flgChanged = false;
            bpfPhase = 1;
            break;
        }
        int reading = 0;
        const int r = readRow(3, reading);
        if (r <= 0) return r < 0;
        const int value = console.Value(bpfCurrent);
        if (reading >= bpfBest) {
            if (reading > bpfBest) bpfFirst = value;
            bpfLast = value;
            bpfBest = reading;
        }
        const ConsoleItem& item = console.Item(bpfCurrent);
        if (value < item.Max && (!bpfAllMode || value < 255 - bpfOffset)) {
            console.Value(bpfCurrent, value + (bpfAllMode ? 2 : 1));
            console.Edit(bpfCurrent).flgChanged = false;
            bpfPhase = 0;
        } else {
            console.Value(bpfCurrent, static_cast<int>(std::floor((bpfFirst + bpfLast) / 2.0)));
            bpfSelected[static_cast<std::size_t>(bpfCurrent - kBpfT1)] = false;
            console.Disp(bpfCurrent);
            procState = 8;
        }
        break;
    }
    case 10:
        beep();
        procState = 0;
        break;
    default:
        procState = 0;
        break;
    }
    return true;
}
