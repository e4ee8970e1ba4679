#include "HidReportDescriptor.h"

#include <QMap>
#include <QVector>
#include <algorithm>

namespace pz {

namespace {

struct Globals {
    quint32 reportSize = 0;   // bits per field
    quint32 reportCount = 0;
    int reportId = 0;
};

constexpr int kMaxPushDepth = 32;
// Bits per report are capped so a hostile descriptor cannot overflow.
constexpr quint64 kBitCap = quint64(1) << 32;

// Adds size x count bits to a report's sum, saturating at the cap. Both
// factors come from the device as 32-bit values, so their product always
// fits 64 unsigned bits.
quint64 addFieldBits(quint64 sum, quint32 size, quint32 count)
{
    const quint64 bits = std::min(kBitCap, quint64(size) * quint64(count));
    return std::min(kBitCap, sum + bits);
}

enum Kind { Input = 0, Output = 1, Feature = 2 };

} // namespace

HidReportSizes hidReportSizes(const QByteArray &descriptor)
{
    HidReportSizes sizes;
    QMap<int, quint64> bits[3];   // per kind, per report id
    Globals globals;
    QVector<Globals> stack;

    const int length = descriptor.size();
    const auto byteAt = [&](int i) { return static_cast<quint8>(descriptor[i]); };
    int i = 0;
    while (i < length) {
        const quint8 prefix = byteAt(i);
        if (prefix == 0xFE) {   // long item: size, tag, data
            if (i + 2 >= length) {
                sizes.valid = false;
                break;
            }
            i += 3 + byteAt(i + 1);
            if (i > length)
                sizes.valid = false;
            continue;
        }
        static const int kDataSize[4] = {0, 1, 2, 4};
        const int dataSize = kDataSize[prefix & 3];
        if (i + 1 + dataSize > length) {
            sizes.valid = false;
            break;
        }
        quint32 value = 0;
        for (int b = 0; b < dataSize; ++b)
            value |= quint32(byteAt(i + 1 + b)) << (8 * b);
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        i += 1 + dataSize;

        if (type == 1) {   // global
            switch (tag) {
            case 7: globals.reportSize = value; break;
            case 8: globals.reportId = static_cast<int>(value & 0xFF); break;
            case 9: globals.reportCount = value; break;
            case 10:
                if (stack.size() >= kMaxPushDepth) {
                    sizes.valid = false;
                    return sizes;
                }
                stack.append(globals);
                break;
            case 11:
                if (stack.isEmpty()) {
                    sizes.valid = false;
                    return sizes;
                }
                globals = stack.takeLast();
                break;
            default: break;
            }
        } else if (type == 0) {   // main
            int kind = -1;
            if (tag == 8)
                kind = Input;
            else if (tag == 9)
                kind = Output;
            else if (tag == 11)
                kind = Feature;
            if (kind >= 0) {
                quint64 &sum = bits[kind][globals.reportId];
                sum = addFieldBits(sum, globals.reportSize, globals.reportCount);
            }
        }
    }

    int *targets[3] = {&sizes.maxInput, &sizes.maxOutput, &sizes.maxFeature};
    for (int kind = 0; kind < 3; ++kind) {
        for (auto it = bits[kind].cbegin(); it != bits[kind].cend(); ++it) {
            const quint64 bytes = (it.value() + 7) / 8 + (it.key() != 0 ? 1 : 0);
            *targets[kind] = std::max(*targets[kind],
                                      static_cast<int>(std::min<quint64>(bytes, 1 << 30)));
        }
    }
    return sizes;
}

} // namespace pz
