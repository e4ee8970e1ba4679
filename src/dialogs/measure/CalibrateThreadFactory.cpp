#include "CalibrateThreadFactory.h"

#include "CTargetDisplay.h"
#include "CTargetValue.h"

// The two variants live in their own files of the calibration library; a
// tree without them yet runs the standard thread for their displays.
#if __has_include("CalibrateThread_HXSeries.h")
#include "CalibrateThread_HXSeries.h"
#define PZ_HAVE_HX_THREAD 1
#endif
#if __has_include("CalibrateThread_sRGB_Preset.h")
#include "CalibrateThread_sRGB_Preset.h"
#define PZ_HAVE_SRGB_THREAD 1
#endif

namespace pz {

namespace {
CalibrateThreadFactory &installedFactory()
{
    static CalibrateThreadFactory factory;
    return factory;
}
} // namespace

CalibrateThreadKind calibrateThreadKindFor(int displayType, int colorGamutType)
{
    if (displayType == CTargetDisplay::kDisplayTypeHXSeries)
        return CalibrateThreadKind::HXSeries;
    if (colorGamutType == CTargetValue::kGamutSRGB)
        return CalibrateThreadKind::SRGBPreset;
    return CalibrateThreadKind::Standard;
}

CalibrateThread *createStandardCalibrateThread(CalibrateThreadKind kind)
{
    switch (kind) {
    case CalibrateThreadKind::HXSeries:
#ifdef PZ_HAVE_HX_THREAD
        return new CalibrateThread_HXSeries(nullptr);
#else
        break;
#endif
    case CalibrateThreadKind::SRGBPreset:
#ifdef PZ_HAVE_SRGB_THREAD
        return new CalibrateThread_sRGB_Preset(nullptr);
#else
        break;
#endif
    case CalibrateThreadKind::Standard:
        break;
    }
    return new CalibrateThread(nullptr);
}

CalibrateThread *createCalibrateThread(CalibrateThreadKind kind)
{
    const CalibrateThreadFactory &factory = installedFactory();
    return factory ? factory(kind) : createStandardCalibrateThread(kind);
}

ScopedCalibrateThreadFactory::ScopedCalibrateThreadFactory(CalibrateThreadFactory factory)
    : m_previous(installedFactory())
{
    installedFactory() = std::move(factory);
}

ScopedCalibrateThreadFactory::~ScopedCalibrateThreadFactory()
{
    installedFactory() = std::move(m_previous);
}

} // namespace pz
