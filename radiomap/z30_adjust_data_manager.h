// The NQ-Z30's adjust-area rules: image fix-up, channel class and alignment values.
#pragma once

#include "clone/adjust_data_manager.h"

#include <cstdint>

class CByteImage;
class CNode;
class CZ30RadioDataManager;

class CZ30AdjustDataManager : public CAdjustDataManager {
    KT_DECLARE_CLASS(CZ30AdjustDataManager)
public:
    // Normalises the document's image with the defaults of the variant the image itself names.
    // It re-encodes sections through a tree of its own: the document's tree and variant are not
    // touched. Applying it twice changes nothing more.
    int FixUpImage() override;
    int FixUpImage(CByteImage& image) override;
    // Byte 3 = high nibble of byte 3 + channel class of the current variant (at most 9).
    int SetChannelClass() override;
    // Uses the revision and "DETSREV" of the model manager's identity record.
    int WriteAlignmentValues() override;
    // revisionHighByte 1 with detsrev 0 or 1 (revisions 1.0 and 1.1) writes their values;
    // any other revision writes nothing.
    int WriteAlignmentValues(int revisionHighByte, int detsrev) override;

private:
    void SetStartupChannel(CNode* root, CByteImage& image) const;
};
