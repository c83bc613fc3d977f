#include "CsvTable.h"

#include <cmath>

namespace tavro {

QVector<CsvRow> splitCsv(const QString& text) {
    QVector<CsvRow> rows;
    const QStringList lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.startsWith('#')) continue;
        CsvRow row;
        row.line = n + 1;
        if (!line.isEmpty()) {
            row.fields = line.split(',');
            for (QString& f : row.fields)
                f = f.trimmed();
        }
        rows << row;
    }
    return rows;
}

bool readCsvTable(const QString& path, CsvTable& table, QStringList& errors) {
    QByteArray bytes;
    QString error;
    if (!readInput(path, bytes, error)) {
        errors << error;
        return false;
    }
    table.path = shown(path);
    for (const CsvRow& row : splitCsv(QString::fromUtf8(bytes))) {
        if (row.blank()) continue;
        if (table.header.isEmpty()) {
            table.header = row.fields;
            continue;
        }
        table.rows << row.fields;
        table.lines << row.line;
    }
    if (!table.header.isEmpty()) return true;
    errors << QString("%1: no header row found").arg(path);
    return false;
}

bool findColumns(const CsvTable& table, const QStringList& names, QVector<int>& index,
                 QStringList& errors) {
    index.clear();
    for (const QString& name : names) {
        index << table.header.indexOf(name);
        if (index.last() < 0)
            errors << QString("%1: the header has no column \"%2\" (it has: %3)")
                          .arg(table.path, name, shown(table.header.join(", ")));
    }
    return errors.isEmpty();
}

bool readNumbers(const CsvTable& table, const QVector<int>& columns,
                 std::vector<std::vector<double>>& values, QStringList& errors) {
    values.assign(static_cast<size_t>(table.rows.size()), {});
    const QString where = QString("%1:%2: ").arg(table.path);
    for (int r = 0; r < table.rows.size(); ++r) {
        const QStringList& row = table.rows[r];
        if (row.size() != table.header.size()) {
            errors << where.arg(table.lines[r]) + QString("expected %1 fields, found %2")
                                                      .arg(table.header.size())
                                                      .arg(row.size());
            continue;
        }
        for (int c : columns) {
            bool ok = false;
            const double v = row[c].toDouble(&ok);
            if (!ok || !std::isfinite(v))
                errors << where.arg(table.lines[r]) +
                              QString("column \"%1\": \"%2\" is not a finite number")
                                  .arg(shown(table.header[c]), shown(row[c]));
            values[static_cast<size_t>(r)].push_back(v);
        }
    }
    return errors.isEmpty();
}

QString csvField(const QString& text) {
    if (!text.contains(',') && !text.contains('"')) return text;
    QString quoted = text;
    quoted.replace('"', "\"\"");
    return '"' + quoted + '"';
}

void printCsvLine(Output& out, const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    out.append(quoted.join(',') + '\n');
}

} // namespace tavro
