// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the plug-in's artwork into the folder given on the command line.
#include "Chime.h"
#include "Painting.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

namespace {

bool save(const QImage &image, const QString &path)
{
    if (image.isNull() || !image.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

// A contact sheet of everything, magnified without smoothing, for judging the pixels.
QImage previewSheet(int toolbarSize)
{
    QList<QImage> rows;
    rows << Artwork::strip(Artwork::treeTiles()) << Artwork::strip(Artwork::statusTiles());
    QList<QImage> toolbar;
    for (const Artwork::ToolbarIcon &icon : Artwork::toolbarIcons(toolbarSize))
        toolbar << icon.image << Artwork::disabledVariant(icon.image);
    rows << Artwork::strip(toolbar);
    const int zoom = 4;
    int width = 0, height = 0;
    for (const QImage &row : rows) {
        width = qMax(width, row.width() * zoom);
        height += row.height() * zoom + 8;
    }
    QImage sheet(width * 2 + 8, height, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.fillRect(width + 8, 0, width, height, QColor(0x30, 0x30, 0x30));
    int y = 0;
    for (const QImage &row : rows) {
        const QImage big = row.scaled(row.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        p.drawImage(0, y, big);
        p.drawImage(width + 8, y, big);
        y += big.height() + 8;
    }
    return sheet;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the SMS plug-in's icons and alert sound."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("output folder"));
    QCommandLineOption sizeOption(QStringLiteral("toolbar-size"),
                                  QStringLiteral("Toolbar icon size in pixels."), QStringLiteral("px"),
                                  QStringLiteral("24"));
    parser.addOption(sizeOption);
    QCommandLineOption previewOption(QStringLiteral("preview"),
                                     QStringLiteral("Also write a magnified contact sheet."),
                                     QStringLiteral("file"));
    parser.addOption(previewOption);
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QDir out(parser.positionalArguments().first());
    if (!out.exists() && !QDir().mkpath(out.path())) {
        QTextStream(stderr) << "cannot create " << out.path() << '\n';
        return 1;
    }
    bool ok = save(Artwork::strip(Artwork::treeTiles()), out.filePath(QStringLiteral("sms_tree_Images.png")));
    ok = save(Artwork::strip(Artwork::statusTiles()), out.filePath(QStringLiteral("sms_status.png"))) && ok;
    const int size = parser.value(sizeOption).toInt();
    for (const Artwork::ToolbarIcon &icon : Artwork::toolbarIcons(size > 0 ? size : 24)) {
        ok = save(icon.image, out.filePath(icon.baseName + QStringLiteral(".png"))) && ok;
        ok = save(Artwork::disabledVariant(icon.image),
                  out.filePath(icon.baseName + QStringLiteral("_disabled.png"))) && ok;
    }
    if (parser.isSet(previewOption))
        ok = save(previewSheet(size > 0 ? size : 24), parser.value(previewOption)) && ok;
    QFile wav(out.filePath(QStringLiteral("SMSVoice.wav")));
    if (!wav.open(QIODevice::WriteOnly) || wav.write(Artwork::chimeWav()) < 0) {
        QTextStream(stderr) << "cannot write " << wav.fileName() << '\n';
        ok = false;
    }
    return ok ? 0 : 1;
}
