#pragma once
// Skin data for Windows programs: the element records, the skin data
// component and its loading sequence.
#include "SkinBuild.h"
#include "SkinData.h"
#include "SkinDescription.h"
#include "SkinLoader.h"
#include "SkinRecords.h"
