#pragma once
// Reads and writes bulge polylines as CSV text: one vertex per row, "x,y" or "x,y,bulge", with
// an optional leading id column. A blank line, or a change of id, starts the next polyline.

#include "TavroTypes.h"

#include <QString>
#include <QVector>

namespace tavro {

struct CsvPolyline {
    QString id;
    int firstLine = 0;
    int lastLine = 0;
    // One bulge per node; rows without a bulge hold 0.
    Tavro::NodeBulge shape;
};

struct CsvError {
    int line = 0;
    int column = 0;
    QString message;
};

// Parses text; on a bad row returns false with the row's line and 1-based column in error.
// Rows that parse but look wrong (a bulge above 1000 in magnitude, such as a point number read
// as x) add "LINE: message" texts to warnings when given.
bool parsePolylines(const QString& text, QVector<CsvPolyline>& out, CsvError& error,
                    QStringList* warnings = nullptr);

// Reads and parses a file ("-" reads standard input); errors come back as one line of the form
// "FILE:LINE:COLUMN: message", warnings go to standard error as "FILE:LINE: message".
bool readPolylines(const QString& path, QVector<CsvPolyline>& out, QString& error);
// The same for the bytes of a file already read.
bool parsePolylineFile(const QString& path, const QByteArray& bytes, QVector<CsvPolyline>& out,
                       QString& error);

// CSV that parsePolylines reads back to the same polylines: a header row "id,x,y,bulge" (or
// "x,y,bulge" when no polyline has an id), one row per vertex with every number in its shortest
// exact form, and a blank line between polylines.
QString formatPolylines(const QVector<CsvPolyline>& polylines);

// Writes formatPolylines to a file ("-" writes standard output) in one piece (see writeOutput);
// refuses a non-finite number with a one-line error naming the polyline and vertex, and writes
// nothing then.
bool writePolylines(const QString& path, const QVector<CsvPolyline>& polylines, QString& error);

} // namespace tavro
