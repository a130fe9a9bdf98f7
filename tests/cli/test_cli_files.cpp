// ktz30cli and the file system: outputs that cannot be written, settings files that are no
// files, the temporary folder, and the targets a save refuses.
#include "tests/cli/cli_fixture.h"
#include "tests/support/file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every command that prints fails when what it printed did not reach its reader.
TEST_F(CliTest, OutputThatCannotBeWrittenFailsTheCommand) {
    const std::string f = MakeFile("doc.hxq", 5);
    const std::vector<std::vector<std::string>> commands = {
        {"dump", f},
        {"dump", "--all", f},
        {"show", f},
        {"get", f, "Mch.CH1.FreqRx"},
        {"csv", "export", f},
        {"backups"},
        {"ports"},
        {"--help"},
        {"new", "--variant", "1", "-o", File("new.hxq")},
    };
    for (const std::vector<std::string>& args : commands) {
        const CRun r = Run(args, {}, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.exit, 74) << args[0] << " " << args.back() << r.err;
        EXPECT_TRUE(Has(r.err, "ktz30cli: cannot write the output: No space left on device\n"))
            << r.err;
    }
}
