// Factory default images and copies from them into the document's image. A negative variant
// means the document's current variant.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"

class CDefaultDataManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CDefaultDataManager)
public:
    virtual int ResetByte(int /*variant*/, std::uint32_t /*address*/) { return 1; }
    virtual int ResetBit(int /*variant*/, std::uint32_t /*address*/, unsigned /*bit*/) { return 1; }
    virtual int ResetBlock(int /*variant*/, std::uint32_t /*address*/, std::uint32_t /*n*/) {
        return 1;
    }
    virtual int LoadWhole(int /*variant*/) { return 1; }
    // The read-only factory image of a variant, or null.
    virtual const CByteImage* DefaultImage(int /*variant*/) const { return nullptr; }
};
