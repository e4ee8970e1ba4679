#pragma once
// The application settings. One object, owned by the application controller
// and registered with pz::setApplicationPreferences; it reads the preferences
// file when constructed and writes it when destroyed, so settings are read once
// at start and written once at exit.

#include <QList>
#include <QPoint>
#include <QString>

class QDataStream;

class CPreferences {
public:
    enum : qint32 {
        kMagic = 0xFEAB,
        kVersion = 120,
        kOldestVersion = 119, // has no don't-show-again list
    };
    // Bound on the don't-show-again list read from a file.
    static constexpr qint64 kMaxDontShowAgainMessages = 4096;

    CPreferences();
    // Writes the file, and unregisters the object when it is the one
    // registered.
    ~CPreferences();
    // The destructor writes the file: a copy would write it a second time.
    CPreferences(const CPreferences &) = delete;
    CPreferences &operator=(const CPreferences &) = delete;

    // Every setting back to its default, the list emptied; returns 0.
    int InitPreferences();

    void SetRecalibrationPeriod(unsigned char v) { m_RecalibrationPeriod = v; }
    void SetPrimaryColorSource(unsigned char v) { m_PrimaryColorSource = v; }
    void SetICCAfterCalibration(bool v) { m_ICCAfterCalibration = v; }
    void SetAutoSaveICC(bool v) { m_AutoSaveICC = v; }
    // Takes a CTargetSensor::typeTargetSensor; only its low byte is stored.
    void SetSensorType(qint32 v) { m_SensorType = v; }
    void SetCalibrationSteps(unsigned char v) { m_CalibrationSteps = v; }
    void SetCheckCalibrationStatusOnLaunch(unsigned char v) { m_CheckCalibrationStatusOnLaunch = v; }
    void SetOSDLockLevel(unsigned char v) { m_OSDLockLevel = v; }
    void SetAverageLowLightMeasurements(unsigned char v) { m_AverageLowLightMeasurements = v; }
    void SetCalibrationPriority(unsigned char v) { m_CalibrationPriority = v; }
    void SetProfileStorageLocation(unsigned char v) { m_ProfileStorageLocation = v; }
    void SetAutoLoadMCSOnTargetChange(bool v) { m_AutoLoadMCSOnTargetChange = v; }
    void SetLuminanceUnits(unsigned char v) { m_LuminanceUnits = v; }
    void SetSetProfileAsDefault(bool v) { m_SetProfileAsDefault = v; }
    void SetUseAutoLuminanceIfAvailable(bool v) { m_UseAutoLuminanceIfAvailable = v; }
    void SetMainWindowPosition(QPoint v) { m_MainWindowPosition = v; }
    void SetInformationWindowPosition(QPoint v) { m_InformationWindowPosition = v; }
    void SetICCProfileLocation(QString v) { m_ICCProfileLocation = v; }

    void SetInformation_Show_Gamut_Colorspace_Type(unsigned char v) { m_Information_Show_Gamut_Colorspace_Type = v; }
    void SetInformation_Show_Gamut_ShowBlackbodyCurve(unsigned char v) { m_Information_Show_Gamut_ShowBlackbodyCurve = v; }
    void SetInformation_Show_Gamut_ShowDisplayGamut(unsigned char v) { m_Information_Show_Gamut_ShowDisplayGamut = v; }
    void SetInformation_Show_Gamut_ShowAdobeRGBGamut(unsigned char v) { m_Information_Show_Gamut_ShowAdobeRGBGamut = v; }
    void SetInformation_Show_Gamut_ShowsRGBGamut(unsigned char v) { m_Information_Show_Gamut_ShowsRGBGamut = v; }
    void SetInformation_Show_Gamut_ShowNTSCGamut(unsigned char v) { m_Information_Show_Gamut_ShowNTSCGamut = v; }
    void SetInformation_Show_Gamut_ShowSMPTECGamut(unsigned char v) { m_Information_Show_Gamut_ShowSMPTECGamut = v; }
    void SetInformation_Show_Gamut_ShowHDTVGamut(unsigned char v) { m_Information_Show_Gamut_ShowHDTVGamut = v; }
    void SetInformation_Show_Gamut_ShowDigitalCinemaGamut(unsigned char v) { m_Information_Show_Gamut_ShowDigitalCinemaGamut = v; }
    void SetInformation_Show_ColorTracking_IncludeDarkValues(unsigned char v) { m_Information_Show_ColorTracking_IncludeDarkValues = v; }
    void SetInformation_Show_ColorTracking_ShowAverage(unsigned char v) { m_Information_Show_ColorTracking_ShowAverage = v; }
    void SetInformation_Show_DICOM_GraphType(unsigned char v) { m_Information_Show_DICOM_GraphType = v; }
    void SetInformation_Show_DICOM_JNDperDDL_ShowAverage(unsigned char v) { m_Information_Show_DICOM_JNDperDDL_ShowAverage = v; }
    void SetInformation_Show_DICOM_JNDperDDL_ShowLinearFit(unsigned char v) { m_Information_Show_DICOM_JNDperDDL_ShowLinearFit = v; }
    void SetInformation_Show_DICOM_ContrastResponse_ShowBartenModel(unsigned char v) { m_Information_Show_DICOM_ContrastResponse_ShowBartenModel = v; }
    void SetInformation_Show_DICOM_ContrastResponse_ShowTenPercentLimits(unsigned char v) { m_Information_Show_DICOM_ContrastResponse_ShowTenPercentLimits = v; }
    void SetInformation_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits(unsigned char v) { m_Information_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits = v; }
    void SetInformation_Show_Curves_ShowTarget(unsigned char v) { m_Information_Show_Curves_ShowTarget = v; }
    void SetInformation_Show_Curves_ShowCalibrated(unsigned char v) { m_Information_Show_Curves_ShowCalibrated = v; }
    void SetInformation_Show_Curves_ShowUnCalibrated(unsigned char v) { m_Information_Show_Curves_ShowUnCalibrated = v; }
    void SetInformation_Show_Curves_ShowCorrection(unsigned char v) { m_Information_Show_Curves_ShowCorrection = v; }
    void SetInformation_Show_Curves_ShowCurveColor(unsigned char v) { m_Information_Show_Curves_ShowCurveColor = v; }
    void SetProfileSetDescriptionToFileName(unsigned char v) { m_ProfileSetDescriptionToFileName = v; }
    void SetInformation_Show_Gamut_Target_White_Point(unsigned char v) { m_Information_Show_Gamut_Target_White_Point = v; }
    void SetUseExtendedLuminanceStabilizationTime(unsigned char v) { m_UseExtendedLuminanceStabilizationTime = v; }
    void SetDelayGammaLoader(unsigned char v) { m_DelayGammaLoader = v; }
    void SetInformation_Show_Gamut_ShowTargetGamut(unsigned char v) { m_Information_Show_Gamut_ShowTargetGamut = v; }
    void SetUseColorSensorCorrection(bool v) { m_UseColorSensorCorrection = v; }

    // 0 (the user's folder) where the system keeps profiles per user,
    // otherwise the stored m_ProfileStorageLocation.
    unsigned char GetProfileStorageLocation() const;
    // The profile folder for GetProfileStorageLocation(), computed at every
    // call; m_ICCProfileLocation is stored but not used here.
    QString GetICCProfileLocation() const;

    bool IsDontShowAgainMessageSet(unsigned int id) const;
    // Appends id unless it is already in the list.
    void SetDontShowAgainMessageSet(unsigned int id);

    // The preferences folder + "/" + the preferences file name; empty when
    // the folder is unknown.
    QString GetPreferencesFileNameAndPath() const;

    // The record: 0, or -1502 (wrong magic), -1501 (version too old),
    // -1503 (stream failed). WriteFile returns 0 or -1504.
    int ReadFile(QDataStream &stream);
    int WriteFile(QDataStream &stream) const;

    // The file: ReadPreferencesData returns 0 or -1500..-1503 and falls back
    // to the defaults on any failure; a file that is there but does not read
    // is first moved to "<name>.bad". WritePreferencesData returns 0, -1500
    // (cannot open) or -1504 (not written; the old file stays intact).
    int ReadPreferencesData();
    int WritePreferencesData() const;
    // Where the last ReadPreferencesData kept a file that did not read;
    // empty when it read, was missing, or could not be kept aside. The
    // user is told, since every setting went back to its default.
    QString DamagedFileKeptAs() const { return m_DamagedFileKeptAs; }

    qint32 m_Version = kVersion;
    quint8 m_RecalibrationPeriod = 0;
    quint8 m_PrimaryColorSource = 0;
    bool m_ICCAfterCalibration = false;
    bool m_AutoSaveICC = false;
    qint32 m_SensorType = 0;
    quint8 m_CalibrationSteps = 0;
    quint8 m_CheckCalibrationStatusOnLaunch = 0;
    quint8 m_OSDLockLevel = 0;
    quint8 m_AverageLowLightMeasurements = 0;
    quint8 m_CalibrationPriority = 0;
    quint8 m_ProfileStorageLocation = 0;
    bool m_AutoLoadMCSOnTargetChange = false;
    quint8 m_LuminanceUnits = 0;
    bool m_SetProfileAsDefault = false;
    bool m_UseAutoLuminanceIfAvailable = false;
    QPoint m_MainWindowPosition;
    QPoint m_InformationWindowPosition;
    QString m_ICCProfileLocation;

    quint8 m_Information_Show_Gamut_Colorspace_Type = 0;
    quint8 m_Information_Show_Gamut_ShowBlackbodyCurve = 0;
    quint8 m_Information_Show_Gamut_ShowDisplayGamut = 0;
    quint8 m_Information_Show_Gamut_ShowAdobeRGBGamut = 0;
    quint8 m_Information_Show_Gamut_ShowsRGBGamut = 0;
    quint8 m_Information_Show_Gamut_ShowNTSCGamut = 0;
    quint8 m_Information_Show_Gamut_ShowSMPTECGamut = 0;
    quint8 m_Information_Show_Gamut_ShowHDTVGamut = 0;
    quint8 m_Information_Show_Gamut_ShowDigitalCinemaGamut = 0;
    quint8 m_Information_Show_ColorTracking_IncludeDarkValues = 0;
    quint8 m_Information_Show_ColorTracking_ShowAverage = 0;
    quint8 m_Information_Show_DICOM_GraphType = 0;
    quint8 m_Information_Show_DICOM_JNDperDDL_ShowAverage = 0;
    quint8 m_Information_Show_DICOM_JNDperDDL_ShowLinearFit = 0;
    quint8 m_Information_Show_DICOM_ContrastResponse_ShowBartenModel = 0;
    quint8 m_Information_Show_DICOM_ContrastResponse_ShowTenPercentLimits = 0;
    quint8 m_Information_Show_DICOM_ContrastResponse_ShowTwentyPercentLimits = 0;
    quint8 m_Information_Show_Curves_ShowTarget = 0;
    quint8 m_Information_Show_Curves_ShowCalibrated = 0;
    quint8 m_Information_Show_Curves_ShowUnCalibrated = 0;
    quint8 m_Information_Show_Curves_ShowCorrection = 0;
    quint8 m_Information_Show_Curves_ShowCurveColor = 0;
    quint8 m_ProfileSetDescriptionToFileName = 0;
    quint8 m_Information_Show_Gamut_Target_White_Point = 0;
    quint8 m_UseExtendedLuminanceStabilizationTime = 0;
    quint8 m_DelayGammaLoader = 0;
    quint8 m_Information_Show_Gamut_ShowTargetGamut = 0;
    quint8 m_UseColorSensorCorrection = 0;

    QList<unsigned int> m_DontShowAgainMessages;

private:
    QString m_DamagedFileKeptAs;
};
