#include "platform/beeper_alsa.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#ifdef KT_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

namespace {
constexpr unsigned kRate = 22050;
constexpr unsigned kMaxMs = 5000;

#ifdef KT_HAVE_ALSA
// ALSA reports a missing device on stderr by default; a beep that cannot sound says nothing.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif
} // namespace

struct CAlsaBeeper::Device {
#ifdef KT_HAVE_ALSA
    snd_pcm_t* pcm = nullptr;
    ~Device() {
        if (pcm) snd_pcm_close(pcm);
    }
#endif
};

CAlsaBeeper::CAlsaBeeper(IClock* clock) : m_clock(clock) {}

CAlsaBeeper::~CAlsaBeeper() = default;

bool CAlsaBeeper::Open() {
    if (m_tried) return m_device != nullptr;
    m_tried = true;
#ifdef KT_HAVE_ALSA
    snd_lib_error_set_handler(&QuietAlsa);
    auto device = std::make_unique<Device>();
    if (snd_pcm_open(&device->pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0) {
        device->pcm = nullptr;
        return false;
    }
    if (snd_pcm_set_params(device->pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           kRate, 1, 100000) < 0)
        return false;
    m_device = std::move(device);
    return true;
#else
    return false;
#endif
}

bool CAlsaBeeper::HasOutput() { return Open(); }

void CAlsaBeeper::Beep(unsigned frequencyHz, unsigned durationMs) {
    durationMs = std::min(durationMs, kMaxMs);
    if (durationMs == 0) return;
#ifdef KT_HAVE_ALSA
    if (Open() && frequencyHz > 0) {
        const std::size_t frames = std::size_t{kRate} * durationMs / 1000;
        std::vector<short> samples(frames);
        const double step = 2 * std::numbers::pi * frequencyHz / kRate;
        // A short ramp at both ends keeps the tone from clicking.
        const std::size_t ramp = std::min<std::size_t>(frames / 2, kRate / 500);
        for (std::size_t i = 0; i < frames; ++i) {
            double gain = 0.3;
            if (i < ramp) gain *= double(i) / ramp;
            if (frames - i <= ramp) gain *= double(frames - i) / ramp;
            samples[i] = static_cast<short>(gain * 32767 * std::sin(step * double(i)));
        }
        snd_pcm_t* pcm = m_device->pcm;
        snd_pcm_prepare(pcm);
        std::size_t done = 0;
        while (done < frames) {
            snd_pcm_sframes_t n = snd_pcm_writei(pcm, samples.data() + done, frames - done);
            if (n < 0) n = snd_pcm_recover(pcm, static_cast<int>(n), 1);
            if (n < 0) break;
            done += static_cast<std::size_t>(n);
        }
        if (done == frames) {
            snd_pcm_drain(pcm);
            return;
        }
        snd_pcm_drop(pcm);
    }
#endif
    IClock* clock = m_clock ? m_clock : Platform().clock;
    if (clock) clock->SleepMs(durationMs);
}
