// tavro measure: one block of measures per polyline of a CSV file.

#include "CliSupport.h"
#include "Commands.h"
#include "PolylineCsv.h"

#include "CTavroGeoReports.h"

#include <cmath>

namespace tavro {

const char* const kMeasureHelp =
    "usage: tavro measure [-o FILE] FILE\n\n"
    "Prints the measures of each polyline, taken as a ring closed back to its first vertex.\n\n"
    "Input:\n"
    "  FILE: bulge polylines as CSV (see tavro --help for the columns).\n\n"
    "Output:\n"
    "  One block per polyline, headed \"polyline N \"ID\" (lines FIRST-LAST)\", blocks apart by\n"
    "  a blank line, with the rows\n"
    "  vertices     the vertex count\n"
    "  length       the length of the polyline as listed (open), arcs along their curve\n"
    "  perimeter    the length of the ring, the closing segment included\n"
    "  signed area  the area of the ring with its arcs, positive for clockwise order\n"
    "  orientation  clockwise, counterclockwise, or none (zero area)\n"
    "  extents      the axis-aligned box of vertices and arcs\n"
    "  centroid     the area centroid of the ring with its arcs (circular segments included)\n"
    "  min rect     the minimum-area rectangle round the ring with its arcs: its four corners\n"
    "               (clockwise from the one nearest its lower left) and its area\n"
    "  label        a point strictly inside the ring, as far from its boundary as found\n"
    "  Points print as (x, y) with 6 decimals. A measure that has no value for the ring says\n"
    "  so in words instead of a number: \"none (a single vertex)\", \"none (zero area)\".\n"
    "  A measure too large for a double (coordinates near 1e300) is an error, status 1.\n\n"
    "Options:\n"
    "  none besides -o.\n";

namespace {

QString point(const AcGePoint2d& p) {
    return QString("(%1, %2)").arg(p.x, 0, 'f', 6).arg(p.y, 0, 'f', 6);
}

// Appends the measures of one ring; false with a message when a measure overflows.
bool printMeasures(const CsvPolyline& line, int number, Output& out, QString& error) {
    const Tavro::NodeBulge& shape = line.shape;
    const int count = shape.nodes.length();
    QString title = QString("polyline %1").arg(number);
    if (!line.id.isEmpty()) title += QString(" \"%1\"").arg(shown(line.id));
    title += QString(" (lines %1-%2)").arg(line.firstLine).arg(line.lastLine);

    const TavroRingMeasures m = CTavroGeoReports::ringMeasures(shape.nodes, shape.bulges);
    if (!m.finite()) {
        error = title + ": a measure is too large for a double (the coordinates are too large)";
        return false;
    }
    if (!std::isfinite(m.minRectArea)) {
        error = title + ": the minimum rectangle is too large for a double";
        return false;
    }
    const AcGePoint2d low = m.extents.minPoint().convert2d();
    const AcGePoint2d high = m.extents.maxPoint().convert2d();
    const QString none = count < 2 ? "none (a single vertex)" : "none (zero area)";
    const QString orientation = m.area > 0.0   ? "clockwise"
                                : m.area < 0.0 ? "counterclockwise"
                                               : "none (zero area)";

    out.printf("%s\n", title.toUtf8().constData());
    out.printf("  vertices     %d\n", count);
    out.printf("  length       %.6f\n", m.length);
    if (count < 2)
        out.printf("  perimeter    %s\n", none.toUtf8().constData());
    else
        out.printf("  perimeter    %.6f\n", m.perimeter);
    out.printf("  signed area  %.6f (positive = clockwise)\n", m.area);
    out.printf("  orientation  %s\n", orientation.toUtf8().constData());
    out.printf("  extents      %s - %s\n", point(low).toUtf8().constData(),
               point(high).toUtf8().constData());
    out.printf("  centroid     %s\n",
               (m.hasCentroid ? point(m.centroid) : none).toUtf8().constData());
    if (m.minRect.length() == 4 && m.minRectArea > 0.0) {
        QString corners;
        for (const AcGePoint2d& corner : m.minRect)
            corners += point(corner) + " ";
        out.printf("  min rect     %sarea %.6f\n", corners.toUtf8().constData(), m.minRectArea);
    } else {
        out.printf("  min rect     %s\n", none.toUtf8().constData());
    }
    out.printf("  label        %s\n", (m.hasLabel ? point(m.label) : none).toUtf8().constData());
    return true;
}

} // namespace

int runMeasure(const QStringList& args) {
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, {kOutputOption}, 1, 1, parsed, error)) return usageError("measure", error);
    QVector<CsvPolyline> polylines;
    if (!readPolylines(parsed.files[0], polylines, error)) return dataError("measure", error);
    Output out;
    for (int i = 0; i < polylines.size(); ++i) {
        if (i > 0) out.append("\n");
        if (!printMeasures(polylines[i], i + 1, out, error)) return dataError("measure", error);
    }
    if (!out.commit(parsed.output(), error)) return dataError("measure", error);
    return kExitOk;
}

} // namespace tavro
