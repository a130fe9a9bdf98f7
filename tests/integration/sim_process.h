// Starts nqz30sim with options and reads the pseudo-terminal it prints.
#pragma once

#include <QProcess>
#include <QStringList>

#include <string>

class CSimProcess {
public:
    explicit CSimProcess(const QStringList& options) {
        m_process.setProgram(QStringLiteral(KT_NQZ30SIM));
        m_process.setArguments(options);
        m_process.start();
        if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000))
            m_path = m_process.readLine().trimmed().toStdString();
    }
    ~CSimProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) m_process.kill();
    }
    const std::string& Path() const { return m_path; }

private:
    QProcess m_process;
    std::string m_path;
};
