// ktz30cli print: a clone data file's printout as a PDF, the same pages File > Export PDF writes,
// without a display (the offscreen platform inside).
#pragma once

#include <QCoreApplication>
#include <memory>
#include <string>

namespace CLI {
class App;
}

struct CPrintArgs {
    std::string file;
    std::string output;
    bool all = false;
    bool common = false;
    bool memory = false;
    bool dtmf = false;
    bool scan = false;
    bool signalling = false;
    bool maker = false;
    bool landscape = false;
};

// The command and its options on app.
CLI::App* AddPrintCommand(CLI::App& app, CPrintArgs& args);
int RunPrint(const CPrintArgs& args);

// The application object of a run: "print" draws text, so it takes a QGuiApplication on the
// offscreen platform; the other commands a QCoreApplication.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);
