#include "StandardTargets.h"
#include "TestSupport.h"

#include <QtTest>

class TestStandardTargets : public QObject {
    Q_OBJECT
private slots:
    void presets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("white");
        QTest::addColumn<QString>("intensity");
        QTest::addColumn<QString>("curve");
        QTest::addColumn<int>("gamut");
        QTest::addColumn<double>("auxValue");
        QTest::newRow("1") << 0 << "Digital Cinema" << "x=0.314 y=0.351" << "48.0" << "2.60" << 5 << 0.0;
        QTest::newRow("2") << 1 << "Broadcast Video" << "D65" << "Maximum" << "2.20" << 4 << 0.0;
        QTest::newRow("3") << 2 << "Photo Editing" << "D65" << "140.0" << "2.20" << 0 << 0.0;
        QTest::newRow("4") << 3 << "Print Standard" << "D50" << "80.0" << "1.80" << 0 << 0.3;
        QTest::newRow("5") << 4 << "DICOM Clear" << "x=0.292 y=0.321" << "Maximum" << "DICOM" << 0 << 0.3;
        QTest::newRow("6") << 5 << "DICOM Blue" << "x=0.265 y=0.320" << "Maximum" << "DICOM" << 0 << 0.3;
        QTest::newRow("7") << 6 << "DICOM Clear (2009)" << "x=0.299 y=0.315" << "Maximum" << "DICOM" << 0 << 0.3;
        QTest::newRow("8") << 7 << "DICOM Blue (2009)" << "x=0.280 y=0.304" << "Maximum" << "DICOM" << 0 << 0.3;
        QTest::newRow("9") << 8 << "sRGB Emulation" << "D65" << "Maximum" << "2.20" << 1 << 0.0;
    }
    void presets()
    {
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(QString, white);
        QFETCH(QString, intensity);
        QFETCH(QString, curve);
        QFETCH(int, gamut);
        QFETCH(double, auxValue);
        const QVector<CTargetValue> targets = pz::standardTargets();
        QCOMPARE(targets.size(), 9);
        const CTargetValue &t = targets[index];
        QCOMPARE(t.m_Name, name);
        QCOMPARE(t.GetWhitePointString(), white);
        QCOMPARE(t.GetTargetIntensityString(false), intensity);
        QCOMPARE(t.GetGammaCurveString(false), curve);
        QCOMPARE(int(t.m_ColorGamutType), gamut);
        QCOMPARE(t.m_AuxValue, auxValue);
        QCOMPARE(t.m_ContrastRatio, 0);
        QVERIFY(!t.m_WhitePoint.m_KelvinForm);
        QVERIFY(t.IsValidValue());

        CTargetValue back;
        QCOMPARE(pz::test::readRecordBytes(
                     pz::test::recordBytes([&](QDataStream &s) { s << t; }),
                     [&](QDataStream &s) { s >> back; }),
                 QDataStream::Ok);
        QVERIFY(back == t);
        QCOMPARE(back.m_Name, name);
    }

    void photoEditingIsTheStartingTarget()
    {
        QCOMPARE(pz::standardTargets()[pz::kPhotoEditingPreset].m_Name,
                 QStringLiteral("Photo Editing"));
    }

    // The maximum-luminance presets still carry their stored level.
    void storedLevels()
    {
        const QVector<CTargetValue> targets = pz::standardTargets();
        QCOMPARE(targets[1].m_Intensity, 100.0);
        QCOMPARE(targets[8].m_Intensity, 140.0);
        QCOMPARE(targets[4].m_Gamma, 1.8);
    }
};

QTEST_GUILESS_MAIN(TestStandardTargets)
#include "tst_standardtargets.moc"
