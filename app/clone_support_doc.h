// The document's logic: one radio's data with its hub, its clone data files and its clone
// commands. No GUI here; the Qt document wraps this class and decides how prompts look.
#pragma once

#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "core/object.h"
#include "params/set_result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

class CNode;

extern const char* const kUnexpectedFileFormat; // "Unexpected file format."
extern const char* const kFileAlreadyOpened;    // "The file already opened."
extern const char* const kUntitled;

// The one exception of the document: a file the clone file manager refused.
class CArchiveFormatError : public std::runtime_error {
public:
    explicit CArchiveFormatError(std::string word, std::string reason = {})
        : std::runtime_error(kUnexpectedFileFormat), m_word(std::move(word)),
          m_reason(std::move(reason)) {}
    // The file was not read for want of a temporary file, whatever it holds: what() is the
    // reason ("cannot make a temporary file in /tmp/x: No such file or directory").
    static CArchiveFormatError TempFile(const std::string& reason) {
        return CArchiveFormatError(reason, kTempFileWord);
    }
    bool TempFileFault() const { return m_word == kTempFileWord; }
    // The reader's result word ("FORMAT_ERROR", "MISMATCH_MODEL", ...).
    const std::string& Word() const { return m_word; }
    // What the system said when the file could not be opened ("cannot open x.hxq: No such file
    // or directory"); empty otherwise.
    const std::string& Reason() const { return m_reason; }

private:
    static constexpr const char* kTempFileWord = "TEMPORARY_FILE";
    CArchiveFormatError(const std::string& message, const char* word)
        : std::runtime_error(message), m_word(word) {}
    std::string m_word;
    std::string m_reason;
};

// Returned by a command that found the modal guard taken.
constexpr int kCommandBusy = -1;

// One value an edit set: where, what was given, and what the node and the image made of it.
struct CEditOutcome {
    std::string path;
    std::string given; // the text, or the code in decimal
    CSetResult result;
    // Told beside a value taken: "stored, the radio does not use that channel".
    std::string note = {};
};

// What the change function of an edit reports. SetText and SetCode find the node by its path
// from the root, call its setter and record the outcome (an unknown path is refused); a change
// that sets nodes another way records what it did with Add.
class CEditReport {
public:
    explicit CEditReport(CNode& root) : m_root(root) {}
    CSetResult SetText(const std::string& path, const std::string& text);
    CSetResult SetCode(const std::string& path, int code);
    void Add(std::string path, std::string given, CSetResult result);
    const std::vector<CEditOutcome>& Outcomes() const { return m_outcomes; }
    std::vector<CEditOutcome>& Outcomes() { return m_outcomes; }

private:
    CNode& m_root;
    std::vector<CEditOutcome> m_outcomes;
};

// One user edit as the undo stack keeps it: the whole image before and after (undo is exact to
// the byte) and what became of each value.
struct CEditStep {
    std::string label;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    std::vector<CEditOutcome> outcomes;
    bool Changed() const { return before != after; }
    // No value refused or not kept.
    bool AllTaken() const;
};

// The document's change notice, fired once per completed edit, load, read, undo or redo, model
// change and new document.
struct CChangeNotice {
    std::uint64_t revision; // the document's revision: the count of notices so far
    CChangeReason reason;
    std::string path; // the node the change is confined to; empty: the whole tree
};
using CChangeHandler = std::function<void(const CChangeNotice&)>;

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
    // The views follow the change notice, which every new image fires.
    void RebuildViews() override {}
    void TreeChanged(CChangeReason why) override { Notify(why, {}); }

    // --- Editing. Every user edit goes through Edit: the command line's set now, the window's
    // undo stack later (one undo command per CEditStep).
    // 1. Tree to image; the image as it stands is `before`.
    // 2. change(root, report) runs on the tree and sets values through the report.
    // 3. The values derived from what it set are brought up to date (a value they move is
    //    adjusted, Centred); tree to image is `after`.
    // 4. Each value the tree took is checked against the image: not kept where the radio map
    //    says so (the reason with a sentence), noted where the radio does not use it (a channel
    //    beyond the variant's), adjusted (ImageForm) where the image as a save writes it gives
    //    another value back: `stored` is that value, and the tree takes it, so that every view
    //    shows what was stored.
    // 5. The document is marked modified unless before == after, and the notice fires once
    //    (Edit, changedPath).
    CEditStep Edit(std::string label, const std::function<void(CNode& root, CEditReport&)>& change,
                   std::string changedPath = {});
    // Undo and redo: the bytes (a whole image, else ignored) become the image, image to tree,
    // the document is marked modified and the notice fires once with the reason. The undo stack
    // clears the modified flag itself when it comes back to its clean state.
    void RestoreImage(const std::vector<std::uint8_t>& bytes, CChangeReason reason);
    // Whether the image keeps the value of the node at path (the radio map's rules for the
    // current variant and the tree's channel switches).
    CKeep Keeps(const std::string& path) const;
    // The image's bytes.
    std::vector<std::uint8_t> ImageBytes() const;

    // --- Change notice: handlers run after every completed change, in the order they came.
    // Subscribe returns the id that Unsubscribe takes; a handler may unsubscribe while it runs.
    int Subscribe(CChangeHandler handler);
    void Unsubscribe(int id);
    std::uint64_t Revision() const { return m_revision; }

    // Loads a clone data file through the scratch file. Throws CArchiveFormatError when the
    // file does not load; the image, tree and document stay as they were then. A file may
    // hold only some lines (LastLoad tells which); the rest keep their present values.
    void LoadFile(const std::string& path);
    const CFileCoverage& LastLoad() const { return m_lastLoad; }
    // As LoadFile, but over the factory defaults of the variant the file's image gives (the
    // command line's documents): what the file leaves out is that variant's default, whatever
    // the document held before.
    void LoadFileOverDefaults(const std::string& path);
    // Writes the tree as a clone data file with CR LF lines, replacing path atomically. On
    // failure returns false with the reason; the file at path is untouched, and a path that is
    // not a regular file (a FIFO, a device, a folder) is never replaced.
    bool SaveFile(const std::string& path, std::string* error);

    // New: save-if-modified, the variant's defaults, then the new-document processing.
    bool OnFileNew();
    // Open with "The file already opened." and save-if-modified; the old document stays on
    // failure. A file that does not hold the whole of 0x0070-0x07FF is opened with a warning.
    bool OnOpenDocument(const std::string& path);
    // Opens a file (a backup) as a new, untitled document with changes not saved: Save asks for
    // a name, and the file itself is never written. The old document stays when it fails.
    bool OnOpenAsNew(const std::string& path);
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

    // Set by the GUI: ask for a file name to save as (empty: cancelled).
    std::function<std::string()> askSavePath;
    // Whether the variant is written to the settings when the document goes (on by default).
    void SetRememberVariant(bool on) { m_rememberVariant = on; }
    // What the window keeps with the document (its undo stack); it goes with the document.
    void SetViewData(std::shared_ptr<void> data) { m_viewData = std::move(data); }
    void* ViewData() const { return m_viewData.get(); }

protected:
    CCloneSupportDoc() = default;
    // Creation steps: hub and managers, hub init, variant from the settings, defaults,
    // scratch file.
    void Construct();
    virtual std::unique_ptr<CCloneManager> CreateHub();
    virtual const CAddressRange* SaveRanges() const { return kDocumentRanges; }
    void Report(const std::string& text);
    void Notify(CChangeReason reason, const std::string& path);

private:
    // LoadFile's steps: the file's lines into the scratch file (throws when it cannot be read),
    // then the scratch file into the image and the tree (throws when it does not load; the
    // image stays as it was then).
    void StageFile(const std::string& path);
    void LoadStaged();
    // Step 4 of Edit; true when a value of the tree was put back to what the image keeps.
    bool CheckAgainstImage(std::vector<CEditOutcome>& outcomes);

    std::unique_ptr<CCloneManager> m_hub;
    std::string m_scratch;
    std::string m_path;
    CFileCoverage m_lastLoad;
    bool m_modified = false;
    bool m_rememberVariant = true;
    std::uint64_t m_revision = 0;
    int m_lastSubscriber = 0;
    std::vector<std::pair<int, CChangeHandler>> m_subscribers;
    std::shared_ptr<void> m_viewData;
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
