#include "DxfIo.h"
#include "CTavroGeoReports.h"
#include "TavroTolerance.h"
#include "CliSupport.h"

#include <QTemporaryFile>

#include <dl_creationadapter.h>
#include <dl_dxf.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace tavro {

namespace {

bool finite(double v) {
    return std::isfinite(v);
}

// Collects the entities dxflib reports (those PairScan kept) as bulge polylines.
class LineworkReader : public DL_CreationAdapter {
public:
    QVector<CsvPolyline> polylines;
    QString badEntity; // the first entity with a non-finite number, by name

    void endSection() override { finishPolyline(); }
    void endSequence() override { finishPolyline(); }

    void addLine(const DL_LineData& d) override {
        begin("LINE");
        push(d.x1, d.y1, 0.0);
        push(d.x2, d.y2, 0.0);
        finish();
    }

    // An arc runs counterclockwise from angle1 to angle2 (degrees) in its own plane; one seen
    // from below (extrusion z < 0) is mirrored in x.
    void addArc(const DL_ArcData& d) override {
        begin("ARC");
        pushAll(
            CTavroGeoReports::arcPolyline(AcGePoint2d(d.cx, d.cy), d.radius, d.angle1, d.angle2));
        mirrorIfFlipped();
        finish();
    }

    void addCircle(const DL_CircleData& d) override {
        begin("CIRCLE");
        pushAll(CTavroGeoReports::circlePolyline(AcGePoint2d(d.cx, d.cy), d.radius));
        mirrorIfFlipped();
        finish();
    }

    void addPolyline(const DL_PolylineData& d) override {
        // Polyface and polygon meshes (flags 16, 64) are surfaces, not linework.
        begin("POLYLINE");
        if (d.flags & (16 | 64)) return;
        m_closed = (d.flags & 1) != 0;
        m_inPolyline = true;
    }

    void addVertex(const DL_VertexData& d) override {
        if (m_inPolyline) push(d.x, d.y, d.bulge);
    }

    void finishPolyline() {
        if (!m_inPolyline) return;
        m_inPolyline = false;
        Tavro::NodeBulge& shape = m_current.shape;
        if (m_closed && shape.nodes.length() > 1) {
            shape.nodes.append(shape.nodes.first());
            shape.bulges.append(0.0);
        }
        mirrorIfFlipped();
        finish();
    }

    int count() const { return m_count; }

private:
    // Starts an entity: counts it and names it by its type, handle and layer.
    void begin(const char* type) {
        finishPolyline();
        ++m_count;
        QString name = QString("entity %1 (%2").arg(m_count).arg(type);
        const DL_Attributes& attributes = getAttributes();
        if (attributes.getHandle() >= 0)
            name +=
                QString(", handle %1").arg(QString::number(attributes.getHandle(), 16).toUpper());
        if (!attributes.getLayer().empty())
            name += QString(", layer %1").arg(shown(QString::fromStdString(attributes.getLayer())));
        m_current = CsvPolyline();
        m_current.id = name + ")";
        m_current.firstLine = m_current.lastLine = m_count;
        m_flipped = getExtrusion() && getExtrusion()->getDirection()[2] < 0.0;
    }

    void push(double x, double y, double bulge) {
        if (!(finite(x) && finite(y) && finite(bulge)) && badEntity.isEmpty())
            badEntity = QString("%1: vertex %2 has a coordinate or bulge that is not a finite "
                                "number")
                            .arg(m_current.id)
                            .arg(m_current.shape.nodes.length() + 1);
        m_current.shape.nodes.append(AcGePoint2d(x, y));
        m_current.shape.bulges.append(bulge);
    }

    void pushAll(const Tavro::NodeBulge& shape) {
        for (int i = 0; i < shape.nodes.length(); ++i)
            push(shape.nodes[i].x, shape.nodes[i].y, shape.bulges[i]);
    }

    void mirrorIfFlipped() {
        if (!m_flipped) return;
        Tavro::NodeBulge& shape = m_current.shape;
        for (int i = 0; i < shape.nodes.length(); ++i) {
            shape.nodes[i].x = -shape.nodes[i].x;
            shape.bulges[i] = -shape.bulges[i];
        }
    }

    void finish() { polylines.append(m_current); }

    CsvPolyline m_current;
    int m_count = 0;
    bool m_inPolyline = false;
    bool m_closed = false;
    bool m_flipped = false;
};

// The group/value pairs of an ASCII DXF text, checked and cut down before dxflib reads them:
// dxflib takes a number it cannot read ("nan") for 0, trusts a polyline's vertex count (group
// 90) for its allocation, and can spend minutes on malformed entities of other kinds. So every
// group code must be a whole number and every real-valued group a finite number, and dxflib is
// given only the LWPOLYLINE, POLYLINE (with its VERTEX and SEQEND), LINE, ARC and CIRCLE
// entities of the ENTITIES section, each LWPOLYLINE with the vertex count it really holds.
class PairScan {
public:
    // False with "LINE: message" for the first bad pair.
    bool scan(const QByteArray& bytes, QString& error) {
        const QList<QByteArray> lines = bytes.split('\n');
        QByteArray section;
        QString entity;
        bool keep = false, inPolyline = false;
        for (int i = 0; i + 1 < lines.size(); i += 2) {
            const QByteArray codeText = lines[i].trimmed(), value = lines[i + 1].trimmed();
            bool ok = false;
            const int code = codeText.toInt(&ok);
            if (!ok || code < 0) {
                error = QString("%1: \"%2\" is not a group code (is this an ASCII DXF file?)")
                            .arg(i + 1)
                            .arg(shown(QString::fromLatin1(codeText)));
                return false;
            }
            if (code == 0) {
                flushEntity();
                if (value == "EOF") break;
                if (value == "SECTION" || value == "ENDSEC") section.clear();
                entity = QString::fromLatin1(value);
                const bool usable = section == "ENTITIES" && isUsable(value);
                if (usable) {
                    entityLines.append(i + 1);
                    entityTypes.append(entity);
                    entity = QString("entity %1 (%2").arg(entityLines.size()).arg(entity);
                    inPolyline = value == "POLYLINE";
                } else {
                    entity = QString("%1 (").arg(shown(entity));
                }
                const bool polylinePart = inPolyline && (value == "VERTEX" || value == "SEQEND");
                if (value == "SEQEND") inPolyline = false;
                keep = usable || polylinePart;
                if (value != "POLYLINE" && !polylinePart) inPolyline = false;
            }
            if (code == 2 && i >= 2 && lines[i - 1].trimmed() == "SECTION") section = value;
            if (code == 5 && !entity.isEmpty())
                entity +=
                    QString("%1handle %2").arg(entity.endsWith('(') ? "" : ", ", shown(value));
            if (isReal(code)) {
                char* end = nullptr;
                const double number = std::strtod(value.constData(), &end);
                if (value.isEmpty() || *end != 0 || !std::isfinite(number)) {
                    error = QString("%1: %2, group code %3: \"%4\" is not a finite number")
                                .arg(i + 2)
                                .arg(entity.isEmpty()       ? QString("header")
                                     : entity.endsWith('(') ? entity.chopped(2)
                                                            : entity + ")")
                                .arg(code)
                                .arg(shown(QString::fromLatin1(value)));
                    return false;
                }
            }
            if (keep) m_entity.append({code, value});
        }
        flushEntity();
        return true;
    }

    // The text dxflib reads: one ENTITIES section of the kept entities.
    QByteArray text() const { return "0\nSECTION\n2\nENTITIES\n" + m_text + "0\nENDSEC\n0\nEOF\n"; }

    // The line where each LWPOLYLINE, POLYLINE, LINE, ARC and CIRCLE of the ENTITIES section
    // starts (its group code 0), and its type, in file order.
    QVector<int> entityLines;
    QStringList entityTypes;

private:
    struct Pair {
        int code;
        QByteArray value;
    };

    // Appends the pending entity, a LWPOLYLINE's vertex count set to its count of x values.
    void flushEntity() {
        if (m_entity.isEmpty()) return;
        const bool lightweight = m_entity[0].value == "LWPOLYLINE";
        int vertices = 0;
        for (const Pair& p : m_entity)
            if (p.code == 10) ++vertices;
        for (const Pair& p : m_entity) {
            if (lightweight && p.code == 90) continue;
            m_text += QByteArray::number(p.code) + '\n' + p.value + '\n';
            if (lightweight && p.code == 0) m_text += "90\n" + QByteArray::number(vertices) + '\n';
        }
        m_entity.clear();
    }

    static bool isUsable(const QByteArray& type) {
        return type == "LWPOLYLINE" || type == "POLYLINE" || type == "LINE" || type == "ARC" ||
               type == "CIRCLE";
    }
    // The group codes of real numbers: points, distances, angles, scales.
    static bool isReal(int code) {
        return (code >= 10 && code <= 59) || (code >= 110 && code <= 149) ||
               (code >= 210 && code <= 239) || (code >= 1010 && code <= 1059);
    }

    QVector<Pair> m_entity;
    QByteArray m_text;
};

} // namespace

bool looksLikeDxf(const QByteArray& bytes) {
    const QList<QByteArray> lines = bytes.left(4096).split('\n');
    int i = 0;
    while (i + 1 < lines.size() && lines[i].trimmed() == "999") // comments
        i += 2;
    return i + 1 < lines.size() && lines[i].trimmed() == "0" && lines[i + 1].trimmed() == "SECTION";
}

bool readDxfPolylines(const QString& path, const QByteArray& bytes, QVector<CsvPolyline>& out,
                      QString& error) {
    if (bytes.startsWith("AutoCAD Binary DXF")) {
        error = QString("%1: a binary DXF file; save it as ASCII DXF").arg(shown(path));
        return false;
    }
    PairScan scan;
    if (!scan.scan(bytes, error)) {
        error = QString("%1:%2").arg(shown(path), error);
        return false;
    }
    const QByteArray text = scan.text();
    LineworkReader reader;
    std::istringstream stream(std::string(text.constData(), size_t(text.size())));
    DL_Dxf dxf;
    dxf.in(stream, &reader);
    reader.finishPolyline();
    if (!reader.badEntity.isEmpty()) {
        error = QString("%1: %2").arg(shown(path), reader.badEntity);
        return false;
    }
    if (reader.polylines.isEmpty()) {
        error = QString("%1: no usable entities (LWPOLYLINE, POLYLINE, LINE, ARC or CIRCLE in the "
                        "ENTITIES section)")
                    .arg(shown(path));
        return false;
    }
    out = reader.polylines;
    // The entities dxflib reports in the ENTITIES section are the ones scanned, in order.
    for (CsvPolyline& line : out) {
        const int n = line.firstLine - 1;
        if (n < 0 || n >= scan.entityLines.size()) continue;
        line.firstLine = line.lastLine = scan.entityLines[n];
        if (line.id.startsWith(QString("entity %1 (POLYLINE").arg(n + 1)))
            line.id.replace(QString("(POLYLINE"), "(" + scan.entityTypes[n]);
    }
    return true;
}

bool formatDxfRegions(const QVector<DxfRegion>& regions, QByteArray& out, QString& error) {
    // dxflib writes to a named file only: the text is built in a temporary file and read back.
    QTemporaryFile file;
    if (!file.open()) {
        error =
            QString("cannot make a temporary file for the DXF text: %1").arg(file.errorString());
        return false;
    }
    double low = 0.0, high = 0.0;
    bool first = true;
    for (const DxfRegion& r : regions)
        for (const AcGePoint2d& p : r.ring.nodes) {
            low = first ? std::min(p.x, p.y) : std::min({low, p.x, p.y});
            high = first ? std::max(p.x, p.y) : std::max({high, p.x, p.y});
            first = false;
        }
    const double textHeight =
        regions.isEmpty() ? 1.0 : std::max((high - low) / 400.0, Tavro::kDxfMinTextHeight);
    {
        DL_Dxf dxf;
        const DL_Codes::version version = DL_Codes::AC1015;
        std::unique_ptr<DL_WriterA> dw(dxf.out(QFile::encodeName(file.fileName()), version));
        if (!dw) {
            error = "cannot write the DXF text to a temporary file";
            return false;
        }
        dxf.writeHeader(*dw);
        dw->sectionEnd();
        dw->sectionTables();
        dxf.writeVPort(*dw);
        dw->tableLinetypes(3);
        dxf.writeLinetype(*dw, DL_LinetypeData("BYBLOCK", "BYBLOCK", 0, 0, 0.0));
        dxf.writeLinetype(*dw, DL_LinetypeData("BYLAYER", "BYLAYER", 0, 0, 0.0));
        dxf.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Continuous", 0, 0, 0.0));
        dw->tableEnd();
        dw->tableLayers(3);
        const DL_Attributes plain("", DL_Codes::black, 100, "CONTINUOUS", 1.0);
        dxf.writeLayer(*dw, DL_LayerData("0", 0), plain);
        dxf.writeLayer(*dw, DL_LayerData("REGIONS", 0),
                       DL_Attributes("", DL_Codes::green, 100, "CONTINUOUS", 1.0));
        dxf.writeLayer(*dw, DL_LayerData("AREAS", 0),
                       DL_Attributes("", DL_Codes::yellow, 100, "CONTINUOUS", 1.0));
        dw->tableEnd();
        dw->tableStyle(1);
        dxf.writeStyle(*dw, DL_StyleData("standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
        dw->tableEnd();
        dxf.writeView(*dw);
        dxf.writeUcs(*dw);
        dw->tableAppid(1);
        dxf.writeAppid(*dw, "ACAD");
        dw->tableEnd();
        dxf.writeDimStyle(*dw, 1, 1, 1, 1, 1);
        dxf.writeBlockRecord(*dw);
        dw->tableEnd();
        dw->sectionEnd();
        dw->sectionBlocks();
        dxf.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(*dw, "*Model_Space");
        dxf.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(*dw, "*Paper_Space");
        dxf.writeBlock(*dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
        dxf.writeEndBlock(*dw, "*Paper_Space0");
        dw->sectionEnd();
        dw->sectionEntities();
        const DL_Attributes onRegions("REGIONS", 256, -1, "BYLAYER", 1.0);
        const DL_Attributes onAreas("AREAS", 256, -1, "BYLAYER", 1.0);
        for (const DxfRegion& r : regions) {
            const int n = r.ring.nodes.length();
            dxf.writePolyline(*dw, DL_PolylineData(n, 0, 0, 1), onRegions);
            for (int i = 0; i < n; ++i)
                dxf.writeVertex(*dw,
                                DL_VertexData(r.ring.nodes[i].x, r.ring.nodes[i].y, 0.0,
                                              i < r.ring.bulges.length() ? r.ring.bulges[i] : 0.0));
            dxf.writePolylineEnd(*dw);
            const QByteArray text = QByteArray::number(r.area, 'f', 2);
            dxf.writeText(*dw,
                          DL_TextData(r.label.x, r.label.y, 0.0, r.label.x, r.label.y, 0.0,
                                      textHeight, 1.0, 0, 1, 2, text.toStdString(), "standard",
                                      0.0),
                          onAreas);
        }
        dw->sectionEnd();
        dxf.writeObjects(*dw);
        dxf.writeObjectsEnd(*dw);
        dw->dxfEOF();
        dw->close();
    }
    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly)) {
        error = QString("cannot read back the DXF text: %1").arg(written.errorString());
        return false;
    }
    out = written.readAll();
    return true;
}

} // namespace tavro
