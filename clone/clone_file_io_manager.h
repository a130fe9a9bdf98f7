// The clone data file (*.hxq): header line of model code and revision, "#" comment line, and
// hexadecimal data lines. Loads parse into a working copy and commit only a clean result.
#pragma once

#include "clone/byte_image.h"
#include "clone/clone_manager_object.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

class CModelManager;

// Result words of file operations; callers compare with kFileOk only.
extern const char* const kFileOk;
extern const char* const kFileCannotOpen;
extern const char* const kFileFormatError;
extern const char* const kFileMismatchModel;
extern const char* const kFileMismatchRevision;
extern const char* const kFileDataOverflow;
extern const char* const kFileNotEnoughData;
extern const char* const kFileError;

// An address range, both ends inclusive; a table ends with {0xFFFF, 0xFFFF}.
struct CAddressRange {
    std::uint32_t start;
    std::uint32_t end;
};
extern const CAddressRange kDocumentRanges[];   // the whole image
extern const CAddressRange kCloneWriteRanges[]; // 0x0070-0x07FF: the adjust area stays out
extern const CAddressRange kMakerWriteRanges[]; // the whole image in "Maker reserve" mode

// What the last file read gave. A file need not hold every line: what it leaves out keeps the
// value the image had before.
struct CFileCoverage {
    unsigned revision = 0;            // the revision its header gives (0x0100: 1.00)
    unsigned linesHeld = 0;           // image lines the file gave every byte of
    unsigned lineCount = 0;           // image lines in all
    bool wholeWritable = false;       // it gave every byte a clone write sends (0x0070-0x07FF)
    std::vector<CAddressRange> given; // the address ranges it gave, in address order
};

class CCloneFileFormat {
public:
    virtual ~CCloneFileFormat() = default;

    virtual std::string WriteFile(std::ostream& out, const CAddressRange* ranges);
    virtual std::string ReadFile(std::istream& in);
    // Empty when the file's revision is acceptable, else kFileMismatchRevision.
    virtual std::string RevisionCheck(unsigned fileRevision) const;
    virtual unsigned LineCount() const;
    virtual unsigned ModelCode() const { return m_modelCode; }
    virtual unsigned RevisionConstant() const { return m_revision; }
    virtual std::string CommentText() const { return m_comment; }
    virtual std::uint32_t ImageSize() const { return 1024; }
    virtual std::uint32_t LineWidth() const { return 16; }
    virtual bool AddressInRange(std::uint32_t a) const { return a < ImageSize(); }
    virtual std::uint8_t ReadByte(std::uint32_t a) const { return m_work.ReadByte(a); }
    virtual void WriteByte(std::uint32_t a, std::uint8_t v) { m_work.WriteByte(a, v); }
    virtual bool DataComplete() const { return true; }

    // Parses one data line into the working copy.
    std::string ParseDataLine(const std::string& line);
    // The lines and addresses the last ReadFile gave.
    CFileCoverage Coverage() const;
    const CByteImage& WorkingCopy() const { return m_work; }
    void SetWorkingCopy(const CByteImage& image) { m_work.CopyFrom(image); }

protected:
    unsigned m_modelCode = 0;
    unsigned m_revision = 0;
    std::string m_comment;
    CByteImage m_work;
    std::vector<bool> m_given; // a flag per image byte: the file gave it
    unsigned m_fileRevision = 0;
};

class CCloneFileIoManager : public CCloneManagerObject, public CCloneFileFormat {
    KT_DECLARE_CLASS(CCloneFileIoManager)
public:
    // Fixes up the document's image, then writes it with the comment from the tree.
    virtual std::string SaveToFile(const std::string& path, const CAddressRange* ranges,
                                   CModelManager* model);
    // Loads into a working copy of the document's image; on kFileOk commits it and fixes it up.
    // Reads at most kMaxInputBytes: a longer input (a device, an endless pipe) is no clone
    // data file and gives kFileFormatError.
    virtual std::string LoadFromFile(const std::string& path, CModelManager* model);
    std::string LoadFromStream(std::istream& in, CModelManager* model);
    // The image as a clone data file of the whole of it (the document's identity, the tree's
    // comments, CR LF lines), as a backup keeps it. Nothing of the document changes: no fix-up.
    std::string WholeImageText(const CByteImage& image, CModelManager* model);

protected:
    void TakeIdentity(CModelManager* model);
    virtual std::string BuildComment() const;
    void FixUp();
};

class CZ30CloneFileIoManager : public CCloneFileIoManager {
    KT_DECLARE_CLASS(CZ30CloneFileIoManager)
public:
    std::string RevisionCheck(unsigned fileRevision) const override;
    std::uint32_t ImageSize() const override { return 2048; }
    std::uint32_t LineWidth() const override { return 16; }
    unsigned ModelCode() const override { return 0x5827; }
    unsigned RevisionConstant() const override { return 0x0100; }
};

// Reads the data lines of a clone data file of any model code and revision (a transfer file)
// into image; bytes the file does not give keep their values. kFileOk or the reader's word.
std::string ReadImageFile(const std::string& path, CByteImage* image);

// Reads a clone data file's text (at most kMaxInputBytes): kFileOk, kFileCannotOpen, or
// kFileFormatError for an input too long to be one (a device, an endless pipe).
std::string ReadCloneFileText(const std::string& path, std::string* text);

// The file's comment line from the two 16-character comments: each cut to 16, characters
// outside 32-126 turned into spaces, run together.
std::string MakeCommentLine(const std::string& comment1, const std::string& comment2);
