// Settings on QSettings: by default the cloning program's QSettings("Norq", "KT-Z30") (the
// registry on Windows, an INI file in the user's config folder elsewhere); or one INI file of the
// caller's choosing, such as the adjust utility's "KTZ30ADJ.rs".
#pragma once

#include <memory>
#include <string>

#include "core/platform.h"

class QSettings;

class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    // The INI file at path: [section] lines with key=value lines.
    explicit CQtSettingsStore(const std::string& iniPath);
    ~CQtSettingsStore() override;

    int GetInt(const std::string& section, const std::string& key, int def) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;
    // Writes what was set to the file; false when the file could not be written.
    bool Sync();

private:
    std::unique_ptr<QSettings> m_settings;
};

// The folder of the cloning program's backups: "backups" in the application's data folder
// (~/.local/share/Norq/KT-Z30/backups for the application "KT-Z30" of "Norq").
std::string CloneBackupFolder();
