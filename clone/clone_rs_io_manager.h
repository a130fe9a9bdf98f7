// The serial clone I/O manager: clone read, write and info as whole operations, with the checks
// of the radio's identity, the beeps and the reports the user sees.
#pragma once

#include "clone/clone_manager_object.h"

#include "clone/clone_protocol.h"
#include "clone/model_info.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CByteImage;
struct CAddressRange;

// Clone result codes.
enum : int {
    kCloneOk = 0,
    kCloneCancelled = 1,
    kCloneFailed = 77,
    kCloneTransferError = 80,
    kCloneIllegalInfo = 85,
    kCloneWrongModel = 90,
    kCloneNoPort = 91,
};

// Transfer kinds the type check distinguishes.
enum : int { kKindRead = 1, kKindWrite = 3, kKindInfo = 4 };

extern const char* const kStrCloneCompleted;   // " Cloning completed."
extern const char* const kStrTerminated;       // " Terminated cloning.  "
extern const char* const kStrIllegalInfo;      // " Err: Illegal information."
extern const char* const kStrWrongModelStatus; // " Err: Connected transceiver is an wrong model."
extern const char* const kStrWrongModelBox;    // " Connected transceiver is an wrong model."
extern const char* const kStrNoPortStatus;     // " Err: Cannot access RS-232C port."
extern const char* const kStrNoPortBox;
extern const char* const kStrCannotRead;  // " Err: Cannot read cloning data."
extern const char* const kStrCannotWrite; // " Err: Cannot write cloning data."
extern const char* const kStrWriteSucceeded;
extern const char* const kStrCannotProgram;  // string 5030
extern const char* const kStrCheckFollowing; // string 5061
extern const char* const kStrReadFromTr;     // string 5054
extern const char* const kStrDataEdited;     // string 5055
extern const char* const kStrWriteToTr;      // "   Write to transceiver     "
extern const char* const kStrVerifying;      // " Now verifying <- TR"
extern const char* const kStrVerified;       // " Verified."

// One byte the radio holds otherwise than it was written.
struct CByteDifference {
    std::uint32_t address = 0;
    std::uint8_t written = 0;
    std::uint8_t read = 0;
    std::vector<std::string> paths; // the settings the byte holds
};

// What the read after a write found.
struct CVerifyOutcome {
    bool ran = false;
    int readResult = 0;                 // the read's clone result; 0: the radio was read
    std::size_t differing = 0;          // bytes of the write that differ
    std::vector<CByteDifference> first; // the first of them, in address order
    bool Verified() const { return ran && readResult == 0 && differing == 0; }
};
// The status text and the message of a verification that did not succeed: the bytes that differ,
// or why the radio could not be read back.
std::string VerifyFailureStatus(const CVerifyOutcome& outcome);
std::string VerifyFailureText(const CVerifyOutcome& outcome);

class CCloneRsIoManager : public CCloneManagerObject {
    KT_DECLARE_CLASS(CCloneRsIoManager)
public:
    CCloneRsIoManager();
    ~CCloneRsIoManager() override;
    CCloneRsIoManager(const CCloneRsIoManager&) = delete;
    CCloneRsIoManager& operator=(const CCloneRsIoManager&) = delete;

    // Creates the radio's record and the transfer file, and takes the port from the settings.
    void Init() override;

    // Port 1 to 4 ("COM<n>"); stored in the settings when the manager goes.
    void SetPort(unsigned n);
    unsigned GetPort() const { return m_engine.PortNumber(); }
    // A device path used instead of the numbered port (empty: the numbered port).
    void SetPortName(const std::string& device) { m_engine.SetPortName(device); }
    std::string PortName() const { return m_engine.PortName(); }

    // The document's commands; each returns the clone result code.
    virtual int CloneRead();
    virtual int CloneWrite();
    virtual int CloneInfo();

    virtual CModelInfo* DocumentInfo() const;
    CModelInfo* RadioInfo() const { return m_radioInfo.get(); }
    virtual std::string LoadImageFromFile(const std::string& path);
    virtual std::string SaveImageToFile(const std::string& path);
    // Each gives 0 when the radio passes.
    virtual int ModelCodeCheck() const;
    virtual int RevisionCheck(int kind) const;
    virtual int TypeCheck(int kind);
    // Shows what the radio reported: through onShowInfo when the GUI set it, else as a message
    // box captioned "Information".
    virtual void ShowInfo();
    std::function<void(const CModelInfo& radio, bool manufacture)> onShowInfo;
    virtual void SetRequestRevision(int revision) { m_engine.SetRevision(revision & 0xFFFF); }

    // Verify after write: the radio is read back after a write it answered well, and every byte
    // the write sent is compared; the read-back never reaches the document. From the settings;
    // remember: keep the choice there.
    void SetVerifyAfterWrite(bool on, bool remember = false);
    bool VerifyAfterWrite() const { return m_verify; }
    const CVerifyOutcome& LastVerify() const { return m_lastVerify; }
    // The radio's alignment bytes 0x0000 to 0x006F as the last read or verification read them
    // (empty when none did), which tell one radio from another.
    const std::vector<std::uint8_t>& LastAlignment() const { return m_lastAlignment; }
    // Backups of every read and every write in the folder (empty: none); whether they are made
    // comes from the settings, remember keeps a change there. A backup that cannot be written
    // never stops a transfer: the status text tells why.
    void SetBackupFolder(std::string folder) { m_backupFolder = std::move(folder); }
    const std::string& BackupFolder() const { return m_backupFolder; }
    void SetBackups(bool on, bool remember = false);
    bool Backups() const { return m_backups; }
    // The last backup written ("" when none).
    const std::string& LastBackup() const { return m_lastBackup; }

    // The pauses of the beep patterns (a terminal rings its bell without them).
    void SetBeepPauses(bool on) { m_beepPauses = on; }
    CCloneProtocol& Engine() { return m_engine; }
    const std::string& TransferPath() const { return m_transferPath; }

protected:
    virtual std::unique_ptr<CModelInfo> CreateRadioInfo() const;
    // What happens after a successful read (the radio-specific classes take the variant).
    virtual void AfterRead() {}
    // The alignment values before a whole-image write in "Maker reserve" mode.
    virtual void WriteAlignment();
    // Asks the radio who it is and checks the answer: 0 when the transfer may go on.
    int Identify(int kind);
    void Beep(bool success);
    // suffix: what follows the status text (" Verified.", a backup that was not saved).
    void Report(int kind, int result, const std::string& suffix = {});
    CByteImage* Image() const;
    // The ranges a write sends in the present mode.
    const CAddressRange* WriteRanges() const;
    // Reads the radio again and compares what the write sent.
    CVerifyOutcome Verify(const CByteImage& sent, const CAddressRange* ranges);
    // Saves the image as a backup; the status text for a backup that could not be saved, else "".
    std::string BackUp(const char* operation);

private:
    std::unique_ptr<CModelInfo> m_radioInfo;
    CCloneProtocol m_engine;
    std::string m_transferPath;
    unsigned m_portAtStart = 1; // the port the settings gave
    bool m_beepPauses = true;
    bool m_verify = true;
    bool m_backups = true;
    std::string m_backupFolder;
    std::vector<std::uint8_t> m_lastAlignment;
    std::string m_lastBackup;
    CVerifyOutcome m_lastVerify;
};

class CZ30CloneRsIoManager : public CCloneRsIoManager {
    KT_DECLARE_CLASS(CZ30CloneRsIoManager)
public:
    int CloneRead() override;
    int TypeCheck(int kind) override;

protected:
    std::unique_ptr<CModelInfo> CreateRadioInfo() const override;
    void AfterRead() override;
    void WriteAlignment() override;
};

// The fields of the clone info dialog "Information" for a radio's record; service (transceiver
// type and faults) only in Manufacture mode.
struct CCloneInfoText {
    std::string model;
    std::string revision;
    std::string comment; // first line, newline, second line, newline
    std::string pllRef;
    std::string service;
};
CCloneInfoText CloneInfoText(const CModelInfo& radio, bool manufacture);
// The same as one text for a message box.
std::string FormatCloneInfo(const CModelInfo& radio, bool manufacture);
