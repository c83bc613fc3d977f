#pragma once
// The host's status-bar progress meter and the pump that keeps its window responsive.

#include "TavroExport.h"

class QString;

TAVRO_API int acedSetStatusBarProgressMeter(const QString& label, int minPos, int maxPos);
// A negative result means the meter is gone.
TAVRO_API int acedSetStatusBarProgressMeterPos(int pos);
TAVRO_API void acedRestoreStatusBar();
// One turn of the host's message pump: pending window messages are handled, then idle work.
TAVRO_API void acedPumpMessages();
