// tavro relate and tavro nest: relation codes between rings, and which rings lie in which.

#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoLine.h"

#include <QMap>
#include <QSet>

#include <cstdio>

namespace tavro {

const char* const kRelateHelp =
    "usage: tavro relate A.csv B.csv\n\n"
    "Reads rings from two CSV files (see tavro --help; arcs allowed) and prints, for every\n"
    "ring a of A and ring b of B, the relation code of a to b and its meaning:\n"
    "   0  a and b coincide\n"
    "   1  a lies on b's boundary\n"
    "   2  a lies inside b\n"
    "   3  a lies inside b, touching its boundary\n"
    "   4  a lies outside b\n"
    "   5  a lies outside b, touching its boundary\n"
    "   6  a crosses b\n"
    "   9  a contains b\n"
    "  -1  a ring is empty\n"
    "Rings with arcs are compared as broken lines of 0.1 degree steps.\n";

const char* const kNestHelp =
    "usage: tavro nest FILE\n\n"
    "Reads rings from FILE (CSV, see tavro --help; arcs allowed) and prints the tree of\n"
    "containment: each ring under the ring it lies directly inside, indented by depth.\n"
    "Rings that share boundary with the ring around them count as inside it.\n";

namespace {

QString label(const CsvPolyline& ring, int index) {
    return ring.id.isEmpty() ? QString("#%1").arg(index + 1) : ring.id;
}

const char* meaning(int code) {
    switch (code) {
    case 0:
        return "coincide";
    case 1:
        return "on the boundary";
    case 2:
        return "inside";
    case 3:
        return "inside, touching the boundary";
    case 4:
        return "outside";
    case 5:
        return "outside, touching the boundary";
    case 6:
        return "crossing";
    case 7:
        return "inside, outside and on the boundary";
    case 8:
        return "touching";
    case 9:
        return "contains";
    default:
        return "no relation (empty ring)";
    }
}

bool readOrReport(const char* verb, const QString& path, QVector<CsvPolyline>& rings) {
    QString error;
    if (readPolylines(path, rings, error)) return true;
    std::fprintf(stderr, "tavro %s: %s\n", verb, error.toUtf8().constData());
    return false;
}

// Prints ring and, indented, the rings inside it; each ring once, so coinciding rings (which
// hold each other) cannot loop.
void printTree(const QMap<int, QList<int>>& inside, const QVector<CsvPolyline>& rings, int ring,
               int depth, QSet<int>& printed) {
    if (printed.contains(ring)) return;
    printed.insert(ring);
    std::printf("%*s%s\n", 2 * depth, "", label(rings[ring], ring).toUtf8().constData());
    for (int child : inside.value(ring))
        printTree(inside, rings, child, depth + 1, printed);
}

} // namespace

int runRelate(const QStringList& args) {
    if (args.size() != 2) {
        std::fputs(kRelateHelp, stderr);
        return kExitUsage;
    }
    QVector<CsvPolyline> a, b;
    if (!readOrReport("relate", args[0], a) || !readOrReport("relate", args[1], b))
        return kExitDataError;
    for (int i = 0; i < a.size(); ++i) {
        for (int j = 0; j < b.size(); ++j) {
            const int code = CTavroGeoLine::GetRelation(a[i].shape, b[j].shape);
            std::printf("%s\t%s\t%d\t%s\n", label(a[i], i).toUtf8().constData(),
                        label(b[j], j).toUtf8().constData(), code, meaning(code));
        }
    }
    return kExitOk;
}

int runNest(const QStringList& args) {
    if (args.size() != 1) {
        std::fputs(kNestHelp, stderr);
        return kExitUsage;
    }
    QVector<CsvPolyline> rings;
    if (!readOrReport("nest", args[0], rings)) return kExitDataError;
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
    for (int i = 0; i < rings.size(); ++i)
        if (!held.contains(i)) printTree(inside, rings, i, 0, printed);
    for (int i = 0; i < rings.size(); ++i)
        printTree(inside, rings, i, 0, printed);
    return kExitOk;
}

} // namespace tavro
