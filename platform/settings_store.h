// The application settings on QSettings("Norq", "KT-Z30"): the registry on Windows, an INI file in
// the user's config folder elsewhere.
#pragma once

#include <memory>

#include "core/platform.h"

class QSettings;

class CQtSettingsStore final : public ISettingsStore {
public:
    CQtSettingsStore();
    ~CQtSettingsStore() override;

    int GetInt(const std::string& section, const std::string& key, int def) override;
    void SetInt(const std::string& section, const std::string& key, int value) override;
    std::string GetString(const std::string& section, const std::string& key,
                          const std::string& def) override;
    void SetString(const std::string& section, const std::string& key,
                   const std::string& value) override;

private:
    std::unique_ptr<QSettings> m_settings;
};
