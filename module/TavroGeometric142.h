#pragma once
// The whole public interface of TavroGeometric142: the host value types, the shared Tavro types
// and every exported class and function.

#include "AcArray.h"
#include "AcDb.h"
#include "AcGe.h"
#include "AcDbCurves.h"
#include "AcGeCurves.h"
#include "TavroCommon.h"
#include "TavroHost.h"
#include "aced.h"
#include "acut.h"

#include "TavroModule.h"
#include "TavroTolerance.h"
#include "TavroTypes.h"

#include "CTavroGeoArc.h"
#include "CTavroGeoLine.h"
#include "CTavroGeoPoint.h"
#include "CTavroGeoVector.h"
#include "CTavroGeoGlobal.h"
#include "CTavroGeoBoder.h"
#include "CTavroGeoReports.h"

#include "CTavroAutoDiv.h"
#include "CTavroAutoLoop.h"
#include "CTavroEdge.h"
#include "CTavroLine2P.h"
#include "CTavroLoopGraph.h"

#include "TavroEllipsoid.h"
#include "TavroFitReport.h"
#include "TavroGaussKrueger.h"
#include "TavroGeoCoorTrans.h"
#include "TavroGeodeticTypes.h"
#include "TavroPCore.h"
#include "TavroQPcore.h"
#include "TavroTransEstimate.h"
