// tavro loops and tavro join: closed loops and maximal polylines from a soup of pieces.

#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroAutoLoop.h"

#include <cstdio>

namespace tavro {

const char* const kLoopsHelp =
    "usage: tavro loops [--outer] FILE\n\n"
    "Reads pieces from FILE (CSV, see tavro --help; arcs allowed; '-' reads standard\n"
    "input), one piece per polyline, and prints the closed loops they enclose as CSV\n"
    "rings, each after a comment line naming the pieces it runs along:\n"
    "  (default)  every bounded face, counterclockwise\n"
    "  --outer    the outer boundary of every connected group of pieces, clockwise\n"
    "Pieces join only where their end points meet (within 1e-5 in x and in y); cut\n"
    "crossing pieces at their crossings first. A piece that starts where it ends is a\n"
    "ring of its own. A piece with a free end lies on no loop. Where pieces follow one\n"
    "another with no branch between, the run is named by one of its pieces.\n"
    "Rings are listed without repeating their first vertex; the bulge of a ring's last\n"
    "row bends its closing side.\n\n"
    "Exit status: 0 on success, 1 on a bad file, 2 on bad usage.\n";

const char* const kJoinHelp =
    "usage: tavro join FILE\n\n"
    "Reads pieces from FILE (CSV, see tavro --help; arcs allowed; '-' reads standard\n"
    "input), one piece per polyline, and joins every run of pieces that meet two at a\n"
    "point into one polyline, printed as CSV after a comment line naming its pieces.\n"
    "A run ends where three or more pieces meet or at a free end; a closed run ends on\n"
    "its first vertex. A piece between two such meeting points, or between one and a\n"
    "free end, is printed alone; a lone piece with two free ends is not printed.\n\n"
    "Exit status: 0 on success, 1 on a bad file, 2 on bad usage.\n";

namespace {

QString label(const QVector<CsvPolyline>& pieces, std::uint64_t id) {
    const int index = static_cast<int>(id) - 1;
    if (index < 0 || index >= pieces.size()) return "?";
    return pieces[index].id.isEmpty() ? QString("#%1").arg(index + 1) : pieces[index].id;
}

// Adds every piece as a pair of edges with id = its position + 1. A closed piece is halved here,
// as the builder would halve it, so that both halves keep the piece's id.
void addPieces(CTavroAutoLoop& loop, const QVector<CsvPolyline>& pieces) {
    for (int i = 0; i < pieces.size(); ++i) {
        AcArray<AcGePoint2d> points = pieces[i].shape.nodes;
        AcArray<double> bulges = pieces[i].shape.bulges;
        const std::uint64_t id = static_cast<std::uint64_t>(i) + 1;
        const bool closed =
            points.length() > 2 && loop.sqrDist(points.first(), points.last()) <= 1e-14;
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

bool parseArgs(const char* verb, const QStringList& args, bool allowOuter, QString& file,
               bool& outer) {
    outer = false;
    QStringList files;
    for (const QString& arg : args) {
        if (allowOuter && arg == "--outer")
            outer = true;
        else if (arg.startsWith("-") && arg != "-") {
            std::fprintf(stderr, "tavro %s: unknown option \"%s\" (see tavro %s --help)\n", verb,
                         arg.toUtf8().constData(), verb);
            return false;
        } else
            files << arg;
    }
    if (files.size() == 1) {
        file = files[0];
        return true;
    }
    std::fprintf(stderr, "tavro %s: %s (see tavro %s --help)\n", verb,
                 files.isEmpty() ? "no input FILE given" : "one input FILE expected", verb);
    return false;
}

// Prints the builder's results as CSV, each polyline after "# NAME N: pieces ...".
int printResults(const char* verb, const char* name, const CTavroAutoLoop& loop,
                 const QVector<CsvPolyline>& pieces) {
    QString text = "x,y,bulge\n";
    for (int i = 0; i < loop.m_loops.size(); ++i) {
        CsvPolyline out;
        out.shape.nodes = loop.m_loops[i];
        if (i < loop.m_loopBulges.size()) out.shape.bulges = loop.m_loopBulges[i];
        for (double& b : out.shape.bulges)
            if (b == 0.0) b = 0.0; // a reversed straight side carries -0
        QStringList names;
        if (i < static_cast<int>(loop.m_loopIds.size()))
            for (std::uint64_t id : loop.m_loopIds[static_cast<size_t>(i)])
                names << label(pieces, id);
        QString rows = formatPolylines({out});
        rows.remove(0, rows.indexOf('\n') + 1); // the header is written once
        text += QString("%1# %2 %3: %4\n%5")
                    .arg(i > 0 ? "\n" : "", name)
                    .arg(i + 1)
                    .arg(names.join(' '), rows);
    }
    const QByteArray bytes = text.toUtf8();
    if (std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout) !=
        static_cast<size_t>(bytes.size())) {
        std::fprintf(stderr, "tavro %s: cannot write the output\n", verb);
        return kExitDataError;
    }
    return kExitOk;
}

// Parses the arguments, reads the file and adds its pieces to loop; the exit status.
int preparePieces(const char* verb, const QStringList& args, bool allowOuter, CTavroAutoLoop& loop,
                  QVector<CsvPolyline>& pieces, bool& outer) {
    QString file;
    if (!parseArgs(verb, args, allowOuter, file, outer)) return kExitUsage;
    QString error;
    if (!readPolylines(file, pieces, error)) {
        std::fprintf(stderr, "tavro %s: %s\n", verb, error.toUtf8().constData());
        return kExitDataError;
    }
    addPieces(loop, pieces);
    return kExitOk;
}

} // namespace

int runLoops(const QStringList& args) {
    CTavroAutoLoop loop;
    QVector<CsvPolyline> pieces;
    bool outer = false;
    const int status = preparePieces("loops", args, true, loop, pieces, outer);
    if (status != kExitOk) return status;
    loop.GetBulgesDoubleLoops(outer ? 1 : 0);
    return printResults("loops", outer ? "boundary" : "face", loop, pieces);
}

int runJoin(const QStringList& args) {
    CTavroAutoLoop loop;
    QVector<CsvPolyline> pieces;
    bool outer = false;
    const int status = preparePieces("join", args, false, loop, pieces, outer);
    if (status != kExitOk) return status;
    loop.ConnectPolyline();
    return printResults("join", "polyline", loop, pieces);
}

} // namespace tavro
