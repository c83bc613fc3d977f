// tavro: the library's measures, relations and conversions from the command line.

#include "CliSupport.h"
#include "Commands.h"

#include <QString>

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace tavro {

const Command* commands(int& count) {
    static const Command table[] = {
        {"measure", "length, area, orientation, extents and centroid of polylines", runMeasure,
         kMeasureHelp},
        {"flatten", "bulge arcs cut into chords by an angle or an arc-length step", runFlatten,
         kFlattenHelp},
        {"recover-arcs", "runs of equal chords on one circle turned back into bulge arcs",
         runRecoverArcs, kRecoverArcsHelp},
        {"gauss-inverse", "Gauss-Krueger plane points to longitude and latitude", runGaussInverse,
         kGaussInverseHelp},
        {"fit4", "plane 4-parameter transformation from control point pairs", runFit4, kFit4Help},
        {"fit7", "spatial 7-parameter transformation from Cartesian point pairs", runFit7,
         kFit7Help},
        {"fit-height", "quadratic height-anomaly surface from points in two height systems",
         runFitHeight, kFitHeightHelp},
        {"transform", "points through a chain of datum and projection models", runTransform,
         kTransformHelp},
        {"relate", "relation code of every ring of one file to every ring of another", runRelate,
         kRelateHelp},
        {"nest", "which rings of a file lie inside which", runNest, kNestHelp},
        {"loops", "faces or outer boundaries enclosed by a soup of pieces", runLoops, kLoopsHelp},
        {"join", "pieces that meet two at a point joined into polylines", runJoin, kJoinHelp},
        {"borders", "closed regions of parcel linework (DXF or CSV), written and drawn", runBorders,
         kBordersHelp},
    };
    count = static_cast<int>(sizeof(table) / sizeof(table[0]));
    return table;
}

} // namespace tavro

namespace {

void printUsage(FILE* to) {
    std::fputs("usage: tavro VERB [OPTIONS] [FILE...]\n"
               "       tavro VERB --help\n"
               "       tavro --version\n\n"
               "Plane geometry and geodesy for surveying and mapping.\n\nVerbs:\n",
               to);
    int count = 0;
    const tavro::Command* table = tavro::commands(count);
    for (int i = 0; i < count; ++i)
        std::fprintf(to, "  %-16s %s\n", table[i].name, table[i].summary);
    std::fputs("\nPolyline files are CSV, one vertex per row:\n"
               "  x,y            a straight vertex\n"
               "  x,y,bulge      bulge = tan(angle/4) of the arc to the next vertex,\n"
               "                 positive counterclockwise, 1 = half circle (rows may\n"
               "                 give or leave out their bulge)\n"
               "  id,x,y,bulge   with an id column; a change of id starts the next polyline\n"
               "A blank line also starts the next polyline; '#' starts a comment line; an\n"
               "optional header row names the columns (id, x, y, bulge) in any order.\n"
               "Without a header the columns go by the first data row: 2 fields x,y; 3 fields\n"
               "x,y,bulge when the first is a number, else id,x,y; 4 fields id,x,y,bulge. So a\n"
               "point number in front (1,500000,3500000) is read as x,y,bulge: name the columns\n"
               "in a header row (id,x,y). A bulge above 1000 in magnitude is warned about on\n"
               "standard error with its line, since it is almost always such a misread column.\n",
               to);
}

// Whether the verb's arguments ask for its help before any "--".
bool wantsHelp(const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

int runVerb(const tavro::Command& command, const QStringList& args) {
    if (wantsHelp(args)) {
        std::fputs(command.help, stdout);
        std::fputs(tavro::kCommonHelp, stdout);
        return tavro::kExitOk;
    }
    // Out of memory, or anything else thrown below, ends in a message and status 1: the
    // output file is written only at the end, so it is left as it was.
    tavro::setVerb(command.name);
    try {
        return command.run(args);
    } catch (const std::bad_alloc&) {
        return tavro::dataError(command.name, "out of memory; nothing written");
    } catch (const std::exception& e) {
        return tavro::dataError(command.name,
                                QString("internal error: %1; nothing written").arg(e.what()));
    } catch (...) {
        return tavro::dataError(command.name, "internal error; nothing written");
    }
}

} // namespace

int main(int argc, char** argv) {
    tavro::installInterruptCleanup();
    tavro::installProgressBar();
    if (argc < 2) {
        printUsage(stderr);
        return tavro::kExitUsage;
    }
    if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        printUsage(stdout);
        return tavro::kExitOk;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("tavro %s\n", TAVRO_VERSION);
        return tavro::kExitOk;
    }
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int count = 0;
    const tavro::Command* table = tavro::commands(count);
    for (int i = 0; i < count; ++i)
        if (!std::strcmp(argv[1], table[i].name)) return runVerb(table[i], args);
    std::fprintf(stderr, "tavro: unknown verb \"%s\" (see tavro --help)\n",
                 tavro::shown(QString::fromLocal8Bit(argv[1])).toUtf8().constData());
    return tavro::kExitUsage;
}
