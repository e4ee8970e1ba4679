// The Japanese catalogue: it holds every text the sources hand to the
// translation system and nothing else, each one finished; the compiled
// catalogue gives each translation with the source's placeholders, images,
// markup, line breaks, accelerators and key sequences; and the texts the
// program uses as names (folders, extensions, resource paths) stay as they
// are, so that stored targets and calibrations do not move with the language.

#include "Resources.h"
#include "StringResources.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message {
    QString context;
    QString source;
    QString comment;
    QString translation;
    QString type; // "" when finished
    QString key() const { return context + QChar(0) + source + QChar(0) + comment; }
    QString where() const
    {
        return context + QLatin1String(" | ") + QString(source).replace('\n', "\\n").left(70);
    }
};

QList<Message> readCatalogue(const QString &path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"message") {
            current = Message{context, {}, {}, {}, {}};
        } else if (name == u"source") {
            current.source = xml.readElementText();
        } else if (name == u"comment") {
            current.comment = xml.readElementText();
        } else if (name == u"translation") {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages << current;
        }
    }
    if (xml.hasError()) {
        qWarning() << path << xml.lineNumber() << xml.errorString();
        messages.clear();
    }
    return messages;
}

QSet<QString> keys(const QList<Message> &messages)
{
    QSet<QString> set;
    for (const Message &m : messages)
        set.insert(m.key());
    return set;
}

QStringList matches(const QString &text, const QRegularExpression &re)
{
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// Tag names in order of appearance, closing ones with a leading '/'.
QStringList tagNames(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("<(/?[a-zA-Z][a-zA-Z0-9]*)[^>]*>"));
    QStringList names;
    for (const QString &n : matches(text, tag))
        names << n.toLower();
    return names;
}

// Open tags left open or closed out of order; void elements do not count.
bool balanced(const QStringList &tags)
{
    static const QStringList voids{"br", "img", "hr"};
    QStringList open;
    for (const QString &t : tags) {
        if (voids.contains(t))
            continue;
        if (!t.startsWith('/'))
            open << t;
        else if (!open.isEmpty() && open.last() == t.mid(1))
            open.removeLast();
        else
            return false;
    }
    return open.isEmpty();
}

bool hasAccelerator(const QString &text)
{
    static const QRegularExpression accel(QStringLiteral("&(?!&|[a-z]+;|#)\\w"));
    return text.contains(accel);
}

// What one translation breaks of its source; empty when nothing.
QStringList faults(const QString &source, const QString &translation)
{
    static const QRegularExpression placeholder(QStringLiteral("(%\\d+)"));
    static const QRegularExpression imgSrc(QStringLiteral("<img\\s+src\\s*=\\s*\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression keySequence(
        QStringLiteral("^((Ctrl|Shift|Alt|Meta)\\+)+\\S+$|^[\\[\\]]$"));
    QStringList found;
    if (translation.trimmed().isEmpty())
        return {QStringLiteral("empty")};
    const QStringList sourcePlaceholders = matches(source, placeholder);
    const QStringList translatedPlaceholders = matches(translation, placeholder);
    if (QSet<QString>(sourcePlaceholders.begin(), sourcePlaceholders.end())
        != QSet<QString>(translatedPlaceholders.begin(), translatedPlaceholders.end()))
        found << QStringLiteral("placeholders");
    if (matches(source, imgSrc) != matches(translation, imgSrc))
        found << QStringLiteral("img src");
    const QStringList sourceTags = tagNames(source);
    const QStringList translatedTags = tagNames(translation);
    if (sorted(sourceTags) != sorted(translatedTags))
        found << QStringLiteral("tags");
    if (balanced(sourceTags) && !balanced(translatedTags))
        found << QStringLiteral("unbalanced tags");
    for (const char *token : {"\r\n", "\n", "&nbsp;", "<br>", "Ctrl+C"}) {
        const QString t = QString::fromLatin1(token);
        if (source.count(t) != translation.count(t))
            found << QStringLiteral("count of ") + QString(t).replace('\n', "\\n").replace('\r', "\\r");
    }
    if (hasAccelerator(source) && !hasAccelerator(translation))
        found << QStringLiteral("accelerator");
    if (source.contains(keySequence) && translation != source)
        found << QStringLiteral("key sequence");
    // A resource path passed through translation names an image that exists.
    if (source.startsWith(QLatin1String(":/")) && translation != source && !QFile::exists(translation))
        found << QStringLiteral("resource path");
    return found;
}

const char kCatalogue[] = ":/translations/Resources/pelzora_ja.qm";

// String table entries the program uses as names: the application and
// company folders, the extensions, the two folder names and the splash logo.
const unsigned kNames[] = {1, 3, 7, 9, 10, 11, 14, 17};
const unsigned kCopyright = 15;
const unsigned kTargetFilter = 2;

} // namespace

class TestJapaneseCatalogue : public QObject {
    Q_OBJECT

    QList<Message> m_committed;

private slots:
    void initTestCase()
    {
        pz::initResources();
        m_committed = readCatalogue(QStringLiteral(PZ_TS_FILE));
        QVERIFY2(m_committed.size() > 500, "the committed catalogue did not read");
    }

    // lupdate over src/ finds exactly the committed messages: a new text
    // that nobody translated, or one that left the code, fails here.
    void holdsEveryTextOfTheSources()
    {
        QTemporaryDir dir;
        const QString fresh = dir.filePath(QStringLiteral("fresh_ja.ts"));
        QProcess lupdate;
        lupdate.start(QStringLiteral(PZ_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                       QStringLiteral(PZ_SOURCE_DIR), QStringLiteral("-ts"), fresh});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        const QList<Message> found = readCatalogue(fresh);
        QVERIFY(!found.isEmpty());

        const QSet<QString> inSources = keys(found);
        QStringList missing, vanished;
        for (const Message &m : found)
            if (!keys(m_committed).contains(m.key()))
                missing << m.where();
        for (const Message &m : m_committed)
            if (!inSources.contains(m.key()))
                vanished << m.where();
        QVERIFY2(missing.isEmpty(), qPrintable("not in the catalogue (run the pz_resources_lupdate "
                                               "target and translate):\n" + missing.join('\n')));
        QVERIFY2(vanished.isEmpty(), qPrintable("no longer in the sources:\n" + vanished.join('\n')));
        QCOMPARE(m_committed.size(), inSources.size());
    }

    void everyMessageIsFinished()
    {
        QStringList open;
        for (const Message &m : m_committed)
            if (!m.type.isEmpty() || m.translation.isEmpty())
                open << m.where();
        QVERIFY2(open.isEmpty(), qPrintable("unfinished:\n" + open.join('\n')));
    }

    // The compiled catalogue, as the program loads it, for every message.
    void compiledTranslationsKeepTheSourceForm()
    {
        QTranslator translator;
        QVERIFY(translator.load(QString::fromLatin1(kCatalogue)));
        QStringList broken;
        for (const Message &m : m_committed) {
            const QByteArray comment = m.comment.toUtf8();
            const QString t = translator.translate(m.context.toUtf8().constData(), m.source.toUtf8().constData(),
                                                   m.comment.isEmpty() ? nullptr : comment.constData());
            QStringList f = faults(m.source, t);
            if (t != m.translation)
                f << QStringLiteral("compiled text differs from the .ts");
            if (!f.isEmpty())
                broken << m.where() + QLatin1String(": ") + f.join(QLatin1String(", "));
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join('\n')));
    }

    // The checker itself: each kind of fault is caught.
    void faultsAreCaught_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("translation");
        QTest::addColumn<QString>("fault");
        QTest::newRow("placeholder lost") << "Error %1: %2" << "エラー %1" << "placeholders";
        QTest::newRow("img src changed") << "<img src=\":/a b.png\">x" << "<img src=\":/a_b.png\">x"
                                         << "img src";
        QTest::newRow("tag dropped") << "<b>%1</b> is" << "%1 は" << "tags";
        QTest::newRow("tags crossed") << "<b><u>x</u></b>" << "<b><u>x</b></u>" << "unbalanced tags";
        QTest::newRow("line feed lost") << "a\nb" << "ab" << "count of \\n";
        QTest::newRow("CR LF lost") << "a\r\nb" << "a\nb" << "count of \\r\\n";
        QTest::newRow("nbsp lost") << "a&nbsp;b" << "a b" << "count of &nbsp;";
        QTest::newRow("br lost") << "a<br>b" << "ab" << "tags";
        QTest::newRow("accelerator lost") << "&File" << "ファイル" << "accelerator";
        QTest::newRow("key sequence translated") << "Ctrl+M" << "Ctrl+エム" << "key sequence";
        QTest::newRow("Ctrl+C lost") << "Copy (Ctrl+C)" << "コピー" << "count of Ctrl+C";
        QTest::newRow("resource path moved") << ":/images/Resources/it8-6.png"
                                             << ":/images/Resources/none.png" << "resource path";
        QTest::newRow("empty") << "Done" << " " << "empty";
    }
    void faultsAreCaught()
    {
        QFETCH(QString, source);
        QFETCH(QString, translation);
        QFETCH(QString, fault);
        QVERIFY2(faults(source, translation).contains(fault), qPrintable(faults(source, translation).join(',')));
        QVERIFY(faults(source, source).isEmpty());
    }
    void acceptedForms()
    {
        QVERIFY(faults("&File", QString::fromUtf8("ファイル(&F)")).isEmpty());
        QVERIFY(faults("%1 of %2", "%2 / %1").isEmpty());
        QVERIFY(faults(":/images/Resources/it8-6.png", ":/images/Resources/splashpz.png").isEmpty());
    }

    // Names the program stores things under are the same in both languages.
    void namesStayAsTheyAre()
    {
        QStringList english;
        for (unsigned id : kNames)
            english << GetStringResource(id);
        const QString filter = GetStringResource(kTargetFilter);
        const QString missing = GetStringResource(0);
        const QString copyright = GetStringResource(kCopyright);

        QTranslator translator;
        QVERIFY(translator.load(QString::fromLatin1(kCatalogue)));
        QVERIFY(QCoreApplication::installTranslator(&translator));
        QStringList japanese;
        for (unsigned id : kNames)
            japanese << GetStringResource(id);
        const QString japaneseFilter = GetStringResource(kTargetFilter);
        const QString japaneseCopyright = GetStringResource(kCopyright);
        const QString japaneseMissing = GetStringResource(0);
        QCoreApplication::removeTranslator(&translator);

        QCOMPARE(japanese, english);
        QCOMPARE(english[1], QStringLiteral(".tgt"));
        QVERIFY(QFile::exists(english[6])); // the splash logo
        QVERIFY(japaneseFilter != filter);
        QVERIFY(japaneseFilter.contains(QLatin1String("(*.tgt)")));
        // The profile's copyright line goes into an ASCII tag.
        if (copyright != missing)
            QCOMPARE(japaneseCopyright, copyright);
        QVERIFY(japaneseMissing != missing);
    }

    // Every resource path that goes through translation names an existing
    // image in both languages.
    void resourcePathsExist()
    {
        int paths = 0;
        for (const Message &m : m_committed) {
            if (!m.source.startsWith(QLatin1String(":/")))
                continue;
            ++paths;
            QVERIFY2(QFile::exists(m.source), qPrintable(m.source));
            QVERIFY2(QFile::exists(m.translation), qPrintable(m.translation));
        }
        QVERIFY(paths >= 3); // the splash and about logos and the IT8 chart
    }

    // Texts kept untranslated on purpose never reach the catalogue.
    void untranslatedTextsStayOut()
    {
        const QStringList outside{
            GetStringResource(12),
            GetStringResource(13),
            "Standard Color Gamut CCFL backlight LCD",
            "Wide Color Gamut CCFL backlight LCD",
            "Wide Color Gamut RGB LED backlight LCD",
            "Standard Color Gamut White LED backlight LCD",
            "CRT",
            "The calibration sensor is now ready to take measurements.",
        };
        for (const Message &m : m_committed)
            QVERIFY2(!outside.contains(m.source), qPrintable(m.where()));
    }
};

QTEST_GUILESS_MAIN(TestJapaneseCatalogue)
#include "tst_japanese_catalogue.moc"
