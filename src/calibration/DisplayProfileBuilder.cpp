#include "DisplayProfileBuilder.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <memory>

#include <lcms2.h>

namespace pz {

namespace {

constexpr cmsTagSignature kVcgtSignature = cmsTagSignature(0x76636774); // 'vcgt'
constexpr cmsTagSignature kMmodSignature = cmsTagSignature(0x6D6D6F64); // 'mmod'
constexpr quint32 kApple = 0x4150504C;   // 'APPL'
constexpr quint32 kCreator = 0x4F727664; // 'Orvd'
constexpr double kProfileVersion = 2.1;
constexpr cmsUInt64Number kDeviceAttributes = 1;

// Header fields Little CMS fills with its own values.
constexpr int kCmmOffset = 4;
constexpr int kDateOffset = 24;
constexpr int kPlatformOffset = 40;
constexpr int kCreatorOffset = 80;

constexpr int kScriptCodeFillerBytes = 67;

struct ProfileCloser {
    void operator()(void *h) const { cmsCloseProfile(h); }
};
struct CurveFreer {
    void operator()(cmsToneCurve *c) const { cmsFreeToneCurve(c); }
};
struct MluFreer {
    void operator()(cmsMLU *m) const { cmsMLUfree(m); }
};
using ProfilePtr = std::unique_ptr<void, ProfileCloser>;
using CurvePtr = std::unique_ptr<cmsToneCurve, CurveFreer>;
using MluPtr = std::unique_ptr<cmsMLU, MluFreer>;

// Every character outside 7-bit ASCII (and NUL) as '?': the ASCII fields of
// ICC text tags allow nothing else, and readers would show the bytes of
// another encoding as garbage.
QByteArray sevenBitAscii(const QString &text)
{
    QByteArray ascii;
    for (char32_t cp : text.toUcs4())
        ascii.append(cp > 0 && cp < 0x80 ? char(cp) : '?');
    return ascii;
}

cmsCIEXYZ toLcms(const CCIEXYZ &c) { return cmsCIEXYZ{c.X, c.Y, c.Z}; }

bool writeXYZ(cmsHPROFILE h, cmsTagSignature sig, const cmsCIEXYZ &value)
{
    return cmsWriteTag(h, sig, &value);
}

bool writeRaw(cmsHPROFILE h, cmsTagSignature sig, const QByteArray &bytes)
{
    return !bytes.isEmpty() && cmsWriteRawTag(h, sig, bytes.constData(), cmsUInt32Number(bytes.size()));
}

bool writeCopyright(cmsHPROFILE h, const QString &text)
{
    MluPtr mlu(cmsMLUalloc(nullptr, 1));
    return mlu && cmsMLUsetASCII(mlu.get(), "en", "US", sevenBitAscii(text).constData())
        && cmsWriteTag(h, cmsSigCopyrightTag, mlu.get());
}

// The white normalised to Y = 1 and adapted from itself to the D50 of the
// connection space.
bool writeWhitePoint(cmsHPROFILE h, const CCIEXYZ &white)
{
    const cmsCIEXYZ normalised{white.X / white.Y, 1.0, white.Z / white.Y};
    cmsCIEXYZ adapted;
    return cmsAdaptToIlluminant(&adapted, &normalised, cmsD50_XYZ(), &normalised)
        && writeXYZ(h, cmsSigMediaWhitePointTag, adapted);
}

} // namespace

double storedCurveGamma(double gamma)
{
    // Little CMS truncates a gamma to u8Fixed8 when it writes the 'curv';
    // a value that is already one is written as it is.
    constexpr double kSteps = 256.0;
    return std::clamp(std::round(gamma * kSteps), 1.0, 65535.0) / kSteps;
}

namespace {

CurvePtr toneCurve(const DisplayProfileContent &content, int channel)
{
    if (content.gamma > 0.0)
        return CurvePtr(cmsBuildGamma(nullptr, storedCurveGamma(content.gamma)));
    const QVector<double> &values = content.curves[channel];
    if (values.isEmpty())
        return nullptr;
    QVector<cmsUInt16Number> table;
    table.reserve(values.size());
    for (double v : values)
        table.append(curveEntry16(v));
    return CurvePtr(
        cmsBuildTabulatedToneCurve16(nullptr, cmsUInt32Number(table.size()), table.constData()));
}

bool writeToneCurves(cmsHPROFILE h, const DisplayProfileContent &content)
{
    const cmsTagSignature tags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    for (int c = 0; c < 3; ++c) {
        const CurvePtr curve = toneCurve(content, c);
        if (!curve || !cmsWriteTag(h, tags[c], curve.get()))
            return false;
    }
    return true;
}

void putBigEndian32(QByteArray &bytes, int offset, quint32 value)
{
    qToBigEndian<quint32>(value, bytes.data() + offset);
}

// Little CMS writes its own CMM, platform, creator and the current date.
void patchHeader(QByteArray &bytes, const QDateTime &created)
{
    putBigEndian32(bytes, kCmmOffset, kApple);
    putBigEndian32(bytes, kPlatformOffset, kApple);
    putBigEndian32(bytes, kCreatorOffset, kCreator);
    const QDate date = created.date();
    const QTime time = created.time();
    const int fields[6] = {date.year(), date.month(), date.day(),
                           time.hour(), time.minute(), time.second()};
    for (int i = 0; i < 6; ++i)
        qToBigEndian<quint16>(quint16(qMax(0, fields[i])), bytes.data() + kDateOffset + 2 * i);
}

} // namespace

quint16 curveEntry16(double value)
{
    if (!(value > 0.0)) // NaN too
        return 0;
    if (value >= 1.0)
        return 65535;
    return quint16(std::lround(value * 65535.0));
}

QByteArray textDescriptionElement(const QString &text)
{
    const QByteArray ascii = sevenBitAscii(text);
    QByteArray element;
    auto put32 = [&element](quint32 v) {
        char raw[4];
        qToBigEndian<quint32>(v, raw);
        element.append(raw, 4);
    };
    auto put16 = [&element](quint16 v) {
        char raw[2];
        qToBigEndian<quint16>(v, raw);
        element.append(raw, 2);
    };
    put32(cmsSigTextDescriptionType);
    put32(0);
    put32(quint32(ascii.size() + 1));
    element.append(ascii);
    element.append('\0');
    put32(0); // language code
    put32(quint32(text.size() + 1));
    for (QChar unit : text)
        put16(unit.unicode());
    put16(0);
    put16(0); // ScriptCode code
    element.append('\0'); // ScriptCode count
    element.append(QByteArray(kScriptCodeFillerBytes, '\0'));
    return element;
}

QByteArray buildDisplayProfile(const DisplayProfileContent &content)
{
    ProfilePtr profile(cmsCreateProfilePlaceholder(nullptr));
    cmsHPROFILE h = profile.get();
    if (!h)
        return QByteArray();
    cmsSetProfileVersion(h, kProfileVersion);
    cmsSetDeviceClass(h, cmsSigDisplayClass);
    cmsSetColorSpace(h, cmsSigRgbData);
    cmsSetPCS(h, cmsSigXYZData);
    cmsSetHeaderFlags(h, 0);
    cmsSetHeaderManufacturer(h, 0);
    cmsSetHeaderModel(h, 0);
    cmsSetHeaderAttributes(h, kDeviceAttributes);
    cmsSetHeaderRenderingIntent(h, INTENT_PERCEPTUAL);

    const bool tagsWritten =
        writeRaw(h, cmsSigProfileDescriptionTag, textDescriptionElement(content.description))
        && writeCopyright(h, content.copyright)
        && writeXYZ(h, cmsSigRedColorantTag, toLcms(content.red))
        && writeXYZ(h, cmsSigGreenColorantTag, toLcms(content.green))
        && writeXYZ(h, cmsSigBlueColorantTag, toLcms(content.blue))
        && cmsWriteTag(h, cmsSigChromaticAdaptationTag, content.adaptation)
        && writeWhitePoint(h, content.white)
        && writeXYZ(h, cmsSigLuminanceTag, cmsCIEXYZ{0.0, content.white.Y, 0.0})
        && writeToneCurves(h, content)
        && writeRaw(h, kVcgtSignature, content.vcgt)
        && writeRaw(h, kMmodSignature, content.mmod);
    if (!tagsWritten)
        return QByteArray();

    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(h, nullptr, &size) || size < 128)
        return QByteArray();
    QByteArray bytes(qsizetype(size), '\0');
    if (!cmsSaveProfileToMem(h, bytes.data(), &size) || qsizetype(size) != bytes.size())
        return QByteArray();
    patchHeader(bytes, content.created);
    return bytes;
}

} // namespace pz
