#pragma once
// The verbs of the tavro program. Each verb parses its own arguments, calls the library and
// formats the answer; it returns the process exit status.

#include <QStringList>

namespace tavro {

enum ExitStatus { kExitOk = 0, kExitDataError = 1, kExitUsage = 2 };

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
    const char* help;
};

// Every verb the program knows, in the order the help lists them.
const Command* commands(int& count);

int runMeasure(const QStringList& args);
extern const char* const kMeasureHelp;

} // namespace tavro
