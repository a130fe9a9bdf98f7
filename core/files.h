// Files of the programs: bounded reads, replacing a file only where a regular file may go, and
// the temporary files of a run (removed when their owner goes, on a terminating signal, or by a
// later run when a killed one left them behind).
#pragma once

#include <cstddef>
#include <string>

// No clone data, settings or constants file comes near this; a bigger input is not one of ours.
inline constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;

enum class KtRead { Ok, CannotOpen, TooLarge };
// Reads path whole (a regular file, a pipe or a device) into text, stopping after limit bytes:
// a longer input gives TooLarge and an empty text.
KtRead ReadFileBounded(const std::string& path, std::string* text,
                       std::size_t limit = kMaxInputBytes);

// Whether path is a symbolic link that leads to no file (dangling, or a loop).
bool IsLinkToNothing(const std::string& path);
// Empty when path is absent or a regular file (or a link to one), else what it is instead
// ("x is a FIFO, not a regular file", "x is a symbolic link to nothing").
std::string NotARegularFile(const std::string& path);
// Empty when target may be replaced by a new file (it is absent, or a regular file the user may
// write, or a link to one), else why not ("... is a FIFO, not a regular file; it was left as it
// is.", "... is a symbolic link to nothing; ...", "Permission denied").
std::string WhyNotReplaceable(const std::string& target);
// Writes contents into a new file beside target ("radio.hxq.kt-saving-ClJeXK") and renames it
// over target, so that a failure at any point leaves target as it was. The new file takes
// target's permissions (else the umask's). Refuses what WhyNotReplaceable refuses. Such files
// that killed saves left in the folder go first. On failure returns false with the reason in
// error.
bool ReplaceFile(const std::string& target, const std::string& contents, std::string* error);
// The mark of a save's new file between the target's name and its unique six characters.
inline constexpr const char* kSaveFileMark = ".kt-saving-";
// Deletes in folder the new files of saves killed outright: a name, the mark and six letters or
// digits, a regular file of this user untouched for more than an hour. Returns how many went.
int RemoveStaleSaveFiles(const std::string& folder);

// The folder of the running program ("/usr/bin"); empty when the system does not say.
std::string ProgramFolder();
// Where an installed program keeps its data: share/<product> beside the program's bin folder
// ("/usr/share/ktz30" for "/usr/bin/ktz30"); empty when the program folder is unknown.
std::string InstalledDataFolder(const std::string& product);

// Prefixes of our temporary files: the clone transfer file and the document's scratch file.
inline constexpr const char* kTransferFilePrefix = "cl";
inline constexpr const char* kScratchFilePrefix = "~KT";

// Creates an empty file with a unique name (prefix and six characters) and owner-only
// permissions in the user's temporary folder, and remembers it for RemoveTempFilesNow. Returns
// the path, or an empty string on failure (with why, when given, as TempFileProblem says it).
std::string CreateTempFile(const std::string& prefix, std::string* why = nullptr);
// The temporary folder as the environment names it (TMPDIR and its kin, else /tmp), whether or
// not it is there.
std::string TempFolderName();
// "cannot make a temporary file in /tmp/x: No such file or directory" (verb "make" or "write",
// error an errno value).
std::string TempFileProblem(const char* verb, int error);
// Deletes a file made by CreateTempFile and forgets it; a failure is of no consequence.
void RemoveTempFile(const std::string& path);
// Deletes every remembered temporary file of this run. Safe inside a signal handler.
void RemoveTempFilesNow();
// Deletes, in the temporary folder, files of a run that was killed outright: our prefixes and
// name pattern, a regular file of this user, untouched for more than a day, and empty or
// beginning with a clone data file header. Returns how many went.
int RemoveStaleTempFiles();
// Deletes the temporary files, then ends the program by the signal (for signal handlers).
extern "C" void RemoveTempFilesAndEnd(int signal);
// Installs handler for SIGINT, SIGTERM and SIGHUP (SIGTERM and SIGINT on Windows); a system
// call it interrupts is not restarted.
void HandleTerminatingSignals(void (*handler)(int) = RemoveTempFilesAndEnd);
