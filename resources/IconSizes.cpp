// Renders the program's scalable icon into the PNG sizes of the hicolor
// icon theme: IconSizes SVG OUTDIR SIZE... writes OUTDIR/SIZExSIZE/apps/NAME.png.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: IconSizes SVG OUTDIR SIZE...\n");
        return 2;
    }
    const QString name = QFileInfo(args[1]).completeBaseName() + QStringLiteral(".png");
    for (const QString& size : args.mid(3)) {
        const int pixels = size.toInt();
        QImageReader reader(args[1]);
        reader.setScaledSize(QSize(pixels, pixels));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(pixels);
        if (image.isNull() || !QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + name)) {
            std::fprintf(stderr, "IconSizes: cannot render %s at %d: %s\n", qPrintable(args[1]),
                         pixels, qPrintable(reader.errorString()));
            return 1;
        }
    }
    return 0;
}
