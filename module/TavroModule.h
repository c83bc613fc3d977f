#pragma once
// The module's entry towards the host.

#include "TavroExport.h"

// The host's API version this module is built for: 0x180000.
extern "C" TAVRO_API int acrxGetApiVersion();
