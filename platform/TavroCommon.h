#pragma once
// The application's common library, beside this one: version registration at load time and the
// error and warning boxes of the geodetic setters.

#include "TavroExport.h"

#include <QString>

#ifndef _WIN32
typedef void* HWND;
#endif

class TAVRO_API CTavroVersionManager {
public:
    // Records one registration; the result is always true.
    static bool RegisterVersion(const QString& first, const QString& second, long third);
    static int registrationCount();
    // The arguments of the latest registration; false when there has been none.
    static bool lastRegistration(QString& first, QString& second, long& third);
};

class TAVRO_API CTavroMessage {
public:
    // Shows text with its caption through the host's message handler; returns 0.
    static int errorMsg(const QString& text, HWND parent = nullptr,
                        const QString& caption = QString::fromUtf8("错误"));
    static int warnMsg(const QString& text, HWND parent = nullptr,
                       const QString& caption = QString::fromUtf8("警告"));
};
