#include "clone/clone_rs_io_manager.h"

#include "clone/adjust_data_manager.h"
#include "clone/clone_backups.h"
#include "clone/clone_file_io_manager.h"
#include "clone/clone_manager.h"
#include "clone/eeprom_data_manager.h"
#include "clone/model_manager.h"
#include "clone/radio_data_manager.h"
#include "core/files.h"
#include "core/platform.h"

#include <algorithm>
#include <cstdio>

KT_IMPLEMENT_DYNCREATE(CCloneRsIoManager, CCloneManagerObject)
KT_IMPLEMENT_DYNCREATE(CZ30CloneRsIoManager, CCloneRsIoManager)

const char* const kStrCloneCompleted = " Cloning completed.";
const char* const kStrTerminated = " Terminated cloning.  ";
const char* const kStrIllegalInfo = " Err: Illegal information.";
const char* const kStrWrongModelStatus = " Err: Connected transceiver is an wrong model.";
const char* const kStrWrongModelBox = " Connected transceiver is an wrong model.";
const char* const kStrNoPortStatus = " Err: Cannot access RS-232C port.";
const char* const kStrNoPortBox = " Check the following:\n\n - The RS-232C port settings.\n - "
                                  "Cloning cable connections.\n - Transceiver power is ON.";
const char* const kStrCannotRead = " Err: Cannot read cloning data.";
const char* const kStrCannotWrite = " Err: Cannot write cloning data.";
const char* const kStrWriteSucceeded =
    " Clone writing succeeded. \n\n Turn the transceiver power off and on to use \n the "
    "transceiver under its new conditions.\n";
const char* const kStrCannotProgram =
    " The transceiver cannot be programmed. The cause may be:\n\n 1) The transceiver has not "
    "been cloned.\n 2) The transceiver's EEPROM is damaged.\n 3) The transceiver's revision "
    "number is not compatible\n    with the programming software.\n\n In cases 1 or 2, the "
    "transceiver requires factory\n maintenance. In case 3, the transceiver cannot be\n "
    "programmed using this program.\n\n";
const char* const kStrCheckFollowing =
    " Check the following:\r\n\r\n - The RS-232C port settings.\r\n - Cloning cable "
    "connections.\r\n - Appropriate cloning software for the transceiver is being used.\r\n - "
    "The revision number of the transceiver.\n";
const char* const kStrReadFromTr = " Read from transceiver";
const char* const kStrDataEdited = " Data has been edited.";
const char* const kStrWriteToTr = "   Write to transceiver     ";
const char* const kStrVerifying = " Now verifying <- TR";
const char* const kStrVerified = " Verified.";

namespace {

constexpr const char* kCaption = "KT-Z30";
constexpr const char* kPortSection = "CommPort";
constexpr const char* kPortKey = "PortNumber";
constexpr const char* kSettingsSection = "Settings";
constexpr const char* kVerifyKey = "VerifyAfterWrite";
constexpr const char* kBackupsKey = "Backups";
// Differences a failed verification lists.
constexpr std::size_t kDifferencesShown = 8;
// Settings a byte holds that a difference names; more are counted.
constexpr std::size_t kPathsShown = 3;

// What kept a verify read from reading the radio.
const char* ReadFailureText(int result) {
    switch (result) {
    case kCloneCancelled:
        return "the read was cancelled";
    case kCloneIllegalInfo:
        return "the transceiver's information is illegal";
    case kCloneWrongModel:
        return "the transceiver is a wrong model";
    case kCloneNoPort:
        return "the RS-232C port cannot be accessed";
    case kCloneTransferError:
        return "the data read could not be taken";
    default:
        return "no valid data came from the transceiver";
    }
}

std::string Hex(unsigned value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

IUserPrompts& Prompts() { return *Platform().prompts; }

} // namespace

CCloneInfoText CloneInfoText(const CModelInfo& radio, bool manufacture) {
    CCloneInfoText t;
    t.model = radio.NameOfCurrent();
    char revision[32];
    std::snprintf(revision, sizeof revision, "%d.%d", (radio.GetRevision() >> 8) & 0xFF,
                  radio.DetailLookup("DETSREV"));
    t.revision = revision;
    t.comment = radio.CommentLine(0) + "\n" + radio.CommentLine(1) + "\n";
    t.pllRef = radio.DetailLookup("DETREF") == 1 ? "15.6MHz" : "15.3MHz";
    if (manufacture) {
        t.service = "TR is ";
        if (radio.DetailLookup("DETTRTYP_BRS") == 1)
            t.service += "BRS";
        else if (radio.DetailLookup("DETTRTYP_GMRS") == 1)
            t.service += "GMRS";
        else
            t.service += "Conventional";
        t.service += "\n";
        if (radio.DetailLookup("DETEEP") == 1) t.service += "\n  ! ! !  EEPROM Error  ! ! !";
        if (radio.DetailLookup("DETHIVOLT") == 1)
            t.service += "\n  ! ! !  Over voltage supplied.  ! ! !";
    }
    return t;
}

std::string VerifyFailureStatus(const CVerifyOutcome& v) {
    if (v.readResult != kCloneOk) return " Err: The write could not be verified.";
    return " Err: Verification failed: " + std::to_string(v.differing) +
           (v.differing == 1 ? " byte differs." : " bytes differ.");
}

std::string VerifyFailureText(const CVerifyOutcome& v) {
    if (v.readResult != kCloneOk)
        return " The transceiver answered that the data were written well, but reading them\n"
               " back failed: " +
               std::string(ReadFailureText(v.readResult)) +
               ".\n\n The write could not be verified. Read the transceiver to see what it "
               "holds.\n";
    std::string text =
        " The transceiver holds other data than were written: " + std::to_string(v.differing) +
        (v.differing == 1 ? " byte differs.\n\n" : " bytes differ.\n\n");
    if (v.first.size() < v.differing)
        text += " The first " + std::to_string(v.first.size()) + ":\n";
    for (const CByteDifference& d : v.first) {
        text += "  0x" + Hex(d.address, 4) + "  written " + Hex(d.written, 2) + ", read " +
                Hex(d.read, 2);
        for (std::size_t i = 0; i < d.paths.size() && i < kPathsShown; ++i)
            text += (i ? ", " : "  ") + d.paths[i];
        if (d.paths.size() > kPathsShown)
            text += " and " + std::to_string(d.paths.size() - kPathsShown) + " more";
        if (d.paths.empty()) text += "  (no setting)";
        text += "\n";
    }
    return text + "\n Write again; if bytes still differ, the transceiver needs service.\n";
}

std::string FormatCloneInfo(const CModelInfo& radio, bool manufacture) {
    const CCloneInfoText t = CloneInfoText(radio, manufacture);
    std::string text = "Model:\t" + t.model + "\n";
    text += "Revision:\t" + t.revision + "\n\n";
    text += "Comment:\t" + radio.CommentLine(0) + "\n\t" + radio.CommentLine(1) + "\n";
    text += "PLL Ref:\t" + t.pllRef;
    if (!t.service.empty()) text += "\n\n" + t.service;
    return text;
}

CCloneRsIoManager::CCloneRsIoManager() = default;

CCloneRsIoManager::~CCloneRsIoManager() {
    // Only a port chosen since is written: a value that does not read as a port stays.
    if (m_radioInfo && Platform().settings && GetPort() != m_portAtStart)
        Platform().settings->SetInt(kPortSection, kPortKey, static_cast<int>(GetPort()));
    RemoveTempFile(m_transferPath);
}

std::unique_ptr<CModelInfo> CCloneRsIoManager::CreateRadioInfo() const {
    return std::make_unique<CModelInfo>(0, 255, 0, 0, 1);
}

void CCloneRsIoManager::Init() {
    m_radioInfo = CreateRadioInfo();
    if (m_transferPath.empty()) m_transferPath = CreateTempFile(kTransferFilePrefix);
    int port = Platform().settings ? Platform().settings->GetInt(kPortSection, kPortKey, 1) : 1;
    m_portAtStart = port > 0 ? static_cast<unsigned>(port) : 1;
    m_engine.SetPortNumber(m_portAtStart);
    m_engine.SetExpectedFrameCount(256);
    m_engine.SetTransferFile(m_transferPath);
    if (ISettingsStore* settings = Platform().settings) {
        m_verify = settings->GetInt(kSettingsSection, kVerifyKey, 1) != 0;
        m_backups = settings->GetInt(kSettingsSection, kBackupsKey, 1) != 0;
    }
}

void CCloneRsIoManager::SetVerifyAfterWrite(bool on, bool remember) {
    m_verify = on;
    if (remember && Platform().settings)
        Platform().settings->SetInt(kSettingsSection, kVerifyKey, on ? 1 : 0);
}

void CCloneRsIoManager::SetBackups(bool on, bool remember) {
    m_backups = on;
    if (remember && Platform().settings)
        Platform().settings->SetInt(kSettingsSection, kBackupsKey, on ? 1 : 0);
}

void CCloneRsIoManager::SetPort(unsigned n) {
    m_engine.SetPortNumber(n);
    m_engine.SetPortName({});
}

CModelInfo* CCloneRsIoManager::DocumentInfo() const {
    CModelManager* model = GetOwner() ? GetOwner()->GetModelManager() : nullptr;
    return model ? model->GetModelInfo() : nullptr;
}

CByteImage* CCloneRsIoManager::Image() const {
    return GetOwner() ? GetOwner()->GetImage() : nullptr;
}

std::string CCloneRsIoManager::LoadImageFromFile(const std::string& path) {
    CCloneManagerTemplate* hub = GetOwner();
    if (!hub || !hub->GetCloneFileIoManager()) return kFileError;
    return hub->GetCloneFileIoManager()->LoadFromFile(path, hub->GetModelManager());
}

const CAddressRange* CCloneRsIoManager::WriteRanges() const {
    CModelManager* model = GetOwner() ? GetOwner()->GetModelManager() : nullptr;
    return model && model->IsMakerReserve() ? kMakerWriteRanges : kCloneWriteRanges;
}

std::string CCloneRsIoManager::SaveImageToFile(const std::string& path) {
    CCloneManagerTemplate* hub = GetOwner();
    if (!hub || !hub->GetCloneFileIoManager()) return kFileError;
    return hub->GetCloneFileIoManager()->SaveToFile(path, WriteRanges(), hub->GetModelManager());
}

int CCloneRsIoManager::ModelCodeCheck() const {
    const CModelInfo* doc = DocumentInfo();
    if (!doc || !m_radioInfo) return kCloneFailed;
    return m_radioInfo->GetModelCode() == doc->GetModelCode() ? 0 : kCloneFailed;
}

int CCloneRsIoManager::RevisionCheck(int kind) const {
    const CModelInfo* doc = DocumentInfo();
    if (!doc || !m_radioInfo) return kCloneFailed;
    if (doc->GetRevision() == 0 || ((m_radioInfo->GetRevision() >> 8) & 0xFF) == 1) return 0;
    CModelManager* model = GetOwner() ? GetOwner()->GetModelManager() : nullptr;
    if (kind == kKindWrite && model && model->IsMakerReserve()) return 0;
    return kCloneFailed;
}

int CCloneRsIoManager::TypeCheck(int) { return 0; }

void CCloneRsIoManager::ShowInfo() {
    CModelManager* model = GetOwner() ? GetOwner()->GetModelManager() : nullptr;
    if (!m_radioInfo) return;
    const bool manufacture = model && model->IsManufacture();
    if (onShowInfo) return onShowInfo(*m_radioInfo, manufacture);
    Prompts().MessageBox(FormatCloneInfo(*m_radioInfo, manufacture), "Information", KtButtons::Ok,
                         KtIcon::Information);
}

int CCloneRsIoManager::Identify(int kind) {
    const CModelInfo* doc = DocumentInfo();
    if (!doc || !m_radioInfo) return kCloneFailed;
    m_engine.SetModelCode(static_cast<std::uint16_t>(doc->GetModelCode()));
    m_engine.SetRevision(0);
    m_engine.SetTransferFile(m_transferPath);
    int result;
    {
        CWaitCursor wait;
        result = m_engine.CloneInfo();
    }
    if (result != 0) return result;
    const CCloneInfoReply& reply = m_engine.InfoReply();
    m_radioInfo->SetModelCode(reply.modelCode);
    m_radioInfo->SetRevision(reply.revision);
    m_radioInfo->SetInfoData(reply.data,
                             std::min<std::size_t>(reply.dataLength, m_radioInfo->InfoLength()));
    m_radioInfo->ParseInfo();
    if (ModelCodeCheck() != 0 || RevisionCheck(kind) != 0) return kCloneIllegalInfo;
    return TypeCheck(kind);
}

void CCloneRsIoManager::Beep(bool success) {
    IBeeper* beeper = Platform().beeper;
    IClock* clock = Platform().clock;
    auto pause = [&](unsigned ms) {
        if (m_beepPauses && clock) clock->SleepMs(ms);
    };
    if (!beeper) return;
    if (success) {
        beeper->Beep(1000, 50);
        pause(50);
        beeper->Beep(1000, 50);
    } else {
        for (int i = 0; i < 4; ++i) {
            if (i > 0) pause(100);
            beeper->Beep(500, 400);
        }
    }
    pause(500);
}

void CCloneRsIoManager::Report(int kind, int result, const std::string& suffix) {
    IUserPrompts& p = Prompts();
    auto box = [&](const char* text, KtIcon icon) {
        p.MessageBox(text, kCaption, KtButtons::Ok, icon);
    };
    auto status = [&](const char* text) { p.SetStatusText(text + suffix); };
    switch (result) {
    case kCloneOk:
        if (kind == kKindInfo) return;
        status(kStrCloneCompleted);
        if (kind == kKindWrite) box(kStrWriteSucceeded, KtIcon::Information);
        return;
    case kCloneCancelled:
        status(kStrTerminated);
        return;
    case kCloneIllegalInfo:
        status(kStrIllegalInfo);
        box(kStrCannotProgram, KtIcon::Stop);
        return;
    case kCloneWrongModel:
        status(kStrWrongModelStatus);
        box(kStrWrongModelBox, KtIcon::Stop);
        return;
    case kCloneNoPort:
        status(kStrNoPortStatus);
        box(kStrNoPortBox, KtIcon::Stop);
        return;
    default:
        status(kind == kKindRead    ? kStrCannotRead
               : kind == kKindWrite ? kStrCannotWrite
                                    : kStrIllegalInfo);
        box(kStrCheckFollowing, KtIcon::Stop);
        return;
    }
}

std::string CCloneRsIoManager::BackUp(const char* operation) {
    CCloneManagerTemplate* hub = GetOwner();
    CCloneFileIoManager* fileIo = hub ? hub->GetCloneFileIoManager() : nullptr;
    CModelManager* model = hub ? hub->GetModelManager() : nullptr;
    CByteImage* image = Image();
    if (!m_backups || m_backupFolder.empty() || !fileIo || !model || !image) return {};
    const std::string text = fileIo->WholeImageText(*image, model);
    std::string error = "the image could not be written as text";
    if (!text.empty() && CBackupStore(m_backupFolder)
                             .Save(operation, model->GetVariant(), text, &m_lastBackup, &error))
        return {};
    return " Backup not saved: " + error;
}

CVerifyOutcome CCloneRsIoManager::Verify(const CByteImage& sent, const CAddressRange* ranges) {
    CVerifyOutcome v;
    v.ran = true;
    v.readResult = Identify(kKindRead);
    // Every byte starts different from what was sent: one the read does not give counts.
    CByteImage back(sent.Size());
    for (std::uint32_t a = 0; a < sent.Size(); ++a)
        back.WriteByte(a, static_cast<std::uint8_t>(~sent.ReadByte(a)));
    if (v.readResult == kCloneOk) {
        m_engine.SetModelCode(static_cast<std::uint16_t>(m_radioInfo->GetModelCode()));
        m_engine.SetRevision(static_cast<std::uint16_t>(m_radioInfo->GetRevision()));
        m_engine.SetExpectedFrameCount(CCloneProtocol::kImageLines);
        v.readResult = m_engine.CloneRead(kStrVerifying);
        if (v.readResult == kCloneOk && ReadImageFile(m_transferPath, &back) != kFileOk)
            v.readResult = kCloneTransferError;
    }
    if (v.readResult != kCloneOk) return v;
    m_lastAlignment.assign(back.Data(), back.Data() + std::min<std::uint32_t>(0x70, back.Size()));
    std::vector<std::uint32_t> shown;
    for (const CAddressRange* r = ranges; r && r->start < sent.Size(); ++r) {
        for (std::uint32_t a = r->start; a <= r->end && a < sent.Size(); ++a) {
            if (back.ReadByte(a) == sent.ReadByte(a)) continue;
            if (++v.differing <= kDifferencesShown) {
                v.first.push_back({a, sent.ReadByte(a), back.ReadByte(a), {}});
                shown.push_back(a);
            }
        }
    }
    CRadioDataManager* data = GetOwner() ? GetOwner()->GetRadioDataManager() : nullptr;
    if (data && !shown.empty()) {
        const auto paths = data->NodePathsAt(shown);
        for (std::size_t i = 0; i < v.first.size() && i < paths.size(); ++i)
            v.first[i].paths = paths[i];
    }
    return v;
}

int CCloneRsIoManager::CloneRead() {
    CCloneManagerTemplate* hub = GetOwner();
    ICloneDocument* doc = hub ? hub->GetDocument() : nullptr;
    if (doc && doc->IsModified() &&
        Prompts().MessageBox(std::string(kStrReadFromTr) + "," + kStrDataEdited, kCaption,
                             KtButtons::OkCancel, KtIcon::Question) != KtAnswer::Ok)
        return kCloneCancelled;
    int result = Identify(kKindRead);
    if (result == 0) {
        m_engine.SetModelCode(static_cast<std::uint16_t>(m_radioInfo->GetModelCode()));
        m_engine.SetRevision(static_cast<std::uint16_t>(m_radioInfo->GetRevision()));
        CWaitCursor wait;
        result = m_engine.CloneRead();
        // The radio's own bytes, before the load fixes the image up.
        CByteImage raw(hub && hub->GetImage() ? hub->GetImage()->Size() : 0);
        if (result == 0 && ReadImageFile(m_transferPath, &raw) == kFileOk)
            m_lastAlignment.assign(raw.Data(),
                                   raw.Data() + std::min<std::uint32_t>(0x70, raw.Size()));
        if (result == 0 && LoadImageFromFile(m_transferPath) != kFileOk)
            result = kCloneTransferError;
    }
    Beep(result == 0);
    Report(kKindRead, result);
    if (result == 0) {
        AfterRead();
        // The tree holds the radio's comments now, which the backup file carries.
        if (const std::string note = BackUp("read"); !note.empty())
            Prompts().SetStatusText(kStrCloneCompleted + note);
    }
    return result;
}

int CCloneRsIoManager::CloneWrite() {
    CCloneManagerTemplate* hub = GetOwner();
    CModelManager* model = hub ? hub->GetModelManager() : nullptr;
    if (!hub || !model) return kCloneFailed;
    m_lastVerify = {};
    const bool maker = model->IsMakerReserve();
    // No to the caution cancels, as No to the question does.
    if (maker && Prompts().MessageBox(kMakerReserveCaution, kCaption, KtButtons::YesNo,
                                      KtIcon::Exclamation) != KtAnswer::Yes)
        return kCloneCancelled;
    hub->TreeToImage();
    if (Prompts().MessageBox(kStrWriteToTr, kCaption, KtButtons::OkCancel, KtIcon::Question) !=
        KtAnswer::Ok)
        return kCloneCancelled;
    int result = Identify(kKindWrite);
    std::string note;
    if (result == 0) {
        m_engine.SetModelCode(static_cast<std::uint16_t>(m_radioInfo->GetModelCode()));
        SetRequestRevision(maker ? 0 : m_radioInfo->GetRevision());
        CWaitCursor wait;
        if (maker) WriteAlignment();
        // An old transfer file is never sent: the port stays closed unless this save worked.
        if (SaveImageToFile(m_transferPath) != kFileOk) {
            result = kCloneTransferError;
        } else {
            // The image as it goes to the radio, kept before anything is sent.
            note = BackUp("write");
            if (!note.empty()) Prompts().SetStatusText(note);
            CByteImage sent;
            sent.CopyFrom(*Image());
            result = m_engine.CloneWrite();
            if (result == 0 && m_verify) {
                m_lastVerify = Verify(sent, WriteRanges());
                if (!m_lastVerify.Verified()) result = kCloneFailed;
            }
        }
    }
    Beep(result == 0);
    if (m_lastVerify.ran && !m_lastVerify.Verified()) {
        Prompts().SetStatusText(VerifyFailureStatus(m_lastVerify) + note);
        Prompts().MessageBox(VerifyFailureText(m_lastVerify), kCaption, KtButtons::Ok,
                             m_lastVerify.readResult == kCloneOk ? KtIcon::Stop
                                                                 : KtIcon::Exclamation);
    } else {
        Report(kKindWrite, result, (m_lastVerify.ran ? kStrVerified : "") + note);
    }
    return result;
}

void CCloneRsIoManager::WriteAlignment() {
    CCloneManagerTemplate* hub = GetOwner();
    if (CAdjustDataManager* adjust = hub ? hub->GetAdjustDataManager() : nullptr)
        adjust->WriteAlignmentValues();
}

int CCloneRsIoManager::CloneInfo() {
    int result = Identify(kKindInfo);
    if (result == 0) {
        m_engine.SetModelCode(static_cast<std::uint16_t>(m_radioInfo->GetModelCode()));
        m_engine.SetRevision(static_cast<std::uint16_t>(m_radioInfo->GetRevision()));
        Beep(true);
        ShowInfo();
    } else {
        Beep(false);
        Report(kKindInfo, result);
    }
    return result;
}

std::unique_ptr<CModelInfo> CZ30CloneRsIoManager::CreateRadioInfo() const {
    return CZ30ModelManager::NewZ30Record();
}

int CZ30CloneRsIoManager::CloneRead() {
    Engine().SetExpectedFrameCount(CCloneProtocol::kImageLines);
    return CCloneRsIoManager::CloneRead();
}

int CZ30CloneRsIoManager::TypeCheck(int kind) {
    CCloneManagerTemplate* hub = GetOwner();
    CModelManager* model = hub ? hub->GetModelManager() : nullptr;
    const CModelInfo* radio = RadioInfo();
    if (!model || !radio) return kCloneFailed;
    const bool special =
        radio->DetailLookup("DETTRTYP_BRS") == 1 || radio->DetailLookup("DETTRTYP_GMRS") == 1;
    if (special && !model->IsManufacture()) return kCloneFailed;
    if (kind != kKindWrite) return 0;
    const int docClass = ChannelClassOf(model->GetVariant());
    if (model->IsMakerReserve()) {
        int byte3 = std::min(docClass, 9);
        if (radio->DetailLookup("DETTRTYP_CONV") != 1) {
            CByteImage* image = Image();
            const bool bit3 = image && (image->ReadByte(7) & 0x08) != 0;
            byte3 += bit3 ? 16 : 32;
        }
        if (CByteImage* image = Image()) image->WriteByte(3, static_cast<std::uint8_t>(byte3));
        return 0;
    }
    return docClass == ChannelClassOf(radio->GetCurrent()) ? 0 : kCloneWrongModel;
}

void CZ30CloneRsIoManager::AfterRead() {
    CCloneManagerTemplate* hub = GetOwner();
    CModelManager* model = hub ? hub->GetModelManager() : nullptr;
    if (!hub || !model) return;
    // The radio's variant first; image to tree comes last and lets the image's own bytes decide.
    model->SetVariant(RadioInfo()->GetCurrent(), false);
    hub->ImageToTree();
    if (ICloneDocument* doc = hub->GetDocument()) {
        doc->RebuildViews();
        doc->SetModifiedFlag(true);
        doc->TreeChanged(CChangeReason::Read);
    }
}

void CZ30CloneRsIoManager::WriteAlignment() {
    CCloneManagerTemplate* hub = GetOwner();
    CAdjustDataManager* adjust = hub ? hub->GetAdjustDataManager() : nullptr;
    if (!adjust) return;
    // The values belong to the radio's revision, not the document's.
    adjust->WriteAlignmentValues((RadioInfo()->GetRevision() >> 8) & 0xFF,
                                 RadioInfo()->DetailLookup("DETSREV"));
}
