// Automatic backups: every clone read and every clone write (before it starts) leaves the image as
// a clone data file in a folder of the user's, named for the time, the operation and the variant
// ("2026-12-08_14-03-22_read_PMR16.hxq"); the newest 100 are kept.
#pragma once

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

struct CBackupEntry {
    std::string path;
    std::string time;      // "2026-12-08 14:03:22"
    std::string operation; // "read" or "write"
    int variant = 0;       // 0 LMR 1CH .. 5 PMR 16CH
    std::string comment;   // the radio's comments from the file's comment line
};

class CBackupStore {
public:
    static constexpr std::size_t kKeep = 100;

    explicit CBackupStore(std::string folder) : m_folder(std::move(folder)) {}
    const std::string& Folder() const { return m_folder; }

    // Writes contents (a clone data file's text) as a new backup (the folder is made when
    // missing), then deletes all but the newest kKeep. False with the reason when the file could
    // not be written; path: the file written.
    bool Save(const std::string& operation, int variant, const std::string& contents,
              std::string* path, std::string* error);
    // The backups in the folder, newest first. Files of other names are not ours: they are
    // neither listed nor deleted.
    std::vector<CBackupEntry> List() const;
    // Deletes all but the newest keep backups; returns how many went.
    std::size_t Prune(std::size_t keep = kKeep);

    // The time a backup is named for (the time of day unless a test sets its own).
    std::function<std::time_t()> now;

private:
    std::string m_folder;
};

// "2026-12-08_14-03-22_read_PMR16.hxq" for the local time t; copy 2 and on add "_2" and on for
// a second backup of the same second.
std::string BackupFileName(std::time_t t, const std::string& operation, int variant, int copy = 1);
// The time, operation and variant a backup's name gives; false for any other name.
bool ParseBackupFileName(const std::string& name, CBackupEntry* entry);
