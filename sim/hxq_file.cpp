#include "sim/hxq_file.h"

#include "clone/clone_file_io_manager.h"
#include "core/files.h"

#include <sstream>

bool SimLoadHxq(const std::string& path, CByteImage* image, std::string* error) {
    std::string text;
    std::string result = ReadCloneFileText(path, &text);
    if (result != kFileOk) {
        *error = path + ": " + result;
        return false;
    }
    std::istringstream in(std::move(text));
    CZ30CloneFileIoManager file;
    file.SetWorkingCopy(*image);
    result = file.ReadFile(in);
    if (result != kFileOk) {
        *error = path + ": " + result;
        return false;
    }
    image->CopyFrom(file.WorkingCopy());
    return true;
}

bool SimSaveHxq(const std::string& path, const CByteImage& image, std::string* error) {
    std::ostringstream out;
    CZ30CloneFileIoManager file;
    file.SetWorkingCopy(image);
    if (file.WriteFile(out, kDocumentRanges) != kFileOk) {
        *error = "cannot write " + path;
        return false;
    }
    return ReplaceFile(path, out.str(), error);
}
