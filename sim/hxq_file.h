// The simulator's own reader and writer of clone data files: header "%04X%04X", a "#" comment
// line, data lines "%04X%02X" and the bytes.
#pragma once

#include <cstdint>
#include <string>

#include "clone/byte_image.h"

// Loads the data lines over the image; false with a reason when the file is unreadable or bad.
bool SimLoadHxq(const std::string& path, CByteImage* image, std::string* error);
// Writes the whole image through a temporary file renamed over the target.
bool SimSaveHxq(const std::string& path, const CByteImage& image, std::uint16_t modelCode,
                std::uint16_t revision);
