#include "TavroCommon.h"

#include "TavroHost.h"

namespace {
struct Registration {
    int count = 0;
    QString first;
    QString second;
    long third = 0;
};

Registration& registration() {
    static Registration latest;
    return latest;
}
} // namespace

bool CTavroVersionManager::RegisterVersion(const QString& first, const QString& second,
                                           long third) {
    Registration& r = registration();
    ++r.count;
    r.first = first;
    r.second = second;
    r.third = third;
    return true;
}

int CTavroVersionManager::registrationCount() {
    return registration().count;
}

bool CTavroVersionManager::lastRegistration(QString& first, QString& second, long& third) {
    const Registration& r = registration();
    if (r.count == 0) return false;
    first = r.first;
    second = r.second;
    third = r.third;
    return true;
}

int CTavroMessage::errorMsg(const QString& text, HWND, const QString& caption) {
    TavroHost::showMessage(caption, text);
    return 0;
}

int CTavroMessage::warnMsg(const QString& text, HWND, const QString& caption) {
    TavroHost::showMessage(caption, text);
    return 0;
}
