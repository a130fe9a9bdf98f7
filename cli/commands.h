// The commands of ktz30cli, each a whole run that returns the exit status: 0 success, 1 a file
// command failed (the file could not be loaded, a value was refused or not kept, the file could
// not be saved), 2 a usage error; radio commands the clone result (74: the file read or the
// trace could not be written; a write that could not be verified, or verified otherwise, 77).
#pragma once

#include <string>
#include <vector>

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitCannotSave = 74;

struct CCliArgs {
    std::string port; // 1 to 4 (COM1 to COM4) or a device path
    std::string output;
    int variant = 0;
    bool yes = false;
    bool makerReserve = false;
    bool code = false;
    bool all = false;
    int verify = -1;       // write: 1 --verify, 0 --no-verify, -1 as the settings say
    bool noBackup = false; // read, write: no backup this time
    std::string trace;     // radio commands: the serial trace file
    std::string file;
    std::vector<std::string> rest; // paths of get, assignments of set
};

// Radio commands.
int RunInfo(const CCliArgs& a);
int RunRead(const CCliArgs& a);
int RunWrite(const CCliArgs& a);
// File commands.
int RunNew(const CCliArgs& a);
int RunShow(const CCliArgs& a);
int RunDump(const CCliArgs& a);
int RunGet(const CCliArgs& a);
int RunSet(const CCliArgs& a);
// The serial ports of the system and the COM numbers' devices.
int RunPorts(const CCliArgs& a);
// The backups of reads and writes, newest first.
int RunBackups(const CCliArgs& a);

// Whether a port text is one the radio commands take.
bool IsPortText(const std::string& port);
