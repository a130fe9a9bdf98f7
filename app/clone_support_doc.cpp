#include "app/clone_support_doc.h"

#include "clone/adjust_data_manager.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/default_data_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "core/ctext.h"
#include "core/files.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "radiomap/radio_data_manager.h"
#include "radiomap/z30_adjust_data_manager.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

KT_IMPLEMENT_DYNAMIC(CCloneSupportDoc, CObjectBase)
KT_IMPLEMENT_DYNCREATE(CZ30CloneSupportDoc, CCloneSupportDoc)
KT_IMPLEMENT_DYNCREATE(CZ30Doc, CZ30CloneSupportDoc)

const char* const kUnexpectedFileFormat = "Unexpected file format.";
const char* const kFileAlreadyOpened = "The file already opened.";
const char* const kUntitled = "Untitled";

namespace fs = std::filesystem;

namespace {

constexpr const char* kCaption = "KT-Z30";
constexpr const char* kModelSection = "Model";
constexpr const char* kModelKey = "ModelVer";

// The lines a save with these ranges writes: header, comment and the data lines.
std::size_t ExpectedLines(const CAddressRange* ranges, std::uint32_t size, std::uint32_t width) {
    std::size_t lines = 2;
    for (const CAddressRange* r = ranges; r && r->start < size && r->start != 0xFFFF; ++r)
        for (std::uint32_t a = r->start; a <= r->end; a += width - a % width)
            ++lines;
    return lines;
}

std::string CanonicalOf(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::absolute(path).lexically_normal().string() : p.string();
}

// "0070-028F, 0300-030F": at most four ranges, then "...".
std::string RangesText(const std::vector<CAddressRange>& ranges) {
    std::string text;
    char buf[16];
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        if (i == 4) return text + ", ...";
        std::snprintf(buf, sizeof buf, "%04X-%04X", ranges[i].start & 0xFFFF,
                      ranges[i].end & 0xFFFF);
        text += (i ? ", " : "") + std::string(buf);
    }
    return text;
}

std::string LinesText(const CFileCoverage& c) {
    return std::to_string(c.linesHeld) + " of " + std::to_string(c.lineCount) + " lines";
}

} // namespace

std::unique_ptr<CZ30CloneManager> MakeZ30CloneManager() {
    auto hub = std::make_unique<CZ30CloneManager>();
    hub->SetManagers(new CZ30EepromDataManager, new CZ30DefaultDataManager,
                     new CZ30AdjustDataManager, new CZ30RadioDataManager, new CZ30ModelManager,
                     new CZ30CloneRsIoManager, new CZ30CloneFileIoManager);
    return hub;
}

// --- CCloneSupportDoc --------------------------------------------------------------------------

void CCloneSupportDoc::Construct() {
    m_hub = CreateHub();
    m_hub->SetDocument(this);
    m_hub->Init();
    if (CModelManager* model = m_hub->GetModelManager()) {
        const int v =
            Platform().settings ? Platform().settings->GetInt(kModelSection, kModelKey, 0) : 0;
        model->SetVariant(v, false);
    }
    m_hub->ResetToDefaults();
    m_scratch = CreateTempFile(kScratchFilePrefix);
    SetActiveRoot(GetRoot());
}

std::unique_ptr<CCloneManager> CCloneSupportDoc::CreateHub() {
    auto hub = std::make_unique<CCloneManager>();
    hub->SetManagers(new CEepromDataManager, new CDefaultDataManager, new CAdjustDataManager,
                     new CRadioDataManager, new CModelManager, new CCloneRsIoManager,
                     new CCloneFileIoManager);
    return hub;
}

CCloneSupportDoc::~CCloneSupportDoc() {
    if (m_hub && m_rememberVariant && Platform().settings)
        Platform().settings->SetInt(kModelSection, kModelKey, GetVariant());
    if (GetActiveRoot() == GetRoot()) SetActiveRoot(nullptr);
    m_hub.reset();
    RemoveTempFile(m_scratch);
}

CNode* CCloneSupportDoc::GetRoot() const { return m_hub ? m_hub->GetRoot() : nullptr; }

int CCloneSupportDoc::GetVariant() const { return m_hub ? m_hub->GetVariant() : 0; }

std::string CCloneSupportDoc::GetTitle() const {
    return m_path.empty() ? std::string(kUntitled) : fs::path(m_path).filename().string();
}

bool CCloneSupportDoc::IsModified() const {
    if (m_modified) return true;
    const CNode* root = GetRoot();
    return root && root->IsModifiedTree(root);
}

void CCloneSupportDoc::Report(const std::string& text) {
    Platform().prompts->MessageBox(text, kCaption, KtButtons::Ok, KtIcon::Exclamation);
}

void CCloneSupportDoc::StageFile(const std::string& path) {
    if (!m_hub->GetCloneFileIoManager()) throw CArchiveFormatError(kFileError);
    std::string text;
    errno = 0;
    if (const std::string r = ReadCloneFileText(path, &text); r != kFileOk) {
        if (r != kFileCannotOpen) throw CArchiveFormatError(r);
        std::error_code ec;
        const int error = fs::is_directory(path, ec) ? EISDIR : errno;
        throw CArchiveFormatError(kFileCannotOpen,
                                  "cannot open " + path + ": " +
                                      (error ? std::strerror(error) : "unreadable"));
    }
    // Every line, whatever it ended with, goes to the scratch file with a newline.
    std::string lines;
    lines.reserve(text.size() + 2);
    {
        std::istringstream in(std::move(text));
        std::string line;
        while (std::getline(in, line)) {
            DropTrailingCr(line);
            lines += line;
            lines += '\n';
        }
    }
    // A temporary folder that is missing or full is no fault of the file.
    std::string why;
    if (m_scratch.empty()) m_scratch = CreateTempFile(kScratchFilePrefix, &why);
    if (m_scratch.empty()) throw CArchiveFormatError::TempFile(why);
    errno = 0;
    std::FILE* scratch = std::fopen(m_scratch.c_str(), "wb");
    if (!scratch) throw CArchiveFormatError::TempFile(TempFileProblem("write", errno));
    bool written = std::fwrite(lines.data(), 1, lines.size(), scratch) == lines.size();
    written = std::fflush(scratch) == 0 && written;
    const int error = errno;
    if (std::fclose(scratch) != 0 || !written)
        throw CArchiveFormatError::TempFile(TempFileProblem("write", written ? errno : error));
}

void CCloneSupportDoc::LoadStaged() {
    CCloneFileIoManager* fileIo = m_hub->GetCloneFileIoManager();
    const std::string word = fileIo->LoadFromFile(m_scratch, m_hub->GetModelManager());
    if (word != kFileOk) throw CArchiveFormatError(word);
    m_lastLoad = fileIo->Coverage();
    m_hub->ImageToTree();
}

void CCloneSupportDoc::LoadFile(const std::string& path) {
    CWaitCursor wait;
    StageFile(path);
    LoadStaged();
    SetModifiedFlag(false);
    Notify(CChangeReason::Load, {});
}

void CCloneSupportDoc::LoadFileOverDefaults(const std::string& path) {
    CWaitCursor wait;
    StageFile(path);
    LoadStaged();
    // The variant is known now: its defaults, then the file again over them.
    if (CDefaultDataManager* defaults = m_hub->GetDefaultDataManager()) {
        defaults->LoadWhole(GetVariant());
        LoadStaged();
    }
    SetModifiedFlag(false);
    Notify(CChangeReason::Load, {});
}

bool CCloneSupportDoc::SaveFile(const std::string& path, std::string* error) {
    std::string dummy;
    if (!error) error = &dummy;
    CWaitCursor wait;
    CCloneFileIoManager* fileIo = m_hub->GetCloneFileIoManager();
    if (!fileIo || path.empty()) {
        *error = "No file to save to.";
        return false;
    }
    m_hub->TreeToImage();
    if (CAdjustDataManager* adjust = m_hub->GetAdjustDataManager()) adjust->SetChannelClass();
    if (m_scratch.empty()) m_scratch = CreateTempFile(kScratchFilePrefix, error);
    if (m_scratch.empty()) return false;
    errno = 0;
    const std::string word = fileIo->SaveToFile(m_scratch, SaveRanges(), m_hub->GetModelManager());
    if (word != kFileOk) {
        *error = TempFileProblem("write", errno) + " (" + word + ")";
        return false;
    }
    std::string contents;
    std::size_t count = 0;
    {
        std::ifstream in(m_scratch, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            DropTrailingCr(line);
            contents += line;
            contents += "\r\n";
            ++count;
        }
        if (in.bad()) count = 0;
    }
    // A short temporary file (a full disk) must not replace a good document.
    if (count != ExpectedLines(SaveRanges(), fileIo->ImageSize(), fileIo->LineWidth())) {
        *error = TempFileProblem("write", ENOSPC) + " (incomplete)";
        return false;
    }
    return ReplaceFile(path, contents, error);
}

bool CCloneSupportDoc::DoSave(const std::string& path) {
    std::string error;
    if (!SaveFile(path, &error)) {
        Report("The file could not be saved:\n" + path + "\n" + error);
        return false;
    }
    m_path = CanonicalOf(path);
    SetModifiedFlag(false);
    return true;
}

bool CCloneSupportDoc::DoFileSave() {
    std::string path = m_path;
    if (path.empty() && askSavePath) path = askSavePath();
    if (path.empty()) return false;
    return DoSave(path);
}

bool CCloneSupportDoc::SaveModified() {
    if (!IsModified()) return true;
    const KtAnswer a =
        Platform().prompts->MessageBox("Save changes to " + GetTitle() + "?", kCaption,
                                       KtButtons::YesNoCancel, KtIcon::Exclamation);
    if (a == KtAnswer::Cancel) return false;
    if (a == KtAnswer::No) return true;
    return DoFileSave();
}

bool CCloneSupportDoc::OnFileNew() {
    if (!SaveModified()) return false;
    if (CDefaultDataManager* defaults = m_hub->GetDefaultDataManager())
        defaults->LoadWhole(GetVariant());
    m_hub->ImageToTree();
    SetModifiedFlag(false);
    {
        CModalScope guard;
        if (guard.Entered()) OnNewDocument();
    }
    Notify(CChangeReason::New, {});
    return true;
}

bool CCloneSupportDoc::OnOpenDocument(const std::string& path) {
    if (!m_path.empty() && CanonicalOf(path) == CanonicalOf(m_path)) {
        Platform().prompts->MessageBox(kFileAlreadyOpened, kCaption, KtButtons::Ok,
                                       KtIcon::Information);
        return false;
    }
    if (!SaveModified()) return false;
    const std::string oldPath = m_path;
    const bool oldModified = m_modified;
    try {
        LoadFile(path);
    } catch (const CArchiveFormatError& e) {
        Platform().prompts->MessageBox(e.what(), kCaption, KtButtons::Ok, KtIcon::Exclamation);
        m_path = oldPath;
        m_modified = oldModified;
        return false;
    }
    m_path = CanonicalOf(path);
    if (!m_lastLoad.wholeWritable) {
        // The views show what the user is warned about: the load's change notice rebuilt them.
        const std::string name = fs::path(path).filename().string();
        Platform().prompts->SetStatusText(PartialOpenStatus(name, m_lastLoad));
        Platform().prompts->MessageBox(PartialOpenWarning(name, m_lastLoad), kCaption,
                                       KtButtons::Ok, KtIcon::Exclamation);
    }
    return true;
}

bool CCloneSupportDoc::OnOpenAsNew(const std::string& path) {
    if (!SaveModified()) return false;
    try {
        LoadFile(path);
    } catch (const CArchiveFormatError& e) {
        Platform().prompts->MessageBox(e.what(), kCaption, KtButtons::Ok, KtIcon::Exclamation);
        return false;
    }
    OnNewDocument();
    // Untitled and not in a file of the user's: no state of its history is a saved one.
    SetModifiedFlag(true);
    Notify(CChangeReason::New, {});
    return true;
}

std::string FileLinesText(const std::string& file, const CFileCoverage& c) {
    return file + " holds " + LinesText(c);
}

std::string PartialWriteRefusal(const std::string& file, const CFileCoverage& c) {
    return FileLinesText(file, c) +
           "; the rest would be the factory defaults. Use --allow-partial to write it anyway.";
}

std::string PartialOpenWarning(const std::string& file, const CFileCoverage& c) {
    std::string text = FileLinesText(file, c);
    text += c.given.empty() ? "." : ": addresses " + RangesText(c.given) + ".";
    return text + "\n\nThe rest kept the document's present values.";
}

std::string PartialOpenStatus(const std::string& file, const CFileCoverage& c) {
    if (c.given.empty()) return " " + file + " held no data; the document's values were kept.";
    return " " + file + " held addresses " + RangesText(c.given) + " only (" + LinesText(c) +
           "); the rest kept the document's present values.";
}

int CCloneSupportDoc::OnCloneRead() {
    CModalScope guard;
    if (!guard.Entered()) return kCommandBusy;
    CCloneRsIoManager* io = m_hub->GetCloneRsIoManager();
    return io ? io->CloneRead() : kCloneFailed;
}

int CCloneSupportDoc::OnCloneWrite() {
    CModalScope guard;
    if (!guard.Entered()) return kCommandBusy;
    CCloneRsIoManager* io = m_hub->GetCloneRsIoManager();
    return io ? io->CloneWrite() : kCloneFailed;
}

int CCloneSupportDoc::OnCloneInfo() {
    CModalScope guard;
    if (!guard.Entered()) return kCommandBusy;
    CCloneRsIoManager* io = m_hub->GetCloneRsIoManager();
    return io ? io->CloneInfo() : kCloneFailed;
}

void CCloneSupportDoc::OnSetPort(unsigned n) {
    if (CCloneRsIoManager* io = m_hub->GetCloneRsIoManager()) io->SetPort(n);
}

bool CCloneSupportDoc::IsPortChecked(unsigned n) const {
    CCloneRsIoManager* io = m_hub->GetCloneRsIoManager();
    return io && io->GetPort() == n;
}

// --- CZ30CloneSupportDoc, CZ30Doc --------------------------------------------------------------

std::unique_ptr<CCloneManager> CZ30CloneSupportDoc::CreateHub() { return MakeZ30CloneManager(); }

bool CZ30Doc::OnFileSave() {
    CModalScope guard;
    if (!guard.Entered()) return false;
    return DoFileSave();
}

bool CZ30Doc::OnFileSaveAs(const std::string& path) {
    CModalScope guard;
    if (!guard.Entered()) return false;
    std::string target = path;
    if (target.empty() && askSavePath) target = askSavePath();
    if (target.empty()) return false;
    return DoSave(target);
}
