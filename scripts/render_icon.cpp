// Renders the program's SVG icon as the PNG sizes a desktop's icon theme
// looks for first: FOLDER/NxN/apps/NAME.png for each size N given.
//
//   yubin-render-icon icon.svg FOLDER NAME 16 32 48 ...

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc < 5) {
        std::fputs("usage: yubin-render-icon ICON.svg FOLDER NAME SIZE...\n", stderr);
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "yubin-render-icon: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "yubin-render-icon: not a size: %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString apps = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(apps) || !image.save(apps + u'/' + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "yubin-render-icon: cannot write into %s\n", qPrintable(apps));
            return 1;
        }
    }
    return 0;
}
