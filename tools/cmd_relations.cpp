// tavro relate and tavro nest: relation codes between rings, and which rings lie in which.

#include "CliSupport.h"
#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoLine.h"

#include <QMap>
#include <QSet>

namespace tavro {

const char* const kRelateHelp =
    "usage: tavro relate [-o FILE] A.csv B.csv\n\n"
    "Relates every ring a of A.csv to every ring b of B.csv: where the boundary of a lies with\n"
    "respect to b.\n\n"
    "Input:\n"
    "  A.csv, B.csv: rings as CSV (see tavro --help for the columns; arcs allowed). Rings with\n"
    "  arcs are compared as broken lines of 0.1 degree steps.\n\n"
    "Output:\n"
    "  A header row a,b,code,meaning (tab-separated), then one row per pair: the two rings'\n"
    "  ids (or #N, their place in the file), the relation code of a to b, and its meaning\n"
    "  with the names put in. The code is a set of bits over a's edges: 1 on b's boundary,\n"
    "  2 inside b, 4 outside b; 8 marks edges of b inside a. The codes:\n"
    "   -1  a or b is empty\n"
    "    0  a and b coincide\n"
    "    1  a lies on b's boundary (a covers part of b's boundary)\n"
    "    2  a lies inside b\n"
    "    3  a lies inside b, touching b's boundary\n"
    "    4  a's boundary lies outside b (a is apart from b, or holds it when nothing touches)\n"
    "    5  a's boundary lies outside b, touching b's boundary (apart, or a holds b)\n"
    "    6  a crosses b: partly inside, partly outside\n"
    "    7  a crosses b and runs along b's boundary\n"
    "    9  a contains b\n"
    "    8, 10 to 15  mixed: the bits above are listed in words\n\n"
    "Options:\n"
    "  none besides -o.\n";

const char* const kNestHelp =
    "usage: tavro nest [-o FILE] FILE\n\n"
    "Prints the tree of containment of the rings of FILE.\n\n"
    "Input:\n"
    "  FILE: rings as CSV (see tavro --help for the columns; arcs allowed).\n\n"
    "Output:\n"
    "  One ring per line, its id (or #N, its place in the file), indented by two spaces per\n"
    "  level under the ring it lies directly inside. Rings that share boundary with the ring\n"
    "  around them count as inside it; coinciding rings are printed once each.\n\n"
    "Options:\n"
    "  none besides -o.\n";

namespace {

QString label(const CsvPolyline& ring, int index) {
    return ring.id.isEmpty() ? QString("#%1").arg(index + 1) : shown(ring.id);
}

// What the relation code of a to b says, with the two names put in.
QString meaning(int code, const QString& a, const QString& b) {
    switch (code) {
    case -1:
        return QString("%1 or %2 is empty").arg(a, b);
    case 0:
        return QString("%1 and %2 coincide").arg(a, b);
    case 1:
        return QString("%1 lies on the boundary of %2").arg(a, b);
    case 2:
        return QString("%1 lies inside %2").arg(a, b);
    case 3:
        return QString("%1 lies inside %2, touching its boundary").arg(a, b);
    case 4:
        return QString("the boundary of %1 lies outside %2").arg(a, b);
    case 5:
        return QString("the boundary of %1 lies outside %2, touching its boundary").arg(a, b);
    case 6:
        return QString("%1 crosses %2").arg(a, b);
    case 7:
        return QString("%1 crosses %2 and runs along its boundary").arg(a, b);
    case 9:
        return QString("%1 contains %2").arg(a, b);
    default:
        break;
    }
    if (code < 0 || code > 15) return QString("unknown code %1").arg(code);
    QStringList parts;
    if (code & 2) parts << QString("parts of %1 inside %2").arg(a, b);
    if (code & 4) parts << QString("parts of %1 outside %2").arg(a, b);
    if (code & 1) parts << QString("parts of %1 on the boundary of %2").arg(a, b);
    if (code & 8) parts << QString("parts of %1 inside %2").arg(b, a);
    return "mixed: " + parts.join(", ");
}

bool readOrReport(const char* verb, const QString& path, QVector<CsvPolyline>& rings) {
    QString error;
    if (readPolylines(path, rings, error)) return true;
    dataError(verb, error);
    return false;
}

// Appends ring and, indented, the rings inside it; each ring once, so coinciding rings (which
// hold each other) cannot loop. The depth is bounded by the ring count.
void printTree(const QMap<int, QList<int>>& inside, const QVector<CsvPolyline>& rings, int ring,
               int depth, QSet<int>& printed, Output& out) {
    if (printed.contains(ring)) return;
    printed.insert(ring);
    out.printf("%*s%s\n", 2 * depth, "", label(rings[ring], ring).toUtf8().constData());
    for (int child : inside.value(ring))
        printTree(inside, rings, child, depth + 1, printed, out);
}

} // namespace

int runRelate(const QStringList& args) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {kOutputOption}, 2, 2, parsed, error)) return usageError("relate", error);
    QVector<CsvPolyline> a, b;
    if (!readOrReport("relate", parsed.files[0], a) || !readOrReport("relate", parsed.files[1], b))
        return kExitDataError;
    Output out;
    out.append("a\tb\tcode\tmeaning\n");
    for (int i = 0; i < a.size(); ++i) {
        for (int j = 0; j < b.size(); ++j) {
            const int code = CTavroGeoLine::GetRelation(a[i].shape, b[j].shape);
            const QString na = label(a[i], i), nb = label(b[j], j);
            out.printf("%s\t%s\t%d\t%s\n", na.toUtf8().constData(), nb.toUtf8().constData(), code,
                       meaning(code, na, nb).toUtf8().constData());
        }
    }
    if (!out.commit(parsed.output(), error)) return dataError("relate", error);
    return kExitOk;
}

int runNest(const QStringList& args) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {kOutputOption}, 1, 1, parsed, error)) return usageError("nest", error);
    QVector<CsvPolyline> rings;
    if (!readOrReport("nest", parsed.files[0], rings)) return kExitDataError;
    QVector<AcArray<AcGePoint2d>> nodes;
    QVector<AcArray<double>> bulges;
    for (const CsvPolyline& ring : rings) {
        nodes.append(ring.shape.nodes);
        bulges.append(ring.shape.bulges);
    }
    const QMap<int, QList<int>> inside = CTavroGeoLine::geoPolyInPolyMap(nodes, bulges);
    QSet<int> held;
    for (const QList<int>& children : inside)
        held.unite(QSet<int>(children.begin(), children.end()));
    QSet<int> printed;
    Output out;
    for (int i = 0; i < rings.size(); ++i)
        if (!held.contains(i)) printTree(inside, rings, i, 0, printed, out);
    for (int i = 0; i < rings.size(); ++i)
        printTree(inside, rings, i, 0, printed, out);
    if (!out.commit(parsed.output(), error)) return dataError("nest", error);
    return kExitOk;
}

} // namespace tavro
