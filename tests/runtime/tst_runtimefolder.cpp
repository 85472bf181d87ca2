// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in's run-time folder as the build leaves it: artwork, sound and configuration.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

namespace {

QString runtimeFile(const QString &name)
{
    return QDir(QStringLiteral(DIALCREST_RUNTIME_OUTPUT_DIR)).filePath(name);
}

// Pixels whose colour or opacity differ clearly; small anti-aliasing noise does not count.
int differingPixels(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int count = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            const int d = qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q))
                + qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
            if (d > 96)
                ++count;
        }
    }
    return count;
}

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int row = 0; row < image.height(); ++row)
        for (int col = 0; col < image.width(); ++col)
            count += qAlpha(image.pixel(col, row)) > 128 ? 1 : 0;
    return count;
}

// Two pictograms at 16x16 must differ in at least this many of their 256 pixels to be told
// apart at a glance.
constexpr int kDistinctPixels = 20;

void verifyPairwiseDistinct(const QList<QImage> &images, const QStringList &names)
{
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            QVERIFY2(differingPixels(images.at(i), images.at(j)) >= kDistinctPixels,
                     qPrintable(names.at(i) + QLatin1String(" looks like ") + names.at(j)));
}

struct ToolbarEntry
{
    int id = 0;
    QString tooltip, enabled, disabled;
};

QList<ToolbarEntry> readToolbar()
{
    QFile file(runtimeFile(QStringLiteral("SMSUIPluginConfig.xml")));
    QList<ToolbarEntry> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("item"))
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        entries.append({a.value(QLatin1String("id")).toInt(), a.value(QLatin1String("tooltip")).toString(),
                        a.value(QLatin1String("enabled")).toString(),
                        a.value(QLatin1String("disabled")).toString()});
    }
    return entries;
}

} // namespace

class RuntimeFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void imageStrip_data();
    void imageStrip();
    void toolbarIcons();
    void alertSound();
    void configurationValues_data();
    void configurationValues();
    void configurationLists();
    void buildCopiesEveryFile();
};

void RuntimeFolderTest::imageStrip_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("tiles");
    QTest::newRow("tree") << QStringLiteral("sms_tree_Images.png") << 9;
    QTest::newRow("table") << QStringLiteral("sms_status.png") << 6;
}

void RuntimeFolderTest::imageStrip()
{
    QFETCH(QString, file);
    QFETCH(int, tiles);
    const QImage strip(runtimeFile(file));
    QVERIFY2(!strip.isNull(), qPrintable(file));
    QCOMPARE(strip.size(), QSize(16 * tiles, 16));
    QVERIFY(strip.hasAlphaChannel());

    QList<QImage> cells;
    QStringList names;
    for (int i = 0; i < tiles; ++i) {
        cells << strip.copy(16 * i, 0, 16, 16);
        names << QStringLiteral("tile %1").arg(i);
        QVERIFY2(opaquePixels(cells.last()) >= 40, qPrintable(names.last() + QLatin1String(" is nearly empty")));
    }
    verifyPairwiseDistinct(cells, names);
}

void RuntimeFolderTest::toolbarIcons()
{
    const QList<ToolbarEntry> entries = readToolbar();
    QVERIFY(!entries.isEmpty());
    QList<QImage> small;
    QStringList names;
    QSize size;
    for (const ToolbarEntry &e : entries) {
        const QImage enabled(runtimeFile(e.enabled));
        const QImage disabled(runtimeFile(e.disabled));
        QVERIFY2(!enabled.isNull() && !disabled.isNull(), qPrintable(e.tooltip));
        if (!size.isValid())
            size = enabled.size();
        QCOMPARE(enabled.size(), size);
        QCOMPARE(disabled.size(), size);
        QCOMPARE(size.width(), size.height());
        QVERIFY2(differingPixels(enabled, disabled) > 0, qPrintable(e.tooltip));
        small << enabled.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        names << e.enabled;
    }
    verifyPairwiseDistinct(small, names);
}

void RuntimeFolderTest::alertSound()
{
    QFile file(runtimeFile(QStringLiteral("SMSVoice.wav")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    QVERIFY(wav.size() > 44);
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };

    QCOMPARE(wav.mid(0, 4), QByteArray("RIFF"));
    QCOMPARE(u32(4), quint32(wav.size() - 8));
    QCOMPARE(wav.mid(8, 4), QByteArray("WAVE"));
    QCOMPARE(wav.mid(12, 4), QByteArray("fmt "));
    QCOMPARE(u32(16), 16u);
    QCOMPARE(u16(20), quint16(1));  // PCM
    QCOMPARE(u16(22), quint16(1));  // mono
    const quint32 rate = u32(24);
    QVERIFY(rate >= 8000 && rate <= 48000);
    QCOMPARE(u32(28), rate * 2);
    QCOMPARE(u16(32), quint16(2));
    QCOMPARE(u16(34), quint16(16));
    QCOMPARE(wav.mid(36, 4), QByteArray("data"));
    const quint32 bytes = u32(40);
    QCOMPARE(int(bytes), wav.size() - 44);

    const double seconds = double(bytes) / (rate * 2);
    QVERIFY2(seconds > 0.2 && seconds < 1.0, qPrintable(QString::number(seconds)));
    int peak = 0;
    for (quint32 i = 0; i < bytes; i += 2)
        peak = qMax(peak, qAbs(int(qFromLittleEndian<qint16>(wav.constData() + 44 + i))));
    QVERIFY2(peak > 8000, "audible");
    QVERIFY2(peak < 32767, "not clipped");
    const qint16 last = qFromLittleEndian<qint16>(wav.constData() + wav.size() - 2);
    QVERIFY2(qAbs(last) < 200, "fades out instead of ending with a click");
}

void RuntimeFolderTest::configurationValues_data()
{
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("expected");
    const char *onByDefault[] = {"ShowSMCount", "SentItemsBox", "Local2Device", "SMSExportSelect",
                                 "SMSExportAll", "SMSCenterValid", "SMSCenterSeting", "SMSReceiveMode",
                                 "Separator"};
    for (const char *name : onByDefault)
        QTest::newRow(name) << QString::fromLatin1(name) << QStringLiteral("true");
    QTest::newRow("HidePrioritySetting") << QStringLiteral("HidePrioritySetting") << QStringLiteral("false");
}

void RuntimeFolderTest::configurationValues()
{
    QFETCH(QString, element);
    QFETCH(QString, expected);
    QFile file(runtimeFile(QStringLiteral("SMSUIPluginConfig.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList values;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == element)
            values << xml.readElementText().trimmed();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(values, QStringList{expected});
}

void RuntimeFolderTest::configurationLists()
{
    QFile file(runtimeFile(QStringLiteral("SMSUIPluginConfig.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    int declaredPeriods = -1;
    QStringList periods;
    QString numberLimit;
    bool inValidity = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("ValidityPeriod"))
            inValidity = false;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("ValidityPeriod")) {
            inValidity = true;
            declaredPeriods = a.value(QLatin1String("count")).toInt();
        } else if (inValidity && !a.value(QLatin1String("resource")).isEmpty()) {
            periods << a.value(QLatin1String("resource")).toString();
        } else if (xml.name() == QLatin1String("NumberLimit")) {
            numberLimit = a.value(QLatin1String("name")).toString();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(declaredPeriods, 4);
    QCOMPARE(periods.size(), 4);
    QCOMPARE(QSet<QString>(periods.cbegin(), periods.cend()).size(), 4);
    QVERIFY(!numberLimit.isEmpty());
    QVERIFY(numberLimit.contains(QLatin1Char('0')) && numberLimit.contains(QLatin1Char('+')));

    QMap<int, int> ids;
    int searchItems = 0;
    for (const ToolbarEntry &e : readToolbar()) {
        ++ids[e.id];
        QVERIFY2(!e.tooltip.isEmpty(), "an item without tooltip is never shown");
        searchItems += e.tooltip == QLatin1String("IDS_TIP_SEARCH") ? 1 : 0;
    }
    for (int id = 9000; id <= 9005; ++id)
        QCOMPARE(ids.value(id), 1);
    QCOMPARE(searchItems, 1);
}

void RuntimeFolderTest::buildCopiesEveryFile()
{
    const QDir source(QStringLiteral(DIALCREST_RUNTIME_SOURCE_DIR));
    const QStringList files = source.entryList(QDir::Files);
    QVERIFY(files.contains(QStringLiteral("SMSUIPluginConfig.xml")));
    for (const QString &name : files) {
        if (name == QLatin1String("CMakeLists.txt"))
            continue;
        QFile original(source.filePath(name));
        QFile copy(runtimeFile(name));
        QVERIFY2(copy.open(QIODevice::ReadOnly), qPrintable(name));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QVERIFY2(copy.readAll() == original.readAll(), qPrintable(name + QLatin1String(" is stale")));
    }
}

QTEST_GUILESS_MAIN(RuntimeFolderTest)
#include "tst_runtimefolder.moc"
