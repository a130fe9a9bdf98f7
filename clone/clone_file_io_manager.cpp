#include "clone/clone_file_io_manager.h"

#include "clone/adjust_data_manager.h"
#include "clone/clone_manager.h"
#include "clone/model_manager.h"
#include "core/ctext.h"
#include "core/files.h"
#include "params/node_access.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

KT_IMPLEMENT_DYNCREATE(CCloneFileIoManager, CCloneManagerObject)
KT_IMPLEMENT_DYNCREATE(CZ30CloneFileIoManager, CCloneFileIoManager)

const char* const kFileOk = "OK";
const char* const kFileCannotOpen = "CANNOT_OPEN_FILE";
const char* const kFileFormatError = "FORMAT_ERROR";
const char* const kFileMismatchModel = "MISMATCH_MODEL";
const char* const kFileMismatchRevision = "MISMATCH_REVISION";
const char* const kFileDataOverflow = "DATA_OVERFLOW";
const char* const kFileNotEnoughData = "NOT_ENOUGH_DATA";
const char* const kFileError = "ERROR";

const CAddressRange kDocumentRanges[] = {{0x0000, 0x07FF}, {0xFFFF, 0xFFFF}};
const CAddressRange kCloneWriteRanges[] = {{0x0070, 0x07FF}, {0xFFFF, 0xFFFF}};
const CAddressRange kMakerWriteRanges[] = {{0x0000, 0x07FF}, {0xFFFF, 0xFFFF}};

namespace {

unsigned HexNumber(const std::string& s, std::size_t pos, std::size_t n) {
    unsigned v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v = v * 16 + static_cast<unsigned>(HexDigitValue(s[pos + i]));
    return v;
}

void AppendHex(std::string& out, unsigned value, int digits) {
    for (int i = digits - 1; i >= 0; --i)
        out.push_back(kUpperHexDigits[(value >> (4 * i)) & 0xF]);
}

std::string Header(unsigned model, unsigned revision) {
    std::string h;
    AppendHex(h, model & 0xFFFF, 4);
    AppendHex(h, revision & 0xFFFF, 4);
    return h;
}

bool ReadLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    DropTrailingCr(line);
    return true;
}
} // namespace

unsigned CCloneFileFormat::LineCount() const {
    const std::uint32_t w = LineWidth();
    return w ? (ImageSize() + w - 1) / w : 0;
}

std::string CCloneFileFormat::RevisionCheck(unsigned fileRevision) const {
    return fileRevision == RevisionConstant() ? std::string() : kFileMismatchRevision;
}

std::string CCloneFileFormat::WriteFile(std::ostream& out, const CAddressRange* ranges) {
    out << Header(ModelCode(), RevisionConstant()) << '\n';
    out << '#' << CommentText() << '\n';
    const std::uint32_t width = LineWidth();
    std::string line;
    for (const CAddressRange* r = ranges; r && r->start < ImageSize(); ++r) {
        for (std::uint64_t a = r->start; a <= r->end; a += width) {
            const std::uint32_t addr = static_cast<std::uint32_t>(a);
            std::uint64_t count = width - addr % width;
            if (count > r->end - a + 1) count = r->end - a + 1;
            line.clear();
            AppendHex(line, addr, 4);
            AppendHex(line, static_cast<unsigned>(count), 2);
            for (std::uint32_t i = 0; i < count; ++i)
                AppendHex(line, ReadByte(addr + i), 2);
            out << line << '\n';
        }
    }
    return out ? kFileOk : kFileCannotOpen;
}

std::string CCloneFileFormat::ReadFile(std::istream& in) {
    m_given.assign(ImageSize(), false);
    std::string line;
    m_fileRevision = 0;
    if (!ReadLine(in, line) || line.size() != 8) return kFileFormatError;
    const std::string expected = Header(ModelCode(), RevisionConstant());
    for (std::size_t i = 0; i < 8; ++i) {
        if (line[i] < '0' || line[i] > '9') return kFileFormatError;
        if (line[i] == expected[i]) continue;
        if (i < 4) return kFileMismatchModel;
        const std::string check = RevisionCheck(HexNumber(line, 4, 4));
        if (!check.empty()) return check;
        // An accepted revision: the rest of the header must still be digits.
        for (std::size_t k = i + 1; k < 8; ++k)
            if (line[k] < '0' || line[k] > '9') return kFileFormatError;
        break;
    }
    m_fileRevision = HexNumber(line, 4, 4);
    while (ReadLine(in, line)) {
        if (line.empty()) return kFileFormatError;
        if (line[0] == '#') continue;
        const std::string r = ParseDataLine(line);
        if (r != kFileOk) return r;
    }
    return DataComplete() ? kFileOk : kFileNotEnoughData;
}

std::string CCloneFileFormat::ParseDataLine(const std::string& line) {
    if (line.size() < 8 || line.size() > 516) return kFileFormatError;
    for (char c : line)
        if (HexDigitValue(c) < 0) return kFileFormatError;
    const std::uint32_t address = HexNumber(line, 0, 4);
    const std::uint32_t count = HexNumber(line, 4, 2);
    if (line.size() != count * 2 + 6) return kFileFormatError;
    for (std::uint32_t i = 0; i < count; ++i)
        if (!AddressInRange(address + i)) return kFileDataOverflow;
    for (std::uint32_t i = 0; i < count; ++i) {
        WriteByte(address + i, static_cast<std::uint8_t>(HexNumber(line, 6 + 2 * i, 2)));
        if (address + i < m_given.size()) m_given[address + i] = true;
    }
    return kFileOk;
}

CFileCoverage CCloneFileFormat::Coverage() const {
    CFileCoverage c;
    c.revision = m_fileRevision;
    c.lineCount = LineCount();
    const std::uint32_t size = static_cast<std::uint32_t>(m_given.size());
    const std::uint32_t width = LineWidth();
    for (std::uint32_t a = 0; a < size; ++a) {
        if (!m_given[a]) continue;
        if (c.given.empty() || c.given.back().end + 1 != a)
            c.given.push_back({a, a});
        else
            c.given.back().end = a;
    }
    for (std::uint32_t line = 0; width && line < c.lineCount; ++line) {
        bool whole = true;
        for (std::uint32_t a = line * width; a < (line + 1) * width && a < size && whole; ++a)
            whole = m_given[a];
        if (whole && line * width < size) ++c.linesHeld;
    }
    c.wholeWritable = size > 0;
    for (const CAddressRange* r = kCloneWriteRanges; r->start < size; ++r)
        for (std::uint32_t a = r->start; a <= r->end && a < size; ++a)
            c.wholeWritable = c.wholeWritable && m_given[a];
    return c;
}

std::string CZ30CloneFileIoManager::RevisionCheck(unsigned fileRevision) const {
    return (fileRevision >> 8) == 1 ? std::string() : kFileMismatchRevision;
}

std::string MakeCommentLine(const std::string& comment1, const std::string& comment2) {
    auto clean = [](const std::string& s) {
        std::string t = s.substr(0, 16);
        for (char& c : t)
            if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126) c = ' ';
        return t;
    };
    return clean(comment1) + clean(comment2);
}

void CCloneFileIoManager::TakeIdentity(CModelManager* model) {
    m_modelCode = ModelCode();
    m_revision = RevisionConstant();
    if (CModelInfo* info = model ? model->GetModelInfo() : nullptr) {
        m_modelCode = static_cast<unsigned>(info->GetModelCode());
        m_revision = static_cast<unsigned>(info->GetRevision());
    }
}

std::string CCloneFileIoManager::BuildComment() const {
    CCloneManagerTemplate* hub = GetOwner();
    CNode* common1 = hub ? GetNode(hub->GetRoot(), "CommonSet.Common1") : nullptr;
    return MakeCommentLine(GetTextByName(common1, "Comment1"), GetTextByName(common1, "Comment2"));
}

void CCloneFileIoManager::FixUp() {
    CCloneManagerTemplate* hub = GetOwner();
    if (CAdjustDataManager* adjust = hub ? hub->GetAdjustDataManager() : nullptr)
        adjust->FixUpImage();
}

std::string CCloneFileIoManager::SaveToFile(const std::string& path, const CAddressRange* ranges,
                                            CModelManager* model) {
    CCloneManagerTemplate* hub = GetOwner();
    CByteImage* image = hub ? hub->GetImage() : nullptr;
    if (!image) return kFileError;
    TakeIdentity(model);
    m_comment = BuildComment();
    FixUp();
    m_work.CopyFrom(*image);
    std::ofstream out(path, std::ios::out | std::ios::trunc);
    if (!out) return kFileCannotOpen;
    const std::string r = WriteFile(out, ranges);
    out.close();
    return (r == kFileOk && out) ? kFileOk : kFileCannotOpen;
}

std::string CCloneFileIoManager::LoadFromFile(const std::string& path, CModelManager* model) {
    std::string text;
    if (std::string r = ReadCloneFileText(path, &text); r != kFileOk) return r;
    std::istringstream in(std::move(text));
    return LoadFromStream(in, model);
}

std::string ReadCloneFileText(const std::string& path, std::string* text) {
    switch (ReadFileBounded(path, text)) {
    case KtRead::Ok:
        return kFileOk;
    case KtRead::TooLarge:
        return kFileFormatError;
    case KtRead::CannotOpen:
        break;
    }
    return kFileCannotOpen;
}

std::string CCloneFileIoManager::WholeImageText(const CByteImage& image, CModelManager* model) {
    TakeIdentity(model);
    m_comment = BuildComment();
    m_work.CopyFrom(image);
    std::ostringstream out;
    if (WriteFile(out, kDocumentRanges) != kFileOk) return {};
    std::string text;
    for (char c : out.str()) {
        if (c == '\n') text += '\r';
        text += c;
    }
    return text;
}

namespace {
// A clone data file of whatever identity its header gives, read into an image of its own.
class CLooseImageFile final : public CCloneFileFormat {
public:
    CLooseImageFile(const CByteImage& image, unsigned modelCode) : m_size(image.Size()) {
        m_modelCode = modelCode;
        m_work.CopyFrom(image);
    }
    std::string RevisionCheck(unsigned) const override { return {}; }
    std::uint32_t ImageSize() const override { return m_size; }

private:
    std::uint32_t m_size;
};
} // namespace

std::string ReadImageFile(const std::string& path, CByteImage* image) {
    std::string text;
    if (std::string r = ReadCloneFileText(path, &text); r != kFileOk) return r;
    const std::size_t header = std::min(text.find_first_of("\r\n"), text.size());
    if (header < 4) return kFileFormatError;
    CLooseImageFile file(*image, HexNumber(text, 0, 4));
    std::istringstream in(std::move(text));
    const std::string r = file.ReadFile(in);
    if (r == kFileOk) image->CopyFrom(file.WorkingCopy());
    return r;
}

std::string CCloneFileIoManager::LoadFromStream(std::istream& in, CModelManager* model) {
    CCloneManagerTemplate* hub = GetOwner();
    CByteImage* image = hub ? hub->GetImage() : nullptr;
    if (!image) return kFileError;
    TakeIdentity(model);
    m_work.CopyFrom(*image);
    const std::string r = ReadFile(in);
    if (r != kFileOk) return r;
    image->CopyFrom(m_work);
    FixUp();
    return kFileOk;
}
