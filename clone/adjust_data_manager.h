// Rules for the adjust area and image normalisation.
#pragma once

#include "clone/clone_manager_object.h"

class CByteImage;

class CAdjustDataManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CAdjustDataManager)
public:
    // Brings the document's image, or another image, into canonical form (before every save,
    // after every load).
    virtual int FixUpImage() { return 1; }
    virtual int FixUpImage(CByteImage& /*image*/) { return 1; }
    // Image byte 3 takes the channel class of the current variant.
    virtual int SetChannelClass() { return 1; }
    // Revision-specific alignment values before a whole-image clone write: those of the
    // document's identity record, or of a radio's revision high byte and "DETSREV".
    virtual int WriteAlignmentValues() { return 1; }
    virtual int WriteAlignmentValues(int /*revisionHighByte*/, int /*detsrev*/) { return 1; }
};
