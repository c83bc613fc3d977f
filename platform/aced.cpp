#include "aced.h"

#include "TavroHost.h"

int acedSetStatusBarProgressMeter(const QString& label, int minPos, int maxPos) {
    TavroHost::startProgress(label, minPos, maxPos);
    return 0;
}

int acedSetStatusBarProgressMeterPos(int pos) {
    return TavroHost::setProgress(pos);
}

void acedRestoreStatusBar() {
    TavroHost::endProgress();
}

void acedPumpMessages() {
    TavroHost::pumpMessages();
}
