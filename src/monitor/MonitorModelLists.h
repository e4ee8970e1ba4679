#pragma once
// The fixed lists of monitor model ids that decide which monitors the
// program drives and which features they have. A model id is the EDID
// manufacturer word in the upper half and the product code in the lower
// half ("ORV" is 0x563E). The HX series ids belong to the wide-gamut, sRGB
// preset and no-LUT-priority lists as well. The two power-on counter lists
// name the models that keep their power-on minutes in EEPROM; every other
// model reports its hours through VCP 0xFF.

#include <QtGlobal>

namespace pz {

enum class ModelList {
    HXSeries,         // driven through the HX series monitor class
    WideGamut,        // wide-gamut RGB LED panels
    SRGBPreset,       // the monitor's sRGB preset can be selected
    AutoLuminance,    // automatic luminance
    NoLUTPriority,    // no choice of LUT calibration priority
    OnePowerOnCounter,  // one EEPROM power-on minute counter (0x308)
    TwoPowerOnCounters, // two EEPROM power-on minute counters (0x308 and 0x3F8)
};

// Number of ids in a list.
int modelListSize(ModelList list);
// Id i of a list (0 outside it).
quint32 modelListId(ModelList list, int i);
bool isInModelList(ModelList list, quint32 modelId);

} // namespace pz
