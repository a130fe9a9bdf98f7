// Settings on QSettings: by default the cloning program's QSettings("Norq", "KT-Z30") (the
// registry on Windows, an INI file in the user's config folder elsewhere); or one INI file of the
// caller's choosing, such as the adjust utility's "KTZ30ADJ.rs". A file is read only when it is a
// regular file, and written only when a value changed, under its lock taken within two seconds;
// otherwise the program goes on with the values it has, the file as it was.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/platform.h"

class QSettings;
class QString;
class QVariant;

class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    // The INI file at path: [section] lines with key=value lines.
    explicit CQtSettingsStore(const std::string& iniPath);
    ~CQtSettingsStore() override; // Sync()

    int GetInt(const std::string& section, const std::string& key, int def) override;
    // A value set as it is stored already changes nothing.
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    // Writes the values changed since the last time, if any; false when they could not be
    // written (the file not opened, its lock not taken, the write failed), the changes dropped.
    bool Sync();
    // Receives what went wrong with the file, at once for what went wrong already ("... is a
    // FIFO, not a regular file; going on with the defaults without saving them", "the settings
    // are locked by process 12 (ktz30) on box; going on without saving them").
    void SetReporter(std::function<void(const std::string&)> report);

private:
    void Open(const std::string& path);
    void Report(const std::string& problem);
    void Put(const std::string& section, const std::string& key, const QVariant& value,
             const std::string& text);

    std::unique_ptr<QSettings> m_settings; // none when the file was not to be opened
    std::string m_path;                    // the file; empty for the registry
    std::map<std::string, std::unique_ptr<QVariant>> m_changed; // "section/key" to value
    std::string m_problem;
    std::function<void(const std::string&)> m_report;
};

// The folder of the cloning program's backups: "backups" in the application's data folder
// (~/.local/share/Norq/KT-Z30/backups for the application "KT-Z30" of "Norq").
std::string CloneBackupFolder();
