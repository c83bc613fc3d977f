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
int runRelate(const QStringList& args);
extern const char* const kRelateHelp;
int runNest(const QStringList& args);
extern const char* const kNestHelp;

// The arc verbs (cmd_arcs.cpp).
int runFlatten(const QStringList& args);
extern const char* const kFlattenHelp;
int runRecoverArcs(const QStringList& args);
extern const char* const kRecoverArcsHelp;

// The geodetic verbs (cmd_geodesy.cpp).
int runGaussInverse(const QStringList& args);
int runFit4(const QStringList& args);
int runFit7(const QStringList& args);
int runFitHeight(const QStringList& args);
int runTransform(const QStringList& args);
extern const char* const kGaussInverseHelp;
extern const char* const kFit4Help;
extern const char* const kFit7Help;
extern const char* const kFitHeightHelp;
extern const char* const kTransformHelp;

// The topology verbs (cmd_topology.cpp).
int runLoops(const QStringList& args);
extern const char* const kLoopsHelp;
int runJoin(const QStringList& args);
extern const char* const kJoinHelp;

// Regions from parcel linework (cmd_borders.cpp).
int runBorders(const QStringList& args);
extern const char* const kBordersHelp;

} // namespace tavro
