#pragma once
// Where the host's user-facing calls end up. The command line, the message boxes of the common
// library, the status-bar progress meter and the message pump are routed through these handlers
// so that a program (or a test) can watch or redirect them. An empty member means the default:
// command line to standard output, messages as "caption: text" to standard error, a silent
// progress meter and no message pump.

#include "TavroExport.h"

#include <QString>

#include <functional>

namespace TavroHost {
struct Handlers {
    std::function<void(const QString& text)> commandLine;
    std::function<void(const QString& caption, const QString& text)> message;
    std::function<void(const QString& label, int min, int max)> progressStart;
    // A negative result means the meter is gone.
    std::function<int(int pos)> progressPos;
    std::function<void()> progressEnd;
    std::function<void()> pumpMessages;
};

TAVRO_API void setHandlers(const Handlers& handlers);
TAVRO_API Handlers handlers();

// The calls the platform layer makes; each falls back to the default when no handler is set.
TAVRO_API void printCommandLine(const QString& text);
TAVRO_API void showMessage(const QString& caption, const QString& text);
TAVRO_API void startProgress(const QString& label, int min, int max);
TAVRO_API int setProgress(int pos);
TAVRO_API void endProgress();
TAVRO_API void pumpMessages();
} // namespace TavroHost
