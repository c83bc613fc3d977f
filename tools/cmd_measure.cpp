// tavro measure: one block of measures per polyline of a CSV file.

#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoGlobal.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"

#include <cstdio>

namespace tavro {

const char* const kMeasureHelp =
    "usage: tavro measure FILE\n\n"
    "Reads bulge polylines from FILE (CSV, see tavro --help; '-' reads standard input)\n"
    "and prints for each one, taken as a ring closed back to its first vertex:\n"
    "  vertices     the vertex count\n"
    "  length       the length of the polyline as listed (open)\n"
    "  perimeter    the length of the ring, the closing segment included\n"
    "  signed area  the area of the ring, positive for clockwise order\n"
    "  orientation  clockwise or counterclockwise (the sign of the area)\n"
    "  extents      the axis-aligned box of vertices and arcs\n"
    "  centroid     the area centroid of the vertex ring (arcs not included)\n"
    "  min rect     the minimum-area rectangle round the vertices: its four corners\n"
    "               (clockwise from the one nearest its lower left) and its area\n"
    "  label        a point inside the vertex ring for a label, where one is found\n\n"
    "Exit status: 0 on success, 1 on a bad file (reported as FILE:LINE:COLUMN), 2 on\n"
    "bad usage.\n";

namespace {

QString point(const AcGePoint2d& p) {
    return QString("(%1, %2)").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6);
}

void printMeasures(const CsvPolyline& line, int number) {
    const Tavro::NodeBulge& shape = line.shape;
    const double area = CTavroGeoPoint::geoArea(shape.nodes, shape.bulges);
    const AcDbExtents box = CTavroGeoLine::geoLineExtends(shape.nodes, shape.bulges);
    const QString orientation = area > 0.0   ? "clockwise"
                                : area < 0.0 ? "counterclockwise"
                                             : "none (zero area)";
    QString title = QString("polyline %1").arg(number);
    if (!line.id.isEmpty()) title += QString(" \"%1\"").arg(line.id);
    title += QString(" (lines %1-%2)").arg(line.firstLine).arg(line.lastLine);

    std::printf("%s\n", title.toUtf8().constData());
    std::printf("  vertices     %d\n", shape.nodes.length());
    std::printf("  length       %.6f\n", CTavroGeoPoint::geoLength(shape.nodes, shape.bulges));
    std::printf("  perimeter    %.6f\n",
                CTavroGeoLine::GetBulgeLineLength(shape.nodes, shape.bulges, true));
    std::printf("  signed area  %.6f (positive = clockwise)\n", area);
    std::printf("  orientation  %s\n", orientation.toUtf8().constData());
    std::printf("  extents      %s - %s\n", point(box.minPoint().convert2d()).toUtf8().constData(),
                point(box.maxPoint().convert2d()).toUtf8().constData());
    std::printf("  centroid     %s\n",
                point(CTavroGeoPoint::geoBaryCenterPoint(shape.nodes)).toUtf8().constData());
    const AcArray<AcGePoint2d> rect = CTavroGeoPoint::geoMinAreaRect(shape.nodes);
    QString corners;
    for (const AcGePoint2d& corner : rect)
        corners += point(corner) + " ";
    std::printf("  min rect     %sarea %.6f\n", corners.toUtf8().constData(),
                rect.length() == 4 ? CTavroGeoPoint::geoArea(rect) : 0.0);
    std::printf("  label        %s\n",
                point(CTavroGeoGlobal::GetPlineMiddlePoint(shape.nodes)).toUtf8().constData());
}

} // namespace

int runMeasure(const QStringList& args) {
    if (args.size() != 1 || args[0].startsWith("--")) {
        std::fputs(kMeasureHelp, stderr);
        return kExitUsage;
    }
    QVector<CsvPolyline> polylines;
    QString error;
    if (!readPolylines(args[0], polylines, error)) {
        std::fprintf(stderr, "tavro measure: %s\n", error.toUtf8().constData());
        return kExitDataError;
    }
    for (int i = 0; i < polylines.size(); ++i) {
        if (i > 0) std::printf("\n");
        printMeasures(polylines[i], i + 1);
    }
    return kExitOk;
}

} // namespace tavro
