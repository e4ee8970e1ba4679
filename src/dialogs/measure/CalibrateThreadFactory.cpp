#include "CalibrateThreadFactory.h"

#include "CTargetDisplay.h"
#include "CTargetValue.h"
#include "CalibrateThread_HXSeries.h"
#include "CalibrateThread_sRGB_Preset.h"

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
        return new CalibrateThread_HXSeries(nullptr);
    case CalibrateThreadKind::SRGBPreset:
        return new CalibrateThread_sRGB_Preset(nullptr);
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
