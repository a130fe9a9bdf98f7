// ktz30cli as a user runs it: real processes, nqz30sim on a pseudo-terminal, QSettings and the
// temporary folder in a folder of the test's own.
#pragma once

#include "tests/integration/sim_process.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

struct CRun {
    int exit = -1;
    std::string out, err;
};

// A simulated radio on a pseudo-terminal.
using CSim = CSimProcess;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    std::string File(const char* name) const { return dir.filePath(name).toStdString(); }

    // Transfer and scratch files in the temporary folder the runs are given.
    int OurTemporaryFiles() const {
        int n = 0;
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            if ((name.startsWith("cl") && name.size() == 8) ||
                (name.startsWith("~KT") && name.size() == 9))
                ++n;
        return n;
    }

    QProcessEnvironment Env() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_DATA_HOME", dir.filePath("data"));
        env.insert("TMPDIR", tempFolder.isEmpty() ? dir.path() : tempFolder);
        return env;
    }

    void Start(QProcess& p, const std::vector<std::string>& args,
               const QString& program = QStringLiteral(KT_KTZ30CLI)) const {
        QStringList list;
        for (const auto& a : args)
            list << QString::fromStdString(a);
        p.setProgram(program);
        p.setArguments(list);
        p.setProcessEnvironment(Env());
        p.start();
    }

    // output: where standard output goes instead of the returned text.
    CRun Run(const std::vector<std::string>& args, const std::string& input = {},
             const QString& output = {},
             const QString& program = QStringLiteral(KT_KTZ30CLI)) const {
        QProcess p;
        if (!output.isEmpty()) p.setStandardOutputFile(output);
        Start(p, args, program);
        CRun r;
        if (!p.waitForStarted(5000)) return r;
        if (!input.empty()) p.write(input.data(), static_cast<qint64>(input.size()));
        p.closeWriteChannel();
        p.waitForFinished(60000);
        r.exit = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput().toStdString();
        r.err = p.readAllStandardError().toStdString();
        return r;
    }

    // As Run, as a user without a super-user's rights (the test's folder open to that user);
    // exit -2 when root cannot give them up here.
    CRun RunAsUser(const std::vector<std::string>& args) const {
        if (::geteuid() != 0) return Run(args);
        if (!QFile::exists(QStringLiteral("/usr/bin/setpriv"))) return {-2, {}, {}};
        QDir(dir.path()).mkpath(QStringLiteral("config"));
        for (const QString& d : {dir.path(), dir.filePath(QStringLiteral("config"))})
            ::chmod(d.toLocal8Bit().constData(), 0777);
        std::vector<std::string> list = {"--reuid=65534", "--regid=65534", "--clear-groups",
                                         KT_KTZ30CLI};
        list.insert(list.end(), args.begin(), args.end());
        return Run(list, {}, {}, QStringLiteral("/usr/bin/setpriv"));
    }

    std::string Get(const std::string& file, const std::string& path) const {
        CRun r = Run({"get", file, path});
        EXPECT_EQ(r.exit, 0) << r.err;
        return r.out.empty() ? r.out : r.out.substr(0, r.out.size() - 1);
    }

    // A file of the variant with channels 1 and 2 (where it has two) on at the given frequencies.
    std::string MakeFile(const char* name, int variant, const char* rx1 = "446.100",
                         const char* rx2 = "446.200") const {
        const std::string f = File(name);
        EXPECT_EQ(Run({"new", "--variant", std::to_string(variant), "-o", f}).exit, 0);
        std::vector<std::string> set = {"set", f, "Mch.CH1.ChOn=ON",
                                        std::string("Mch.CH1.FreqRx=") + rx1};
        if (variant >= 2)
            set.insert(set.end(), {"Mch.CH2.ChOn=ON", std::string("Mch.CH2.FreqRx=") + rx2});
        CRun r = Run(set);
        EXPECT_EQ(r.exit, 0) << r.err;
        return f;
    }

    QTemporaryDir dir;
    QString tempFolder; // the runs' temporary folder, when not dir
};

inline bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
