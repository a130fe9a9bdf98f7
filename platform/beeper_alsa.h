// Beeps through the sound output: a tone of the given pitch and length on the default ALSA
// device. Without a sound output the beeper stays silent but keeps the time a beep takes.
#pragma once

#include "core/platform.h"

#include <memory>

class CAlsaBeeper final : public IBeeper {
public:
    // clock paces the silent beeps (the default: Platform().clock at the time of the beep).
    explicit CAlsaBeeper(IClock* clock = nullptr);
    ~CAlsaBeeper() override;
    CAlsaBeeper(const CAlsaBeeper&) = delete;
    CAlsaBeeper& operator=(const CAlsaBeeper&) = delete;

    void Beep(unsigned frequencyHz, unsigned durationMs) override;
    // Whether a sound output was found (opened on the first beep).
    bool HasOutput();

private:
    struct Device;
    bool Open();
    IClock* m_clock;
    std::unique_ptr<Device> m_device;
    bool m_tried = false;
};
