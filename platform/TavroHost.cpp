#include "TavroHost.h"

#include <cstdio>

namespace TavroHost {
namespace {
Handlers& current() {
    static Handlers installed;
    return installed;
}
} // namespace

void setHandlers(const Handlers& h) {
    current() = h;
}

Handlers handlers() {
    return current();
}

void printCommandLine(const QString& text) {
    if (current().commandLine) {
        current().commandLine(text);
        return;
    }
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

void showMessage(const QString& caption, const QString& text) {
    if (current().message) {
        current().message(caption, text);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
}

void startProgress(const QString& label, int min, int max) {
    if (current().progressStart) current().progressStart(label, min, max);
}

int setProgress(int pos) {
    return current().progressPos ? current().progressPos(pos) : 0;
}

void endProgress() {
    if (current().progressEnd) current().progressEnd();
}

void pumpMessages() {
    if (current().pumpMessages) current().pumpMessages();
}
} // namespace TavroHost
