// The commands of ktz30cli, each a whole run that returns the exit status: 0 success, 1 a file
// command failed (the file could not be loaded, a value was refused or not kept, a channel does
// not exist, the file could not be saved), 2 a usage error; radio commands the clone result
// (1 also for a partial file written without --allow-partial; 74: the file read or the trace
// could not be written; a write that could not be verified, or verified otherwise, 77).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CCloneTrace;
class CZ30Doc;
struct CEditOutcome;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCannotSave = 74;

struct CCliArgs {
    std::string port;               // 1 to 4 (COM1 to COM4) or a device path
    std::vector<std::string> ports; // every --port given (several: one transfer each)
    std::string output;
    int variant = 0;
    std::string templateName; // new: a stock configuration instead of the factory defaults
    bool yes = false;
    bool makerReserve = false;
    bool code = false;
    bool all = false;
    bool allowPartial = false;
    bool force = false;    // write: also channels that would transmit on 0 MHz
    int verify = -1;       // write: 1 --verify, 0 --no-verify, -1 as the settings say
    bool noBackup = false; // read, write: no backup this time
    std::string trace;     // radio commands: the serial trace file
    std::string file;
    std::string from;              // set: a dump's lines instead of assignments
    std::string base;              // set --from: the bytes outside every value and the adjust area
    std::vector<std::string> rest; // paths of get, assignments of set, words of channel
};

// Radio commands.
int RunInfo(const CCliArgs& a);
int RunRead(const CCliArgs& a);
int RunWrite(const CCliArgs& a);
// File commands.
int RunNew(const CCliArgs& a); // the factory defaults; with a template, RunNewFromTemplate
int RunShow(const CCliArgs& a);
int RunDump(const CCliArgs& a);
int RunGet(const CCliArgs& a);
int RunSet(const CCliArgs& a);
// A channel operation by words ("delete 5", "copy 2 7"), then save.
int RunChannel(const CCliArgs& a);
// The serial ports of the system and the COM numbers' devices.
int RunPorts(const CCliArgs& a);
// The backups of reads and writes, newest first.
int RunBackups(const CCliArgs& a);

// Whether a port text is one the radio commands take.
bool IsPortText(const std::string& port);

// Runs body on the document of a clone data file, loaded as the file commands load it; a file
// that does not load is told on standard error and gives kExitFailure.
int WithFileDocument(const std::string& path, const std::function<int(CZ30Doc&)>& body);
// --- What the other command files share with these (csv_cmd, fleet, templates).
// The terminal's platform services for as long as the returned object lives.
std::shared_ptr<void> UseTerminalPlatform(bool assumeYes);
// A document for one command (the remembered variant stays as it is).
std::unique_ptr<CZ30Doc> NewCliDocument();
// Load and save as the file commands do, telling the user why on failure.
bool LoadCliDocument(CZ30Doc& doc, const std::string& path);
bool SaveCliDocument(CZ30Doc& doc, const std::string& path);
// Saves an edited file to output, else back to file, and prints "ktz30cli: wrote FILE: done".
bool SaveEditedDocument(CZ30Doc& doc, const std::string& file, const std::string& output,
                        const std::string& done);
// What a write settles before any port is opened: the file loads, it holds every line the
// write sends (unless --allow-partial), no channel would transmit on 0 MHz (unless --force), and
// with --maker-reserve the caution is answered yes.
// 0 to go on, else the exit status after telling why.
int PrepareWriteDocument(CZ30Doc& doc, const CCliArgs& a);
// Whether a read could write its file at path, as the save writes it; tells why not.
bool ReadTargetWritable(const std::string& path);
// The device a port text names: a COM number through the port resolver, else the path itself.
std::string PortDeviceOf(const std::string& port);
// "PMR 16CH"
std::string CliVariantName(int variant);
// A radio command's run (the terminal's services, Ctrl+C, the run's radio options); a trace
// that did not reach its file whole is told and turns a success into kExitCannotSave.
int RunRadioCommand(const CCliArgs& a, const std::function<int(CZ30Doc&)>& body);
// What set tells of a value not taken, and the note beside one taken.
std::string SetFailureText(const CZ30Doc& doc, const CEditOutcome& o, bool code);
void TellSetNote(const CZ30Doc& doc, const char* verb, const CEditOutcome& o);
// Text to standard output line by line, so that a full output is told by the end's check with
// the system's reason.
void PrintLines(const std::string& text);
