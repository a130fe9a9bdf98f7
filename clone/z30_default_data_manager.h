// The NQ-Z30's factory default images, one per variant, and the copies from them into the
// document's image.
#pragma once

#include "clone/default_data_manager.h"

#include <array>
#include <cstdint>

class CZ30DefaultDataManager : public CDefaultDataManager {
    KT_DECLARE_CLASS(CZ30DefaultDataManager)
public:
    static constexpr std::uint32_t kImageSize = 2048;
    using Image = std::array<std::uint8_t, kImageSize>;

    int ResetByte(int variant, std::uint32_t address) override;
    int ResetBit(int variant, std::uint32_t address, unsigned bit) override;
    int ResetBlock(int variant, std::uint32_t address, std::uint32_t n) override;
    int LoadWhole(int variant) override;
    const CByteImage* DefaultImage(int variant) const override;

    // The factory image of a variant index; indexes other than 1 to 5 give index 0's image.
    static const CByteImage& FactoryImage(int index);
    // The same bytes as compile-time data.
    static const Image& FactoryBytes(int index);

private:
    // A negative variant means the document's current one.
    int Resolve(int variant) const;
};
