// The document's logic: one radio's data with its hub, its clone data files and its clone
// commands. No GUI here; the Qt document wraps this class and decides how prompts look.
#pragma once

#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "core/object.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

class CNode;

extern const char* const kUnexpectedFileFormat; // "Unexpected file format."
extern const char* const kFileAlreadyOpened;    // "The file already opened."
extern const char* const kUntitled;

// The one exception of the document: a file the clone file manager refused.
class CArchiveFormatError : public std::runtime_error {
public:
    explicit CArchiveFormatError(std::string word)
        : std::runtime_error(kUnexpectedFileFormat), m_word(std::move(word)) {}
    // The reader's result word ("FORMAT_ERROR", "MISMATCH_MODEL", ...).
    const std::string& Word() const { return m_word; }

private:
    std::string m_word;
};

// Returned by a command that found the modal guard taken.
constexpr int kCommandBusy = -1;

class CCloneSupportDoc : public CObjectBase, public ICloneDocument {
    KT_DECLARE_CLASS(CCloneSupportDoc)
public:
    ~CCloneSupportDoc() override;
    CCloneSupportDoc(const CCloneSupportDoc&) = delete;
    CCloneSupportDoc& operator=(const CCloneSupportDoc&) = delete;

    CCloneManager* GetCloneManager() const { return m_hub.get(); }
    CNode* GetRoot() const;
    int GetVariant() const;
    const std::string& GetPathName() const { return m_path; }
    std::string GetTitle() const;
    const std::string& ScratchPath() const { return m_scratch; }

    // ICloneDocument
    void SetModifiedFlag(bool modified) override { m_modified = modified; }
    bool IsModified() const override;
    void OnNewDocument() override { m_path.clear(); }
    void RebuildViews() override;

    // Loads a clone data file through the scratch file. Throws CArchiveFormatError when the
    // file does not load; the image, tree and document stay as they were then. A file may
    // hold only some lines (LastLoad tells which); the rest keep their present values.
    void LoadFile(const std::string& path);
    const CFileCoverage& LastLoad() const { return m_lastLoad; }
    // Writes the tree as a clone data file with CR LF lines, replacing path atomically. On
    // failure returns false with the reason; the file at path is untouched, and a path that is
    // not a regular file (a FIFO, a device, a folder) is never replaced.
    bool SaveFile(const std::string& path, std::string* error);

    // New: save-if-modified, the variant's defaults, then the new-document processing.
    bool OnFileNew();
    // Open with "The file already opened." and save-if-modified; the old document stays on
    // failure. A file that does not hold the whole of 0x0070-0x07FF is opened with a warning.
    bool OnOpenDocument(const std::string& path);
    // Saves to the document's path (asks for one when untitled); tells the user on failure.
    bool DoFileSave();
    bool DoSave(const std::string& path);
    // "Save changes to %1?": false when the user cancelled or the save failed.
    bool SaveModified();
    bool CanCloseFrame() { return SaveModified(); }

    // The clone commands, each under the modal guard; kCommandBusy when it is taken.
    int OnCloneRead();
    int OnCloneWrite();
    int OnCloneInfo();
    void OnSetPort(unsigned n);
    bool IsPortChecked(unsigned n) const;

    // Set by the GUI: rebuild the navigation tree and panes; ask for a file name to save as
    // (empty: cancelled).
    std::function<void()> onRebuildViews;
    std::function<std::string()> askSavePath;
    // Whether the variant is written to the settings when the document goes (on by default).
    void SetRememberVariant(bool on) { m_rememberVariant = on; }

protected:
    CCloneSupportDoc() = default;
    // Creation steps: hub and managers, hub init, variant from the settings, defaults,
    // scratch file.
    void Construct();
    virtual std::unique_ptr<CCloneManager> CreateHub();
    virtual const CAddressRange* SaveRanges() const { return kDocumentRanges; }
    void Report(const std::string& text);

private:
    std::unique_ptr<CCloneManager> m_hub;
    std::string m_scratch;
    std::string m_path;
    CFileCoverage m_lastLoad;
    bool m_modified = false;
    bool m_rememberVariant = true;
};

class CZ30CloneSupportDoc : public CCloneSupportDoc {
    KT_DECLARE_CLASS(CZ30CloneSupportDoc)
public:
    CZ30CloneSupportDoc() { Construct(); }

protected:
    std::unique_ptr<CCloneManager> CreateHub() override;
};

class CZ30Doc : public CZ30CloneSupportDoc {
    KT_DECLARE_CLASS(CZ30Doc)
public:
    // Save and Save As under the modal guard; false when it is taken or the save failed.
    bool OnFileSave();
    bool OnFileSaveAs(const std::string& path = {});

protected:
    const CAddressRange* SaveRanges() const override { return kDocumentRanges; }
};

// What the user is told about a file that does not hold every line a clone write sends.
// "FILE holds 34 of 128 lines"
std::string FileLinesText(const std::string& file, const CFileCoverage& coverage);
// The refusal of a write: "FILE holds 34 of 128 lines; the rest would be the factory
// defaults. Use --allow-partial to write it anyway."
std::string PartialWriteRefusal(const std::string& file, const CFileCoverage& coverage);
// The warning box and the status-bar text after opening such a file.
std::string PartialOpenWarning(const std::string& file, const CFileCoverage& coverage);
std::string PartialOpenStatus(const std::string& file, const CFileCoverage& coverage);

// A Z30 hub with all seven radio-specific managers, not yet initialised.
std::unique_ptr<CZ30CloneManager> MakeZ30CloneManager();
