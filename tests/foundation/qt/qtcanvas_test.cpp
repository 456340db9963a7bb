// The QPainter canvases: text placed by its top, measured on the target
// device, fonts accepted by family, drawing through handles.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "foundation/btkcolor.h"
#include "foundation/qt/btkqtcanvas.h"
#include "foundation/qt/btkqtfont.h"

namespace {

QFont dejaVu(int points) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPointSize(points);
    return f;
}

// The bounding box of the pixels that differ from white, or an empty
// rectangle when there are none.
QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
}

QImage whiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(QtCanvas, TextInksOnlyInsideItsMeasuredBox) {
    for (int points : {9, 14, 30}) {
        QImage image = whiteImage(800, 200);
        int width = 0, height = 0;
        const int x = 37, y = 41;
        {
            QPainter painter(&image);
            btkVCLCanvas canvas(&painter);
            btkVCLFont font(dejaVu(points), colorMake(200, 0, 0));
            canvas.setFont(&font);
            // Lower-case accents and descenders; DejaVu's accented capitals
            // reach a pixel above the font's own ascent, whatever draws them.
            const btkstring text = "Alf žluťoučký kůň úpěl ďábelské ódy gjpq";
            width = canvas.textWidth(text);
            height = canvas.textHeight(text);
            canvas.text(x, y, text);
        }
        const QRect ink = inkBox(image);
        ASSERT_FALSE(ink.isEmpty()) << points << " pt";
        EXPECT_GE(ink.left(), x) << points << " pt";
        EXPECT_GE(ink.top(), y) << points << " pt";
        EXPECT_LT(ink.right(), x + width) << points << " pt";
        EXPECT_LT(ink.bottom(), y + height) << points << " pt";
        // The text fills its box: not drawn at the baseline or elsewhere.
        EXPECT_LT(ink.top(), y + height / 3) << points << " pt";
        EXPECT_GT(ink.right(), x + width * 3 / 4) << points << " pt";
    }
}

TEST(QtCanvas, ScreenFontColourColoursTextButNotLines) {
    QImage image = whiteImage(200, 60);
    {
        QPainter painter(&image);
        btkVCLCanvas canvas(&painter);
        btkVCLFont font(dejaVu(20), colorMake(0, 0, 255));
        canvas.setFont(&font);
        canvas.text(0, 0, "III");
        canvas.line(0, 50, 199, 50);
    }
    EXPECT_EQ(image.pixel(100, 50), qRgb(0, 0, 0));
    bool blueText = false;
    for (int y = 0; y < 40 && !blueText; ++y)
        for (int x = 0; x < 60; ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 255)) blueText = true;
    EXPECT_TRUE(blueText);
}

TEST(QtCanvas, EachCanvasTakesOnlyItsOwnFontFamily) {
    QImage image = whiteImage(100, 100);
    QPainter painter(&image);
    btkVCLCanvas screen(&painter);
    btkDCCanvas device(&painter);
    btkVCLFont small(dejaVu(8));
    btkVCLFont big(dejaVu(40));
    QFont bigPixels = dejaVu(8);
    bigPixels.setPixelSize(60);
    btkDCFont deviceBig(bigPixels);

    screen.setFont(&small);
    device.setFont(&small);  // ignored: not a device font
    const int smallHeight = screen.textHeight("A");
    EXPECT_EQ(device.textHeight("A"), QFontMetrics(device.currentFont(), &image).height());

    screen.setFont(&deviceBig);  // ignored: not a screen font
    EXPECT_EQ(screen.textHeight("A"), smallHeight);
    screen.setFont(&big);
    EXPECT_GT(screen.textHeight("A"), 3 * smallHeight);

    device.setFont(&deviceBig);
    EXPECT_EQ(device.textHeight("A"), QFontMetrics(bigPixels, &image).height());
    EXPECT_EQ(device.textWidth("Žluť"), QFontMetrics(bigPixels, &image).horizontalAdvance(QString::fromUtf8(u8"Žluť")));
    EXPECT_EQ(device.textWidth(""), 0);
}

TEST(QtCanvas, FontsCloneAndResize) {
    btkVCLFont screen(dejaVu(12), colorMake(1, 2, 3));
    std::unique_ptr<btkFont> copy(screen.clone());
    auto* screenCopy = dynamic_cast<btkVCLFont*>(copy.get());
    ASSERT_NE(screenCopy, nullptr);
    EXPECT_EQ(screenCopy->size(), 12);
    EXPECT_EQ(screenCopy->color, colorMake(1, 2, 3));
    screen.setSize(20);
    EXPECT_EQ(screen.size(), 20);
    EXPECT_EQ(screenCopy->size(), 12);
    screen.setSize(0);  // no such size: unchanged
    EXPECT_EQ(screen.size(), 20);

    btkDCFont device(dejaVu(12));
    device.setSize(50);
    EXPECT_EQ(device.size(), 1);
    std::unique_ptr<btkFont> deviceCopy(device.clone());
    ASSERT_NE(dynamic_cast<btkDCFont*>(deviceCopy.get()), nullptr);
}

TEST(QtCanvas, WithoutPainterItMeasuresOnTheDeviceAndDrawsNothing) {
    QImage image = whiteImage(50, 50);
    btkDCCanvas canvas(nullptr, &image);
    QFont f = dejaVu(8);
    f.setPixelSize(20);
    btkDCFont font(f);
    canvas.setFont(&font);
    EXPECT_EQ(canvas.textHeight("x"), QFontMetrics(f, &image).height());
    canvas.text(0, 0, "xxx");
    canvas.line(0, 0, 49, 49);
    EXPECT_TRUE(inkBox(image).isEmpty());

    btkDCCanvas nowhere;
    EXPECT_EQ(nowhere.textWidth("abc"), 0);
    EXPECT_EQ(nowhere.textHeight("abc"), 0);
    nowhere.text(1, 1, "abc");
}

TEST(QtCanvas, HandleOriginMovesDrawingAndPainterCanBeReplaced) {
    QImage first = whiteImage(100, 100);
    QImage second = whiteImage(100, 100);
    btkDCCanvas canvas;
    {
        QPainter painter(&first);
        canvas.setPainter(&painter);
        btkCanvas(30, 40, canvas.sp()).line(0, 0, 10, 0);
    }
    {
        QPainter painter(&second);
        canvas.setPainter(&painter);
        btkCanvas(0, 0, canvas.sp()).line(5, 5, 5, 15);
        canvas.setPainter(nullptr);
    }
    EXPECT_EQ(inkBox(first), QRect(30, 40, 11, 1));
    EXPECT_EQ(inkBox(second), QRect(5, 5, 1, 11));
}

}  // namespace

// Screen fonts as the settings store them: written and read back alike;
// reading replaces the styles, keeps family and size where none is stored.
TEST(QtFontSettings, ScreenFontsRoundTripThroughTheirElement) {
    btkVCLFont font(QFont(QStringLiteral("DejaVu Sans"), 11), colorMake(128, 0, 0));
    font.font.setBold(true);
    btkXMLNode element;
    element.setName("fntext");
    SaveTFontXML(element, font);
    EXPECT_EQ(element.attr("size"), btkstring("11"));
    EXPECT_EQ(element.attr("bold"), btkstring("1"));
    EXPECT_EQ(element.attr("italic"), btkstring("0"));
    EXPECT_EQ(element.attr("color"), btkstring("Maroon"));

    btkVCLFont read(QFont(QStringLiteral("DejaVu Serif"), 8));
    read.font.setItalic(true);
    LoadTFontXML(element, read);
    EXPECT_EQ(read.font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(read.font.pointSize(), 11);
    EXPECT_TRUE(read.font.bold());
    EXPECT_FALSE(read.font.italic());
    EXPECT_EQ(read.color, colorMake(128, 0, 0));

    btkXMLNode empty;
    LoadTFontXML(empty, read);
    EXPECT_EQ(read.font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(read.font.pointSize(), 11);
    EXPECT_FALSE(read.font.bold());
}
