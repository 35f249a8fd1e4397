#pragma once

#include <QFrame>
#include <QImage>

namespace yubin {

// The preview surface: a sunken box showing an image that the barcode
// drawer paints on. The image keeps its size whatever the box's.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    PictureBox(QSize imageSize, QWidget* parent = nullptr);

    QImage& image() { return picture; }
    const QImage& image() const { return picture; }
    // Back to the empty background.
    void clear();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture;
};

} // namespace yubin
