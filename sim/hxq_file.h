// The simulator's image file: a clone data file read and written by the clone data file code.
#pragma once

#include <cstdint>
#include <string>

#include "clone/byte_image.h"

// Loads the data lines over the image; false with a reason when the file is unreadable or bad.
bool SimLoadHxq(const std::string& path, CByteImage* image, std::string* error);
// Writes the whole image (header 58270100) through a temporary file renamed over the target;
// false with a reason when that fails or the target is not a regular file.
bool SimSaveHxq(const std::string& path, const CByteImage& image, std::string* error);
