// A clock for tests and fuzz targets: every reading moves it on by 1 ms and a sleep moves it at
// once, so time-outs cost no real time.
#pragma once

#include "core/platform.h"

#include <cstdint>

class CStepClock final : public IClock {
public:
    explicit CStepClock(std::uint64_t start = 1'000'000) : now(start) {}
    std::uint64_t now;
    std::uint64_t NowMs() override { return ++now; }
    void SleepMs(unsigned ms) override { now += ms; }
};
