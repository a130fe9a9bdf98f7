// The document's EEPROM image as a manager of the hub.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"

class CEepromDataManager : public CByteImage, public CCloneManagerObject {
    KT_DECLARE_CLASS(CEepromDataManager)
public:
    CEepromDataManager() : CByteImage(65536) {}
};

class CZ30EepromDataManager : public CEepromDataManager {
    KT_DECLARE_CLASS(CZ30EepromDataManager)
public:
    static constexpr std::uint32_t kImageSize = 2048;
    void Init() override { Resize(kImageSize); }
};
