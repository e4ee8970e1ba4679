#include "MonitorModelLists.h"

#include <algorithm>
#include <iterator>

namespace pz {

namespace {

// The four HX series models, and the id that stands for "any HX model".
constexpr quint32 kHXSeries[] = {
    0x563E2441, // HXSIM24
    0x563E2442, // HX520R
    0x563E2443, // HXSIM27
    0x563E2444, // HXSIM32
    0xFFFFFFFF,
};

constexpr quint32 kWideGamut[] = {
    0x563E2441, 0x563E2442, 0x563E2443, 0x563E2444, 0xFFFFFFFF,
    0x563E2301, 0x563E2302, 0x563E2303, 0x563E2304, 0x563E2305, 0x563E2306,
    0x563E2307, 0x563E2308, 0x563E2309, 0x563E230A, 0x563E230B, 0x563E230C,
    0x563E230D, 0x563E230E, 0x563E230F, 0x563E2310, 0x563E2311, 0x563E2312,
    0x563E2313, 0x563E2314, 0x563E2315, 0x563E2316, 0x563E2317, 0x563E2318,
};

constexpr quint32 kSRGBPreset[] = {
    0x563E2441, 0x563E2442, 0x563E2443, 0x563E2444, 0xFFFFFFFF,
    0x563E2301, 0x563E2302, 0x563E2303, 0x563E2304, 0x563E2305, 0x563E2306,
    0x563E2307, 0x563E2308, 0x563E2309, 0x563E230A, 0x563E230B, 0x563E230C,
    0x563E230D, 0x563E230E, 0x563E230F, 0x563E2310, 0x563E2311, 0x563E2312,
    0x563E2313, 0x563E2314, 0x563E2315, 0x563E2316, 0x563E2317, 0x563E2318,
    0x563E2201, 0x563E2202, 0x563E2203, 0x563E2204, 0x563E2205, 0x563E2206,
    0x563E2207,
};

constexpr quint32 kAutoLuminance[] = {
    0x563E2301, 0x563E2302, 0x563E2303, 0x563E2304, 0x563E2305, 0x563E2306,
    0x563E2307, 0x563E2308, 0x563E2309, 0x563E230A, 0x563E230B, 0x563E230C,
};

constexpr quint32 kNoLUTPriority[] = {
    0x563E2441, 0x563E2442, 0x563E2443, 0x563E2444, 0xFFFFFFFF,
    0x563E2201, 0x563E2202, 0x563E2203, 0x563E2204, 0x563E2205, 0x563E2206,
    0x563E2207,
    0x563E2101, 0x563E2102, 0x563E2103, 0x563E2104, 0x563E2105, 0x563E2106,
    0x563E2107, 0x563E2108, 0x563E2109, 0x563E210A, 0x563E210B, 0x563E210C,
    0x563E210D, 0x563E210E,
};

constexpr quint32 kOnePowerOnCounter[] = {
    0x563E2442, // HX520R
};

constexpr quint32 kTwoPowerOnCounters[] = {
    0x563E2443, // HXSIM27
};

static_assert(std::size(kHXSeries) == 5);
static_assert(std::size(kWideGamut) == 29);
static_assert(std::size(kSRGBPreset) == 36);
static_assert(std::size(kAutoLuminance) == 12);
static_assert(std::size(kNoLUTPriority) == 26);

struct Span {
    const quint32 *ids;
    int size;
};

template <std::size_t N>
constexpr Span span(const quint32 (&ids)[N])
{
    return Span{ids, static_cast<int>(N)};
}

Span listOf(ModelList list)
{
    switch (list) {
    case ModelList::HXSeries: return span(kHXSeries);
    case ModelList::WideGamut: return span(kWideGamut);
    case ModelList::SRGBPreset: return span(kSRGBPreset);
    case ModelList::AutoLuminance: return span(kAutoLuminance);
    case ModelList::NoLUTPriority: return span(kNoLUTPriority);
    case ModelList::OnePowerOnCounter: return span(kOnePowerOnCounter);
    case ModelList::TwoPowerOnCounters: return span(kTwoPowerOnCounters);
    }
    return Span{nullptr, 0};
}

} // namespace

int modelListSize(ModelList list) { return listOf(list).size; }

quint32 modelListId(ModelList list, int i)
{
    const Span s = listOf(list);
    return i >= 0 && i < s.size ? s.ids[i] : 0;
}

bool isInModelList(ModelList list, quint32 modelId)
{
    const Span s = listOf(list);
    return std::find(s.ids, s.ids + s.size, modelId) != s.ids + s.size;
}

} // namespace pz
