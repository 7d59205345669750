#pragma once
// Window frame skinning: drawing primitives, frame geometry, non-client
// objects and the per-window form skin.
#include "FrameLayout.h"
#include "NCObjects.h"
#include "NineSlice.h"
#include "RegionRuns.h"
#include "SkinDraw.h"
#include "SkinForm.h"
