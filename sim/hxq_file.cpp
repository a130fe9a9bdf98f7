#include "sim/hxq_file.h"

#include "clone/clone_file_io_manager.h"

#include <filesystem>
#include <fstream>

bool SimLoadHxq(const std::string& path, CByteImage* image, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    CZ30CloneFileIoManager file;
    file.SetWorkingCopy(*image);
    const std::string result = file.ReadFile(in);
    if (result != kFileOk) {
        *error = path + ": " + result;
        return false;
    }
    image->CopyFrom(file.WorkingCopy());
    return true;
}

bool SimSaveHxq(const std::string& path, const CByteImage& image) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        if (!out) return false;
        CZ30CloneFileIoManager file;
        file.SetWorkingCopy(image);
        if (file.WriteFile(out, kDocumentRanges) != kFileOk || !out.flush()) return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    return !ec;
}
