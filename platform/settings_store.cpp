#include "platform/settings_store.h"

#include "core/files.h"

#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

#include <filesystem>

namespace {

QString KeyOf(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}

// Stands for a key that is not there; no settings value holds a control character like it.
constexpr const char* kMissing = "\x01missing";

constexpr int kLockWaitMs = 2000;

// Who holds a lock file, as it says.
std::string HolderOf(const QLockFile& lock, const std::string& path) {
    qint64 pid = 0;
    QString host, program;
    if (!lock.getLockInfo(&pid, &host, &program))
        return "an unknown program (" + path + " is there)";
    std::string text = "process " + std::to_string(pid);
    if (!program.isEmpty()) text += " (" + program.toStdString() + ")";
    if (!host.isEmpty()) text += " on " + host.toStdString();
    return text;
}

} // namespace

CQtSettingsStore::CQtSettingsStore() {
#ifdef _WIN32
    m_settings = std::make_unique<QSettings>(QStringLiteral("Norq"), QStringLiteral("KT-Z30"));
#else
    // Where QSettings("Norq", "KT-Z30") keeps its INI file.
    Open((QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
          QStringLiteral("/Norq/KT-Z30.conf"))
             .toStdString());
#endif
}

CQtSettingsStore::CQtSettingsStore(const std::string& iniPath) { Open(iniPath); }

CQtSettingsStore::~CQtSettingsStore() { Sync(); }

void CQtSettingsStore::Open(const std::string& path) {
    m_path = path;
    // A FIFO would keep the reader waiting for a writer, a device for ever.
    std::string why = NotARegularFile(path);
    std::error_code ec;
    if (why.empty() && std::filesystem::file_size(path, ec) > kMaxInputBytes && !ec)
        why = path + " is larger than any settings file";
    if (!why.empty()) {
        Report(why + "; going on with the defaults without saving them");
        return;
    }
    m_settings = std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
}

void CQtSettingsStore::SetReporter(std::function<void(const std::string&)> report) {
    m_report = std::move(report);
    if (m_report && !m_problem.empty()) m_report(m_problem);
}

void CQtSettingsStore::Report(const std::string& problem) {
    m_problem = problem;
    if (m_report) m_report(problem);
}

bool CQtSettingsStore::Sync() {
    if (m_changed.empty()) return m_settings != nullptr;
    auto changed = std::move(m_changed);
    m_changed.clear();
    if (!m_settings) return false;
    if (!m_path.empty()) {
        // QSettings waits for its lock as long as it takes; a lock left by a program that is
        // gone, or of another host, would hold the program for half a minute or for ever.
        // Taken here within two seconds, then left to QSettings at once.
        const std::string lockPath = m_path + ".lock";
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ec);
        QLockFile lock(QString::fromStdString(lockPath));
        if (!lock.tryLock(kLockWaitMs)) {
            Report((lock.error() == QLockFile::LockFailedError
                        ? "the settings are locked by " + HolderOf(lock, lockPath)
                        : "the settings cannot be saved: " + lockPath + " cannot be made") +
                   "; going on without saving them");
            return false;
        }
        lock.unlock();
    }
    for (const auto& [key, value] : changed)
        m_settings->setValue(QString::fromStdString(key), *value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

int CQtSettingsStore::GetInt(const std::string& section, const std::string& key, int def) {
    bool ok = false;
    const int n = QString::fromStdString(GetString(section, key, kMissing)).trimmed().toInt(&ok);
    return ok ? n : def;
}

std::string CQtSettingsStore::GetString(const std::string& section, const std::string& key,
                                        const std::string& def) {
    const QString name = KeyOf(section, key);
    const auto it = m_changed.find(name.toStdString());
    const QVariant v = it != m_changed.end() ? *it->second
                       : m_settings          ? m_settings->value(name)
                                             : QVariant();
    if (!v.isValid()) return def;
    // An INI value with commas reads as a list; the caller wants the text as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(',').toStdString();
    return v.toString().toStdString();
}

void CQtSettingsStore::Put(const std::string& section, const std::string& key,
                           const QVariant& value, const std::string& text) {
    if (GetString(section, key, kMissing) == text) return;
    m_changed[KeyOf(section, key).toStdString()] = std::make_unique<QVariant>(value);
}

void CQtSettingsStore::SetInt(const std::string& section, const std::string& key, int value) {
    Put(section, key, value, std::to_string(value));
}

void CQtSettingsStore::SetString(const std::string& section, const std::string& key,
                                 const std::string& value) {
    Put(section, key, QString::fromStdString(value), value);
}

std::string CloneBackupFolder() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
            QStringLiteral("/backups"))
        .toStdString();
}
