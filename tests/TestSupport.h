#pragma once
// Shorthands shared by the test programs: constants, point and array builders, point checks and
// a recorder of the message boxes.

#include "TavroGeometric142.h"
// The geometry's internal helpers, which the suites test directly.
#include "CTavroGeoInternal.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <cstdint>
#include <limits>

constexpr double kPi = Tavro::kPi;
constexpr double kDeg = Tavro::kPi / 180.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

using Pts = AcArray<AcGePoint2d>;
using Doubles = AcArray<double>;

inline AcGePoint2d P(double x, double y) {
    return AcGePoint2d(x, y);
}
inline AcGePoint3d P3(double x, double y, double z = 0.0) {
    return AcGePoint3d(x, y, z);
}

// Checks both coordinates of a plane point, or the x and y of a space point.
inline void expectNear(const AcGePoint2d& p, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}
inline void expectNear(const AcGePoint3d& p, double x, double y, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

inline QString u8(const char* text) {
    return QString::fromUtf8(text);
}

// Captures the caption and text of every message box while alive.
class MessageRecorder {
public:
    MessageRecorder() : m_saved(TavroHost::handlers()) {
        TavroHost::Handlers h = m_saved;
        h.message = [this](const QString& caption, const QString& text) {
            captions << caption;
            texts << text;
        };
        TavroHost::setHandlers(h);
    }
    ~MessageRecorder() { TavroHost::setHandlers(m_saved); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;
    QStringList captions;
    QStringList texts;

private:
    TavroHost::Handlers m_saved;
};

// ---- Rings, extents and finiteness for the geometry suites ----

inline bool isFinite(const AcGePoint2d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The counterclockwise square whose lower left corner is (x0, y0).
inline Pts square(double x0, double y0, double side) {
    return Pts{P(x0, y0), P(x0 + side, y0), P(x0 + side, y0 + side), P(x0, y0 + side)};
}

// The same square listed closed, its first corner repeated at the end.
inline Pts closedSquare(double x0, double y0, double side = 1) {
    Pts ring = square(x0, y0, side);
    ring.append(ring.first());
    return ring;
}

// The points moved by (dx, dy).
inline Pts shifted(const Pts& pts, double dx, double dy) {
    Pts out;
    for (const AcGePoint2d& p : pts)
        out.append(P(p.x + dx, p.y + dy));
    return out;
}

// Nodes with their bulges; no bulges means every segment is straight.
inline Tavro::NodeBulge ring(const Pts& nodes, const Doubles& bulges = Doubles()) {
    Tavro::NodeBulge nb;
    nb.nodes = nodes;
    nb.bulges = bulges;
    return nb;
}

// Checks the corners of plane extents to tol, and that they lie at z = 0.
inline void expectBox(const AcDbExtents& e, double x0, double y0, double x1, double y1,
                      double tol = 1e-12) {
    expectNear(e.minPoint(), x0, y0, tol);
    expectNear(e.maxPoint(), x1, y1, tol);
    EXPECT_EQ(e.minPoint().z, 0.0);
    EXPECT_EQ(e.maxPoint().z, 0.0);
}

// Whether the line's coefficients are exactly (a, b, c).
inline ::testing::AssertionResult isLine(const TavroLine& l, double a, double b, double c) {
    if (l.a == a && l.b == b && l.c == c) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "line (" << l.a << ", " << l.b << ", " << l.c << ")";
}

// Shoelace area of the ring closed back to its first point, positive counterclockwise (the
// opposite of the library's sign): worked out apart from the library.
inline double shoelaceArea(const Pts& ring) {
    double sum = 0.0;
    for (int i = 0; i < ring.length(); ++i) {
        const AcGePoint2d& a = ring[i];
        const AcGePoint2d& b = ring[(i + 1) % ring.length()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

// ---- Tolerance boundaries and random input ----

// A tolerance boundary: expr, written in terms of d, is taken a tenth inside tol (d = 0.9 tol)
// and a tenth outside it (d = 1.1 tol) and must answer inside and outside there.
#define EXPECT_ACROSS_TOL(tol, expr, inside, outside)                                              \
    do {                                                                                           \
        double d = 0.9 * (tol);                                                                    \
        EXPECT_EQ(expr, inside) << "just inside " #tol;                                            \
        d = 1.1 * (tol);                                                                           \
        EXPECT_EQ(expr, outside) << "just outside " #tol;                                          \
    } while (0)

// A small deterministic generator, the same on every platform: uniform in [0, 1).
inline double nextUnit(std::uint64_t& state) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
}

// Records every progress meter call, and message pumps, while alive.
class ProgressRecorder {
public:
    ProgressRecorder() : m_saved(TavroHost::handlers()) {
        TavroHost::Handlers h;
        h.progressStart = [this](const QString& label, int low, int high) {
            calls << QString("start %1 %2 %3").arg(label).arg(low).arg(high);
        };
        h.progressPos = [this](int pos) {
            calls << QString("pos %1").arg(pos);
            return 0;
        };
        h.progressEnd = [this] { calls << "end"; };
        h.pumpMessages = [this] { calls << "pump"; };
        TavroHost::setHandlers(h);
    }
    ~ProgressRecorder() { TavroHost::setHandlers(m_saved); }
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;
    // How many calls of one kind ("start", "pos", "end", "pump") were made.
    int count(const QString& kind) const {
        int n = 0;
        for (const QString& call : calls)
            n += call.startsWith(kind + " ") || call == kind;
        return n;
    }
    QStringList calls;

private:
    TavroHost::Handlers m_saved;
};
