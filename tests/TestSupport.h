#pragma once
// Shorthands shared by the test programs: constants, point and array builders, point checks and
// a recorder of the message boxes.

#include "TavroGeometric142.h"

#include <gtest/gtest.h>

#include <QStringList>

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
