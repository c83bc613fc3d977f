// tavro borders: the closed regions that parcel linework encloses, read from and written to DXF
// or CSV, and drawn as an SVG picture.

#include "CliSupport.h"
#include "TavroTolerance.h"
#include "Commands.h"
#include "DxfIo.h"
#include "PolylineCsv.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoBoder.h"
#include "CTavroGeoReports.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tavro {

const char* const kBordersHelp =
    "usage: tavro borders [--outer] [--min-area A] [--svg PICTURE] [-o FILE] INPUT\n\n"
    "Finds the closed regions that parcel linework encloses: arcs drawn as short chords are\n"
    "recovered, vertices within 1e-6 snap together, lines are cut where they cross, and an edge\n"
    "drawn twice (by both neighbours, either way round) counts once.\n\n"
    "Input:\n"
    "  INPUT: a DXF file (ASCII; the LWPOLYLINE, POLYLINE, LINE, ARC and CIRCLE entities of\n"
    "  its ENTITIES section, bulges and closed flags honoured, z left out) when its name ends\n"
    "  in .dxf or its text starts as DXF does, else polylines as CSV (see tavro --help for the\n"
    "  columns; arcs allowed). A CSV polyline is taken as drawn: a closed parcel ends on its\n"
    "  first vertex again. Every polyline needs two or more vertices with finite numbers.\n"
    "  Messages name a DXF entity by its line and as \"entity N (TYPE, handle H, layer L)\",\n"
    "  N counting those five kinds of entity in order, and a CSV polyline by its line.\n\n"
    "Output:\n"
    "  The regions, R1, R2, ..., as CSV (standard output or FILE) or, when FILE ends in .dxf, as\n"
    "  a DXF file. CSV: header id,x,y,bulge; each region a ring ending on its first vertex again,\n"
    "  after a comment line \"# Rn: area A, label (X, Y)\" giving its area and a point strictly\n"
    "  inside it; tavro measure reads it. DXF: each region a closed LWPOLYLINE on layer\n"
    "  REGIONS, its area a TEXT entity at that inside point on layer AREAS.\n"
    "  On standard error: the region count and their total area. A run without regions is not\n"
    "  an error. While long cuts run, a progress bar shows on standard error when it is a\n"
    "  terminal.\n\n"
    "Options:\n"
    "  --outer          the outer boundary of each connected part (clockwise) instead of the\n"
    "                   cells (counterclockwise)\n"
    "  --min-area A     keep regions whose area exceeds A (default 0)\n"
    "  --svg PICTURE    also draw the input linework and the regions, filled and labelled with\n"
    "                   their areas, arcs as arcs, into the SVG file PICTURE (written whole as\n"
    "                   -o is)\n";

namespace {

const char* const kVerb = "borders";

struct Region {
    Tavro::NodeBulge ring; // first vertex not repeated; the last bulge bends the closing side
    double area = 0.0;
    AcGePoint2d label;
};

bool endsWithDxf(const QString& path) {
    return path.endsWith(".dxf", Qt::CaseInsensitive);
}

// Reads the linework of path as DXF or CSV and checks each polyline; false with a message.
bool readLinework(const QString& path, QVector<CsvPolyline>& lines, QString& error) {
    QByteArray bytes;
    if (!readInput(path, bytes, error)) return false;
    const bool dxf =
        endsWithDxf(path) || (!path.endsWith(".csv", Qt::CaseInsensitive) && looksLikeDxf(bytes));
    if (dxf) {
        if (!readDxfPolylines(path, bytes, lines, error)) return false;
    } else {
        if (!parsePolylineFile(path, bytes, lines, error)) return false;
    }
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].shape.nodes.length() >= 2) continue;
        const QString what =
            lines[i].shape.nodes.isEmpty() ? "has no vertices" : "has a single vertex";
        if (dxf)
            error = QString("%1:%2: %3 %4")
                        .arg(shown(path))
                        .arg(lines[i].firstLine)
                        .arg(lines[i].id, what);
        else
            error = QString("%1:%2: polyline %3%4 %5")
                        .arg(shown(path))
                        .arg(lines[i].firstLine)
                        .arg(i + 1)
                        .arg(lines[i].id.isEmpty() ? QString()
                                                   : QString(" \"%1\"").arg(shown(lines[i].id)))
                        .arg(what);
        return false;
    }
    return true;
}

QString number(double v) {
    return QString::number(v, 'f', 6);
}

QString xmlEscaped(const QString& text) {
    QString out = text;
    out.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;").replace('"', "&quot;");
    return out;
}

// The drawing frame: world x, y to picture x, y (y down), 1:1 in world units.
struct Frame {
    double minX = 0.0, maxY = 0.0;
    QString x(double v) const { return number(v - minX); }
    QString y(double v) const { return number(maxY - v); }
};

// An SVG path of a bulge polyline: straight sides as L, arcs as A with their radius, the
// closing side drawn when closed.
QString svgPath(const Tavro::NodeBulge& shape, bool closed, const Frame& f) {
    const AcArray<AcGePoint2d>& p = shape.nodes;
    const int n = p.length();
    if (n == 0) return QString();
    QString d = QString("M%1 %2").arg(f.x(p[0].x), f.y(p[0].y));
    const int sides = closed ? n : n - 1;
    for (int i = 0; i < sides; ++i) {
        const AcGePoint2d& a = p[i];
        const AcGePoint2d& b = p[(i + 1) % n];
        const double bulge = i < shape.bulges.length() ? shape.bulges[i] : 0.0;
        // The library's radius is 0 for a side it measures as straight.
        const double radius = CTavroGeoArc::geoArcRadius(a, b, bulge);
        if (radius == 0.0) {
            d += QString(" L%1 %2").arg(f.x(b.x), f.y(b.y));
            continue;
        }
        // The picture shows the plane as it is (y up), so a counterclockwise arc (bulge > 0)
        // still turns counterclockwise there, which in the picture's own y-down axes is sweep
        // flag 0.
        d += QString(" A%1 %1 0 %2 %3 %4 %5")
                 .arg(number(radius))
                 .arg(std::fabs(bulge) > 1.0 ? 1 : 0)
                 .arg(bulge > 0.0 ? 0 : 1)
                 .arg(f.x(b.x), f.y(b.y));
    }
    if (closed) d += " Z";
    return d;
}

// Extends a box by a polyline's vertices and arcs.
void extend(const Tavro::NodeBulge& shape, bool closed, double box[4], bool& any) {
    const AcDbExtents e = CTavroGeoReports::polylineExtents(shape, closed);
    const double b[4] = {e.minPoint().x, e.minPoint().y, e.maxPoint().x, e.maxPoint().y};
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(b[i])) return;
    if (!any) {
        std::copy(b, b + 4, box);
        any = true;
        return;
    }
    box[0] = std::min(box[0], b[0]);
    box[1] = std::min(box[1], b[1]);
    box[2] = std::max(box[2], b[2]);
    box[3] = std::max(box[3], b[3]);
}

// The picture: the regions filled in turning colours, the input linework over them, and each
// region's area at its inside point.
QByteArray svgPicture(const QString& input, const QVector<CsvPolyline>& lines,
                      const QVector<Region>& regions) {
    double box[4] = {0.0, 0.0, 1.0, 1.0};
    bool any = false;
    for (const CsvPolyline& l : lines)
        extend(l.shape, false, box, any);
    for (const Region& r : regions)
        extend(r.ring, true, box, any);
    const double span = std::max({box[2] - box[0], box[3] - box[1], Tavro::kSvgMinSpan});
    const double margin = span * Tavro::kSvgMargin;
    Frame f;
    f.minX = box[0] - margin;
    f.maxY = box[3] + margin;
    const double width = box[2] - box[0] + 2 * margin, height = box[3] - box[1] + 2 * margin;
    const double pixels = 900.0;                          // the longer side on screen
    const double unit = std::max(width, height) / pixels; // one screen pixel in world units
    Output svg;
    svg.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    svg.append(QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                       "viewBox=\"0 0 %3 %4\">\n")
                   .arg(std::ceil(width / unit))
                   .arg(std::ceil(height / unit))
                   .arg(number(width), number(height)));
    svg.append(QString("<title>tavro borders: %1 regions of %2</title>\n")
                   .arg(regions.size())
                   .arg(xmlEscaped(shown(input))));
    svg.append(QString("<rect width=\"%1\" height=\"%2\" fill=\"#ffffff\"/>\n")
                   .arg(number(width), number(height)));
    svg.append(QString("<g id=\"regions\" stroke=\"#2f4f4f\" stroke-width=\"%1\" "
                       "stroke-linejoin=\"round\">\n")
                   .arg(number(unit * 1.5)));
    for (int i = 0; i < regions.size(); ++i) {
        // Hues a golden angle apart, so neighbours rarely look alike.
        const int hue = static_cast<int>(std::fmod(i * 137.508, 360.0));
        svg.append(QString("<path id=\"R%1\" fill=\"hsl(%2,65%,78%)\" d=\"%3\"/>\n")
                       .arg(i + 1)
                       .arg(hue)
                       .arg(svgPath(regions[i].ring, true, f)));
    }
    svg.append("</g>\n");
    svg.append(QString("<g id=\"linework\" fill=\"none\" stroke=\"#000000\" stroke-width=\"%1\" "
                       "stroke-dasharray=\"%2 %2\">\n")
                   .arg(number(unit * 0.8), number(unit * 4)));
    for (const CsvPolyline& l : lines)
        svg.append(QString("<path d=\"%1\"/>\n").arg(svgPath(l.shape, false, f)));
    svg.append("</g>\n");
    svg.append(QString("<g id=\"areas\" font-family=\"sans-serif\" font-size=\"%1\" "
                       "text-anchor=\"middle\" dominant-baseline=\"central\" fill=\"#000000\">\n")
                   .arg(number(unit * 11)));
    for (int i = 0; i < regions.size(); ++i)
        svg.append(QString("<text x=\"%1\" y=\"%2\">%3</text>\n")
                       .arg(f.x(regions[i].label.x), f.y(regions[i].label.y),
                            QString::number(regions[i].area, 'f', 1)));
    svg.append("</g>\n</svg>\n");
    return svg.text();
}

} // namespace

int runBorders(const QStringList& args) {
    const QVector<OptionSpec> options = {{"--outer", nullptr, false},
                                         {"--min-area", nullptr, true},
                                         {"--svg", nullptr, true},
                                         kOutputOption};
    ParsedArgs parsed;
    QString error;
    if (!parseArgs(args, options, 1, 1, parsed, error)) return usageError(kVerb, error);
    double minArea = 0.0;
    if (parsed.values.contains("--min-area")) {
        bool ok = false;
        minArea = parsed.value("--min-area").toDouble(&ok);
        if (!ok || !std::isfinite(minArea) || minArea < 0.0)
            return usageError(kVerb, QString("--min-area needs a number of at least 0, got \"%1\"")
                                         .arg(shown(parsed.value("--min-area"))));
    }
    const QString svgPath = parsed.value("--svg");
    if (parsed.values.contains("--svg") && (svgPath.isEmpty() || svgPath == "-"))
        return usageError(kVerb, "--svg needs a file name");
    const QString output = parsed.output();
    if (parsed.values.contains("--svg") && output != "-" && output == svgPath)
        return usageError(kVerb, "--svg and -o name the same file");

    QVector<CsvPolyline> lines;
    if (!readLinework(parsed.files[0], lines, error)) return dataError(kVerb, error);

    QVector<AcArray<AcGePoint2d>> points, outPoints;
    QVector<AcArray<double>> bulges, outBulges;
    for (const CsvPolyline& l : lines) {
        points.append(l.shape.nodes);
        bulges.append(l.shape.bulges);
    }
    // The library's own area filter measures each region as a broken line of 20 degree steps;
    // the regions are kept here by their exact area with arcs instead.
    CTavroGeoBoder::geoGetBoders(outPoints, outBulges, points, bulges, parsed.has("--outer"), 0.0);

    QVector<Region> regions;
    double total = 0.0;
    for (int i = 0; i < outPoints.size(); ++i) {
        Region r;
        r.ring.nodes = outPoints[i];
        r.ring.bulges = i < outBulges.size() ? outBulges[i] : AcArray<double>();
        if (!CTavroGeoReports::regionMeasures(r.ring, r.area, r.label))
            return dataError(kVerb, QString("region %1: no area or inside point could be "
                                            "computed (the coordinates are too large)")
                                        .arg(i + 1));
        if (!(r.area > minArea)) continue;
        total += r.area;
        regions.append(r);
    }

    QByteArray answer;
    if (endsWithDxf(output)) {
        QVector<DxfRegion> dxfRegions;
        for (const Region& r : regions)
            dxfRegions.append({r.ring, r.area, r.label});
        if (!formatDxfRegions(dxfRegions, answer, error)) return dataError(kVerb, error);
    } else {
        Output csv;
        csv.append("id,x,y,bulge\n");
        for (int i = 0; i < regions.size(); ++i) {
            CsvPolyline ring;
            ring.id = QString("R%1").arg(i + 1);
            ring.shape = regions[i].ring;
            ring.shape.nodes.append(ring.shape.nodes.first());
            ring.shape.bulges.append(0.0);
            QString rows = formatPolylines({ring});
            rows.remove(0, rows.indexOf('\n') + 1); // the header is written once
            csv.append(QString("%1# R%2: area %3, label (%4, %5)\n%6")
                           .arg(i > 0 ? "\n" : "")
                           .arg(i + 1)
                           .arg(number(regions[i].area), number(regions[i].label.x),
                                number(regions[i].label.y), rows));
        }
        answer = csv.text();
    }
    // The picture first: if it cannot be written, the regions file is left as it was too.
    if (parsed.values.contains("--svg") &&
        !writeOutput(svgPath, svgPicture(parsed.files[0], lines, regions), error))
        return dataError(kVerb, error);
    if (!writeOutput(output, answer, error)) return dataError(kVerb, error);
    std::fprintf(stderr, "tavro borders: %d regions, total area %.6f\n", int(regions.size()),
                 total);
    return kExitOk;
}

} // namespace tavro
