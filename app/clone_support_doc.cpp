#include "app/clone_support_doc.h"

#include "clone/adjust_data_manager.h"
#include "clone/clone_rs_io_manager.h"
#include "clone/default_data_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/z30_default_data_manager.h"
#include "core/ctext.h"
#include "core/platform.h"
#include "params/node_access.h"
#include "radiomap/radio_data_manager.h"
#include "radiomap/z30_adjust_data_manager.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

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
// Far more than any clone data file; a bigger file is not one.
constexpr std::uintmax_t kMaxFileSize = 16u << 20;

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

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

// Writes lines with CR LF into a new file beside target and renames it over target.
bool ReplaceWithLines(const std::string& target, const std::vector<std::string>& lines,
                      std::string* error) {
#ifdef _WIN32
    const std::string temp = target + ".~kt";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        *error = ErrnoText("Cannot create a file in the folder");
        return false;
    }
#else
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        *error = ErrnoText("Cannot create a file in the folder");
        return false;
    }
    struct stat st {};
    mode_t mode;
    if (::stat(target.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        ::unlink(temp.c_str());
        *error = ErrnoText("Cannot write the file");
        return false;
    }
#endif
    bool ok = true;
    for (const std::string& line : lines) {
        if (std::fwrite(line.data(), 1, line.size(), f) != line.size() ||
            std::fwrite("\r\n", 1, 2, f) != 2) {
            ok = false;
            break;
        }
    }
    if (ok) ok = std::fflush(f) == 0;
#ifndef _WIN32
    if (ok) ok = ::fsync(::fileno(f)) == 0;
#endif
    if (!ok) *error = ErrnoText("Cannot write the file");
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        *error = ErrnoText("Cannot write the file");
    }
    std::error_code ec;
    if (ok) {
        fs::rename(temp, target, ec);
        if (ec) {
            ok = false;
            *error = "Cannot replace the file: " + ec.message();
        }
    }
    if (!ok) fs::remove(temp, ec);
    return ok;
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
    m_scratch = CreateTempFile("~KT");
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
    if (!m_scratch.empty()) {
        std::error_code ec;
        fs::remove(m_scratch, ec); // a failure is of no consequence
    }
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

void CCloneSupportDoc::RebuildViews() {
    if (onRebuildViews) onRebuildViews();
}

void CCloneSupportDoc::Report(const std::string& text) {
    Platform().prompts->MessageBox(text, kCaption, KtButtons::Ok, KtIcon::Exclamation);
}

void CCloneSupportDoc::LoadFile(const std::string& path) {
    CWaitCursor wait;
    CCloneFileIoManager* fileIo = m_hub->GetCloneFileIoManager();
    if (!fileIo) throw CArchiveFormatError(kFileError);
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kMaxFileSize) throw CArchiveFormatError(kFileFormatError);
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in || fs::is_directory(path, ec)) {
        const int error = fs::is_directory(path, ec) ? EISDIR : errno;
        throw CArchiveFormatError(kFileCannotOpen,
                                  "cannot open " + path + ": " +
                                      (error ? std::strerror(error) : "unreadable"));
    }
    if (m_scratch.empty()) m_scratch = CreateTempFile("~KT");
    std::FILE* scratch = m_scratch.empty() ? nullptr : std::fopen(m_scratch.c_str(), "wb");
    if (!scratch) throw CArchiveFormatError(kFileCannotOpen);
    std::string line;
    bool ok = true;
    while (ok && std::getline(in, line)) {
        DropTrailingCr(line);
        line.push_back('\n');
        ok = std::fwrite(line.data(), 1, line.size(), scratch) == line.size();
    }
    ok = std::fclose(scratch) == 0 && ok && !in.bad();
    if (!ok) throw CArchiveFormatError(kFileError);
    const std::string word = fileIo->LoadFromFile(m_scratch, m_hub->GetModelManager());
    if (word != kFileOk) throw CArchiveFormatError(word);
    m_hub->ImageToTree();
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
    if (m_scratch.empty()) m_scratch = CreateTempFile("~KT");
    const std::string word =
        m_scratch.empty() ? std::string(kFileCannotOpen)
                          : fileIo->SaveToFile(m_scratch, SaveRanges(), m_hub->GetModelManager());
    if (word != kFileOk) {
        *error = "Cannot write the temporary file (" + word + ").";
        return false;
    }
    std::vector<std::string> lines;
    {
        std::ifstream in(m_scratch, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            DropTrailingCr(line);
            lines.push_back(line);
        }
        if (in.bad()) lines.clear();
    }
    // A short temporary file (a full disk) must not replace a good document.
    if (lines.size() != ExpectedLines(SaveRanges(), fileIo->ImageSize(), fileIo->LineWidth())) {
        *error = "Cannot write the temporary file (incomplete).";
        return false;
    }
    const std::string target = CanonicalOf(path);
    return ReplaceWithLines(target, lines, error);
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
    return true;
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
