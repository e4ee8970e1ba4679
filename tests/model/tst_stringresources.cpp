#include "StringResources.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QtTest>

namespace {

// Translates one key (context, source, disambiguation) and records every
// key it was asked for.
class KeyTranslator : public QTranslator {
public:
    QByteArray context, source, comment;
    QString translation;
    mutable QList<QByteArray> contexts;

    bool isEmpty() const override { return false; }
    QString translate(const char *ctx, const char *src, const char *disambiguation,
                      int) const override
    {
        contexts.append(ctx);
        if (context == ctx && source == src && comment == QByteArray(disambiguation))
            return translation;
        return QString();
    }
};

} // namespace

class TestStringResources : public QObject {
    Q_OBJECT
private slots:
    void texts_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("text");
        const QString missing = "Missing message text";
        QTest::newRow("0") << 0u << missing;
        QTest::newRow("6 (gap)") << 6u << missing;
        QTest::newRow("999 (gap)") << 999u << missing;
        QTest::newRow("5000") << 5000u << missing;
        QTest::newRow("1") << 1u << "Pelzora";
        QTest::newRow("10") << 10u << "/Calibration Settings/";
        QTest::newRow("12") << 12u << "com.orvane.pelzora.preferences.prefs";
        QTest::newRow("13") << 13u << "com.orvane.pelzora.config.prefs";
        QTest::newRow("15") << 15u << "Copyright (c) Orvane. All rights reserved.";
        QTest::newRow("100") << 100u << "Unknown Error #%1";
        QTest::newRow("115") << 115u << "The operation has been canceled.";
        QTest::newRow("127 ends in a line feed")
            << 127u << "Error: An error occurred while creating the display profile.\n";
        QTest::newRow("303 leading space") << 303u << " (Unsupported)";
        QTest::newRow("602") << 602u << "%1 is %2 days past calibration. Recalibration is recommended.<br>";
        QTest::newRow("603") << 603u << "%1 is %2 day past calibration. Recalibration is recommended.<br>";
        QTest::newRow("703 inner quotes")
            << 703u << "<font COLOR=\"#ff0000\">Taking Measurement...</font>";
        QTest::newRow("1009") << 1009u << "CRT Display";
        QTest::newRow("1010") << 1010u << missing;
    }
    void texts()
    {
        QFETCH(uint, id);
        QFETCH(QString, text);
        QCOMPARE(GetStringResource(id), text);
    }

    void translatedByContextTextAndComment_data()
    {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("comment");
        QTest::newRow("115") << 115u << QByteArray("The operation has been canceled.")
                             << QByteArray("STR_RES_ID_ERROR_OPERATION_CANCELED_BY_USER");
        QTest::newRow("125 free comment")
            << 125u << QByteArray("Error: Unable to calculate the display correction LUT.")
            << QByteArray("STR_RES_ID_ERROR_UNABLE_TO_CREATE_CORRECTION_CURVES (should never see)");
        QTest::newRow("603 shared comment")
            << 603u << QByteArray("%1 is %2 day past calibration. Recalibration is recommended.<br>")
            << QByteArray("STR_RES_ID_WARNING_DISPLAY_IS_PAST_CALIBRATION_DATE");
        QTest::newRow("missing") << 4242u << QByteArray("Missing message text")
                                 << QByteArray("default text should never see this");
    }
    void translatedByContextTextAndComment()
    {
        QFETCH(uint, id);
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, comment);
        KeyTranslator translator;
        translator.context = "QObject";
        translator.source = source;
        translator.comment = comment;
        translator.translation = QString::fromUtf8("訳");
        QCoreApplication::installTranslator(&translator);
        const QString text = GetStringResource(id);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(text, QString::fromUtf8("訳"));
    }

    void everyEntryIsTranslatedExceptFileNames()
    {
        KeyTranslator translator;
        QCoreApplication::installTranslator(&translator);
        for (uint id = 0; id <= 1010; ++id) {
            translator.contexts.clear();
            GetStringResource(id);
            if (id == 12 || id == 13 || id == 15)
                QVERIFY2(translator.contexts.isEmpty(), qPrintable(QString::number(id)));
            else
                QCOMPARE(translator.contexts, QList<QByteArray>{"QObject"});
        }
        QCoreApplication::removeTranslator(&translator);
    }
};

QTEST_GUILESS_MAIN(TestStringResources)
#include "tst_stringresources.moc"
