// What the field walkers need of the radio map they work for: the radio's family, its factory
// bits and the store that keeps the nodes they make.
#pragma once

#include <cstdint>

class CByteImage;
class CNode;

class CFieldHost {
public:
    virtual bool IsPmr() const = 0;
    // Copies a bit from the current variant's factory image into the given image.
    virtual void CopyDefaultBit(CByteImage& image, std::uint32_t address, unsigned bit) const = 0;
    // Keeps node in the store and appends it to parent (when given).
    virtual CNode* Adopt(CNode* parent, CNode* node) = 0;

protected:
    ~CFieldHost() = default;
};
