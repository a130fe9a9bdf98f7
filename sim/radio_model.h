// The simulated NQ-Z30 at the radio end of a cloning cable: it answers clone info, read and
// write, routes E8 service commands to the service model and plays faults on demand. Every byte
// the PC sends comes back on the PC's input (the cable's echo).
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "clone/byte_image.h"
#include "sim/service_model.h"

enum class SimTrType : std::uint8_t { Conventional = 0x40, Brs = 0x20, Gmrs = 0x00 };

struct CSimIdentity {
    std::uint16_t modelCode = 0x5827;
    std::uint16_t revision = 0x0100;
    int variant = 4; // 0 "LMR 1CH" .. 5 "PMR 16CH"
    SimTrType trType = SimTrType::Conventional;
    bool eepromGood = true;
    bool overVoltage = false;
};

// Faults the radio (or its cable) plays. Frame numbers count data frames from 1.
struct CSimFaults {
    bool noEcho = false;
    bool noAnswer = false; // echoes, never answers
    int stopAfter = -1;    // the radio goes silent after this many data frames
    int badChecksumFrame = 0;
    int badCountFrame = 0;
    bool lowerHex = false;
    bool badEndText = false;
    bool failWrite = false; // answers E6 01
    bool noise = false;     // stray bytes between the radio's frames
    int pullAfter = -1;     // the cable is pulled after this many data frames
    int corruptWrite = -1;  // a good write stores another byte at this address
};

// One byte on the wire towards the PC: an echo or a byte the radio sends.
struct CSimWireByte {
    std::uint8_t byte;
    bool echo;
};

class CSimRadio {
public:
    static constexpr std::uint32_t kImageSize = 2048;
    static constexpr unsigned kLineWidth = 16;
    static constexpr unsigned kInfoLength = 38;

    CSimRadio();

    CSimIdentity& Identity() { return m_identity; }
    CSimFaults& Faults() { return m_faults; }
    // The analogue readings and stored values behind the E8 service commands.
    CSimServiceModel& Service() { return m_service; }
    CByteImage& Image() { return m_image; }
    const CByteImage& Image() const { return m_image; }
    // The image a fresh radio holds when no file is given.
    static CByteImage BlankImage();
    // The 38 info bytes of the E1 reply for the identity.
    std::vector<std::uint8_t> InfoData() const;

    // Frames in both directions go to the log as "PC ..." and "TR ..." lines of hex bytes.
    void SetLog(std::ostream* log) { m_log = log; }
    // Called after a clone write changed the image.
    std::function<void(const CByteImage&)> onImageWritten;

    // Takes bytes from the PC and appends what appears on the PC's input, in wire order.
    void FromPc(const std::uint8_t* data, std::size_t n, std::vector<CSimWireByte>* out);
    bool CablePulled() const { return m_pulled; }

private:
    void HandlePcFrame(const std::vector<std::uint8_t>& body, std::vector<CSimWireByte>* out);
    void SendFrame(std::uint8_t command, const std::vector<std::uint8_t>& payload,
                   std::vector<CSimWireByte>* out);
    void SendRead(std::vector<CSimWireByte>* out);
    void OnWriteData(const std::vector<std::uint8_t>& payload);
    void OnWriteEnd(const std::vector<std::uint8_t>& payload, std::vector<CSimWireByte>* out);
    bool IdentityMatches(const std::vector<std::uint8_t>& body, bool withRevision) const;
    void CountDataFrame();
    void Log(const char* who, const std::vector<std::uint8_t>& frame);

    CSimIdentity m_identity;
    CSimFaults m_faults;
    CByteImage m_image;
    CSimServiceModel m_service;
    std::ostream* m_log = nullptr;

    std::vector<std::uint8_t> m_pcRaw;  // bytes since the last FD from the PC
    std::vector<std::uint8_t> m_pcBody; // the body being received
    int m_dataFrames = 0;
    bool m_silent = false;
    bool m_pulled = false;
    bool m_writing = false;
    bool m_writeGood = false;
    CByteImage m_pending;
    unsigned m_noiseSeed = 1;
};
