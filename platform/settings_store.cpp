#include "platform/settings_store.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>

namespace {
QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}
} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Norq"), QStringLiteral("KT-Z30"))) {}

CQtSettingsStore::CQtSettingsStore(const std::string& iniPath)
    : m_settings(
          std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

CQtSettingsStore::~CQtSettingsStore() = default;

bool CQtSettingsStore::Sync() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& key, int def) {
    const QVariant v = m_settings->value(KeyOf(section, key));
    if (!v.isValid() || v.typeId() == QMetaType::QStringList) return def;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : def;
}

void CQtSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    m_settings->setValue(KeyOf(section, key), value);
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& key,
                                        const std::string& def) {
    const QVariant v = m_settings->value(KeyOf(section, key));
    if (!v.isValid()) return def;
    // An INI value with commas reads as a list; the caller wants the text as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(',').toStdString();
    return v.toString().toStdString();
}

void CQtSettingsStore::SetString(const std::string& section, const std::string& key,
                                 const std::string& value) {
    m_settings->setValue(KeyOf(section, key), QString::fromStdString(value));
}

std::string CloneBackupFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/backups"))
        .toStdString();
}
