#include "PolylineCsv.h"

#include "CliSupport.h"
#include "CsvTable.h"

#include <QStringList>

#include <charconv>
#include <cmath>

namespace tavro {
namespace {

enum Column { kId, kX, kY, kBulge };

struct Layout {
    QVector<Column> columns;
    bool known = false;
    bool named = false; // the columns come from a header row
};

bool isNumber(const QString& field, double& value) {
    bool ok = false;
    value = field.trimmed().toDouble(&ok);
    return ok;
}

// A header row names its columns; an unnamed file is laid out by its first row's field count
// and whether its first field is a number.
bool readHeader(const QStringList& fields, Layout& layout, CsvError& error) {
    for (int i = 0; i < fields.size(); ++i) {
        const QString name = fields[i].trimmed().toLower();
        if (name == "id")
            layout.columns << kId;
        else if (name == "x")
            layout.columns << kX;
        else if (name == "y")
            layout.columns << kY;
        else if (name == "bulge")
            layout.columns << kBulge;
        else {
            error = {0, i + 1,
                     QString("unknown column name \"%1\" (expected id, x, y, bulge)")
                         .arg(shown(fields[i].trimmed()))};
            return false;
        }
    }
    if (!layout.columns.contains(kX) || !layout.columns.contains(kY)) {
        error = {0, 1, "the header must name an x and a y column"};
        return false;
    }
    layout.known = true;
    layout.named = true;
    return true;
}

bool guessLayout(const QStringList& fields, Layout& layout, CsvError& error) {
    double value = 0.0;
    const bool leadingId = !isNumber(fields[0], value);
    if (fields.size() == 2)
        layout.columns = {kX, kY};
    else if (fields.size() == 3) {
        layout.columns = leadingId ? QVector<Column>{kId, kX, kY} : QVector<Column>{kX, kY, kBulge};
    } else if (fields.size() == 4)
        layout.columns = {kId, kX, kY, kBulge};
    else {
        error = {0, 1,
                 QString("expected 2 to 4 fields (x,y / x,y,bulge / id,x,y,bulge), found %1")
                     .arg(fields.size())};
        return false;
    }
    layout.known = true;
    return true;
}

bool isHeader(const QStringList& fields) {
    for (const QString& f : fields) {
        const QString name = f.trimmed().toLower();
        if (name == "x" || name == "y") return true;
    }
    return false;
}

struct Row {
    QString id;
    double x = 0.0;
    double y = 0.0;
    double bulge = 0.0;
};

// Without a header or an id column, rows may give or leave out their bulge.
QVector<Column> rowColumns(const QStringList& fields, const Layout& layout) {
    const bool plain = !layout.named && !layout.columns.contains(kId);
    if (plain && fields.size() == 2) return {kX, kY};
    if (plain && fields.size() == 3) return {kX, kY, kBulge};
    return layout.columns;
}

bool readRow(const QStringList& fields, const Layout& base, Row& row, CsvError& error) {
    Layout layout = base;
    layout.columns = rowColumns(fields, base);
    if (fields.size() != layout.columns.size()) {
        error = {
            0, std::min<int>(fields.size(), layout.columns.size()) + 1,
            QString("expected %1 fields, found %2").arg(layout.columns.size()).arg(fields.size())};
        return false;
    }
    for (int i = 0; i < fields.size(); ++i) {
        const Column column = layout.columns[i];
        if (column == kId) {
            row.id = fields[i].trimmed();
            continue;
        }
        double value = 0.0;
        if (!isNumber(fields[i], value) || !std::isfinite(value)) {
            error = {0, i + 1,
                     QString("\"%1\" is not a finite number").arg(shown(fields[i].trimmed()))};
            return false;
        }
        (column == kX ? row.x : column == kY ? row.y : row.bulge) = value;
    }
    return true;
}

void closeCurrent(QVector<CsvPolyline>& out, CsvPolyline& current) {
    if (!current.shape.nodes.isEmpty()) out << current;
    current = CsvPolyline();
}

// Fixed notation, as few digits as read back to the same double.
QString exactNumber(double value) {
    char text[400];
    const std::to_chars_result r =
        std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed);
    return QString::fromLatin1(text, static_cast<int>(r.ptr - text));
}

// The first vertex with a non-finite coordinate or bulge, as "polyline N "ID" vertex K"; empty
// when every number is finite.
QString firstNonFinite(const QVector<CsvPolyline>& polylines) {
    for (int i = 0; i < polylines.size(); ++i) {
        const Tavro::NodeBulge& shape = polylines[i].shape;
        for (int k = 0; k < shape.nodes.length(); ++k) {
            const double bulge = k < shape.bulges.length() ? shape.bulges[k] : 0.0;
            if (std::isfinite(shape.nodes[k].x) && std::isfinite(shape.nodes[k].y) &&
                std::isfinite(bulge))
                continue;
            QString where = QString("polyline %1").arg(i + 1);
            if (!polylines[i].id.isEmpty()) where += QString(" \"%1\"").arg(polylines[i].id);
            return where + QString(" vertex %1").arg(k + 1);
        }
    }
    return QString();
}

// A bulge is tan(sweep/4): 1000 already draws a circle closed to within 0.23 degrees, so a larger
// one is almost always a coordinate read as a bulge.
const double kLargestPlausibleBulge = 1000.0;
const int kWarningsShown = 3;

// Rows whose bulge is implausibly large, reported as a few warnings.
struct LargeBulges {
    QStringList lines;
    int count = 0;
    bool wholeFirst = false; // some such row starts with a whole number, like a point number

    void note(int line, double bulge, const QStringList& fields) {
        if (++count <= kWarningsShown)
            lines << QString("%1: bulge %2 is larger than 1000 in magnitude")
                         .arg(line)
                         .arg(bulge, 0, 'g', 12);
        double first = 0.0;
        if (isNumber(fields[0], first) && first == std::floor(first)) wholeFirst = true;
    }

    void report(QStringList& warnings) const {
        if (count == 0) return;
        warnings << lines;
        if (count > kWarningsShown)
            warnings << QString("%1 more rows with a bulge larger than 1000")
                            .arg(count - kWarningsShown);
        if (wholeFirst)
            warnings.last() += "; if the first column is a point number, name the columns in a "
                               "header row (id,x,y or id,x,y,bulge)";
    }
};

} // namespace

QString formatPolylines(const QVector<CsvPolyline>& polylines) {
    bool named = false;
    for (const CsvPolyline& line : polylines)
        named = named || !line.id.isEmpty();
    QString text = named ? "id,x,y,bulge\n" : "x,y,bulge\n";
    for (int i = 0; i < polylines.size(); ++i) {
        if (i > 0) text += '\n';
        const Tavro::NodeBulge& shape = polylines[i].shape;
        for (int k = 0; k < shape.nodes.length(); ++k) {
            const double bulge = k < shape.bulges.length() ? shape.bulges[k] : 0.0;
            if (named) text += polylines[i].id + ',';
            text += QString("%1,%2,%3\n")
                        .arg(exactNumber(shape.nodes[k].x), exactNumber(shape.nodes[k].y),
                             exactNumber(bulge));
        }
    }
    return text;
}

bool writePolylines(const QString& path, const QVector<CsvPolyline>& polylines, QString& error) {
    const QString bad = firstNonFinite(polylines);
    if (!bad.isEmpty()) {
        error = QString("%1 is not a finite number, nothing written").arg(bad);
        return false;
    }
    return writeOutput(path, formatPolylines(polylines).toUtf8(), error);
}

bool parsePolylines(const QString& text, QVector<CsvPolyline>& out, CsvError& error,
                    QStringList* warnings) {
    out.clear();
    LargeBulges large;
    Layout layout;
    CsvPolyline current;
    for (const CsvRow& csvRow : splitCsv(text)) {
        const int lineNo = csvRow.line;
        if (csvRow.blank()) {
            closeCurrent(out, current);
            continue;
        }
        const QStringList& fields = csvRow.fields;
        if (!layout.known) {
            const bool ok = isHeader(fields) ? readHeader(fields, layout, error)
                                             : guessLayout(fields, layout, error);
            if (!ok) {
                error.line = lineNo;
                return false;
            }
            if (isHeader(fields)) continue;
        }
        Row row;
        if (!readRow(fields, layout, row, error)) {
            error.line = lineNo;
            return false;
        }
        if (!current.shape.nodes.isEmpty() && row.id != current.id) closeCurrent(out, current);
        if (current.shape.nodes.isEmpty()) {
            current.id = row.id;
            current.firstLine = lineNo;
        }
        current.lastLine = lineNo;
        if (std::fabs(row.bulge) > kLargestPlausibleBulge) large.note(lineNo, row.bulge, fields);
        current.shape.nodes.append(AcGePoint2d(row.x, row.y));
        current.shape.bulges.append(row.bulge);
    }
    closeCurrent(out, current);
    if (warnings) large.report(*warnings);
    return true;
}

bool readPolylines(const QString& path, QVector<CsvPolyline>& out, QString& error) {
    QByteArray bytes;
    return readInput(path, bytes, error) && parsePolylineFile(path, bytes, out, error);
}

bool parsePolylineFile(const QString& path, const QByteArray& bytes, QVector<CsvPolyline>& out,
                       QString& error) {
    CsvError csvError;
    QStringList warnings;
    if (!parsePolylines(QString::fromUtf8(bytes), out, csvError, &warnings)) {
        error = QString("%1:%2:%3: %4")
                    .arg(shown(path))
                    .arg(csvError.line)
                    .arg(csvError.column)
                    .arg(csvError.message);
        return false;
    }
    for (const QString& w : warnings)
        warn(QString("%1:%2").arg(shown(path), w));
    if (out.isEmpty()) {
        error = QString("%1: no polyline found").arg(shown(path));
        return false;
    }
    return true;
}

} // namespace tavro
