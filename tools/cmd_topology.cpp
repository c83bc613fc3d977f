// tavro loops and tavro join: closed loops and maximal polylines from a soup of pieces.

#include "CliSupport.h"
#include "TavroTolerance.h"
#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroAutoLoop.h"

namespace tavro {

const char* const kLoopsHelp =
    "usage: tavro loops [--outer] [-o FILE] FILE\n\n"
    "Prints the closed loops that a soup of pieces encloses.\n\n"
    "Input:\n"
    "  FILE: pieces as CSV (see tavro --help for the columns; arcs allowed), one piece per\n"
    "  polyline. Pieces join only where their end points meet (within 1e-5 in x and in y); cut\n"
    "  crossing pieces at their crossings first. A piece that starts where it ends is a ring of\n"
    "  its own. A piece with a free end lies on no loop.\n\n"
    "Output:\n"
    "  CSV rings (header x,y,bulge), each after a comment line \"# face N: PIECES\" (or\n"
    "  \"# boundary N: PIECES\" with --outer) naming the pieces it runs along. Where pieces "
    "follow\n"
    "  one another with no branch between, the run is named by one of its pieces. Rings are\n"
    "  listed without repeating their first vertex; the bulge of a ring's last row bends its\n"
    "  closing side.\n\n"
    "Options:\n"
    "  (default)  every bounded face, counterclockwise\n"
    "  --outer    the outer boundary of every connected group of pieces, clockwise\n";

const char* const kJoinHelp =
    "usage: tavro join [-o FILE] FILE\n\n"
    "Joins every run of pieces that meet two at a point into one polyline.\n\n"
    "Input:\n"
    "  FILE: pieces as CSV (see tavro --help for the columns; arcs allowed), one piece per\n"
    "  polyline.\n\n"
    "Output:\n"
    "  CSV polylines (header x,y,bulge), each after a comment line \"# polyline N: PIECES\"\n"
    "  naming its pieces. A run ends where three or more pieces meet or at a free end; a closed\n"
    "  run ends on its first vertex. A piece between two such meeting points, or between one\n"
    "  and a free end, is printed alone; a lone piece with two free ends is not printed.\n\n"
    "Options:\n"
    "  none besides -o.\n";

namespace {

QString label(const QVector<CsvPolyline>& pieces, std::uint64_t id) {
    const int index = static_cast<int>(id) - 1;
    if (index < 0 || index >= pieces.size()) return "?";
    return pieces[index].id.isEmpty() ? QString("#%1").arg(index + 1) : shown(pieces[index].id);
}

// Adds every piece as a pair of edges with id = its position + 1. A closed piece is halved here,
// as the builder would halve it, so that both halves keep the piece's id.
void addPieces(CTavroAutoLoop& loop, const QVector<CsvPolyline>& pieces) {
    for (int i = 0; i < pieces.size(); ++i) {
        AcArray<AcGePoint2d> points = pieces[i].shape.nodes;
        AcArray<double> bulges = pieces[i].shape.bulges;
        const std::uint64_t id = static_cast<std::uint64_t>(i) + 1;
        const bool closed = points.length() > 2 && loop.sqrDist(points.first(), points.last()) <=
                                                       Tavro::kRepeatSquaredDist;
        if (!closed) {
            loop.AddEdge(points, bulges, true, id);
            continue;
        }
        AcArray<AcGePoint2d> first, second;
        AcArray<double> firstBulges, secondBulges;
        loop.DivideNodes(points, bulges, first, firstBulges, second, secondBulges);
        loop.AddEdge(first, firstBulges, true, id);
        loop.AddEdge(second, secondBulges, true, id);
    }
}

// Builds the builder's results as CSV in out, each polyline after "# NAME N: pieces ...".
void formatResults(const char* name, const CTavroAutoLoop& loop, const QVector<CsvPolyline>& pieces,
                   Output& out) {
    out.append("x,y,bulge\n");
    for (int i = 0; i < loop.m_loops.size(); ++i) {
        CsvPolyline line;
        line.shape.nodes = loop.m_loops[i];
        if (i < loop.m_loopBulges.size()) line.shape.bulges = loop.m_loopBulges[i];
        for (double& b : line.shape.bulges)
            if (b == 0.0) b = 0.0; // a reversed straight side carries -0
        QStringList names;
        if (i < static_cast<int>(loop.m_loopIds.size()))
            for (std::uint64_t id : loop.m_loopIds[static_cast<size_t>(i)])
                names << label(pieces, id);
        QString rows = formatPolylines({line});
        rows.remove(0, rows.indexOf('\n') + 1); // the header is written once
        out.append(QString("%1# %2 %3: %4\n%5")
                       .arg(i > 0 ? "\n" : "", name)
                       .arg(i + 1)
                       .arg(names.join(' '), rows));
    }
}

// Runs one verb: parses the arguments, reads the pieces, lets build work on the builder (it
// returns the word that heads each result) and writes the results; the exit status.
template <typename Build>
int runPieces(const char* verb, const QStringList& args, const QVector<OptionSpec>& options,
              Build build) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, options, 1, 1, parsed, error)) return usageError(verb, error);
    QVector<CsvPolyline> pieces;
    if (!readPolylines(parsed.files[0], pieces, error)) return dataError(verb, error);
    CTavroAutoLoop loop;
    addPieces(loop, pieces);
    const char* name = build(loop, parsed);
    Output out;
    formatResults(name, loop, pieces, out);
    if (!out.commit(parsed.output(), error)) return dataError(verb, error);
    return kExitOk;
}

} // namespace

int runLoops(const QStringList& args) {
    const OptionSpec outer = {"--outer", nullptr, false};
    return runPieces("loops", args, {outer, kOutputOption},
                     [](CTavroAutoLoop& loop, const ParsedArgs& parsed) {
                         const bool outer = parsed.has("--outer");
                         loop.GetBulgesDoubleLoops(outer ? 1 : 0);
                         return outer ? "boundary" : "face";
                     });
}

int runJoin(const QStringList& args) {
    return runPieces("join", args, {kOutputOption}, [](CTavroAutoLoop& loop, const ParsedArgs&) {
        loop.ConnectPolyline();
        return "polyline";
    });
}

} // namespace tavro
