#pragma once
// The one CSV reader of tavro. Every verb that reads CSV (polylines, point tables, parameter
// tables) splits its text here: one row per line, fields apart by commas, each field and line
// trimmed of spaces, no quoting. Lines whose text starts with '#' are comments and are dropped;
// blank lines are kept as rows without fields, since a blank line ends a polyline.

#include "CliSupport.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

namespace tavro {

struct CsvRow {
    int line = 0; // 1-based line number in the text
    QStringList fields;
    bool blank() const { return fields.isEmpty(); }
};

// The rows of a CSV text.
QVector<CsvRow> splitCsv(const QString& text);

// A table: the first non-blank row names the columns, the rows after it hold the data (blank
// rows dropped). Data rows are kept as they are; their field count is checked when read.
struct CsvTable {
    QString path; // as messages show it
    QStringList header;
    QVector<QStringList> rows;
    QVector<int> lines;
};

// Reads a table from a file ("-" for standard input); false with a message when it cannot be
// read or has no header row.
bool readCsvTable(const QString& path, CsvTable& table, QStringList& errors);
// The indices of the named columns (names are case-sensitive: x and X differ); each missing
// column is reported.
bool findColumns(const CsvTable& table, const QStringList& names, QVector<int>& index,
                 QStringList& errors);
// The given columns of every row as finite numbers; each row with the wrong number of fields and
// each bad field is reported, in the order of the file.
bool readNumbers(const CsvTable& table, const QVector<int>& columns,
                 std::vector<std::vector<double>>& values, QStringList& errors);

// A field as CSV writes it: quoted when it holds a comma or a quote.
QString csvField(const QString& text);
// Appends one CSV line of fields.
void printCsvLine(Output& out, const QStringList& fields);

} // namespace tavro
