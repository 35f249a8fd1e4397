// Paints resources/download_menu.png, the picture of the postal service's
// download menu in the data preparation window (322 x 194 pixels). The two
// menu entries lie where the window's click areas are: the address data at
// (24, 88)-(153, 113) and the business-office data at (16, 120)-(169, 145).
//
// Build and run once:
//   g++ -std=c++20 -fPIC scripts/draw_download_menu.cpp $(pkg-config --cflags --libs Qt6Gui) \
//       -o /tmp/draw_download_menu && QT_QPA_PLATFORM=offscreen /tmp/draw_download_menu \
//       resources/download_menu.png

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("menu.png");

    QImage image(322, 194, QImage::Format_RGB32);
    image.fill(QColor(255, 255, 255));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    const QColor postRed(204, 0, 0);
    const QColor ink(51, 51, 51);
    const QColor link(0, 51, 153);
    QFont font(QStringLiteral("IPAGothic"));

    // Title band with the postal mark.
    p.fillRect(0, 0, 322, 30, postRed);
    p.setPen(QPen(Qt::white, 2));
    p.drawEllipse(QRectF(8, 5, 20, 20));
    p.drawLine(QPointF(12, 11), QPointF(24, 11));
    p.drawLine(QPointF(12, 15), QPointF(24, 15));
    p.drawLine(QPointF(18, 15), QPointF(18, 22));
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRect(36, 0, 280, 30), Qt::AlignVCenter,
               QStringLiteral("郵便番号データダウンロード"));

    font.setBold(false);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(ink);
    p.drawText(QRect(10, 36, 306, 16), Qt::AlignVCenter,
               QStringLiteral("ダウンロードするデータを選んでください。"));
    p.setPen(QPen(QColor(204, 204, 204), 1));
    p.drawLine(10, 58, 312, 58);

    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(QColor(102, 102, 102));
    p.drawText(QRect(10, 64, 306, 16), Qt::AlignVCenter, QStringLiteral("メニュー"));

    // The two entries, each a boxed button with a triangle bullet.
    struct Entry {
        QRect box;
        QString text;
    };
    const Entry entries[] = {
        {QRect(24, 88, 129, 25), QStringLiteral("住所の郵便番号")},
        {QRect(16, 120, 153, 25), QStringLiteral("事業所の個別郵便番号")},
    };
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    for (const Entry& e : entries) {
        p.setPen(QPen(QColor(170, 187, 221), 1));
        p.setBrush(QColor(238, 243, 252));
        p.drawRoundedRect(QRectF(e.box).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
        QPainterPath triangle;
        const QPointF c(e.box.left() + 9, e.box.center().y() + 0.5);
        triangle.moveTo(c + QPointF(-3, -4));
        triangle.lineTo(c + QPointF(3, 0));
        triangle.lineTo(c + QPointF(-3, 4));
        triangle.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(postRed);
        p.drawPath(triangle);
        p.setPen(link);
        p.drawText(e.box.adjusted(16, 0, 0, 0), Qt::AlignVCenter, e.text);
    }

    font.setBold(false);
    font.setPixelSize(10);
    p.setFont(font);
    p.setPen(QColor(102, 102, 102));
    p.drawText(QRect(180, 88, 136, 25), Qt::AlignVCenter, QStringLiteral("都道府県別・全国一括"));
    p.drawText(QRect(180, 120, 136, 25), Qt::AlignVCenter, QStringLiteral("大口事業所等"));
    p.setPen(QPen(QColor(204, 204, 204), 1));
    p.drawLine(10, 156, 312, 156);
    p.setPen(ink);
    p.drawText(QRect(10, 162, 306, 14), Qt::AlignVCenter,
               QStringLiteral("圧縮形式：LZH／ZIP　文字コード：シフトJIS"));
    p.drawText(QRect(10, 177, 306, 14), Qt::AlignVCenter,
               QStringLiteral("ダウンロードしたファイルは同じフォルダに保存します。"));
    p.end();
    return image.save(out) ? 0 : 1;
}
