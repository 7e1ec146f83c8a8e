// The background picture's decoder over pictures that announce more than they hold.
#include "app/jpegimage.h"
#include "data/databaseerror.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>

using namespace coop;

namespace {

// A 16 × 8 picture as Qt's own JPEG writer encodes it.
QByteArray smallPicture(bool progressive)
{
    QImage image(16, 8, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixelColor(x, y, QColor(x * 15, y * 30, 120));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(progressive);
    if (!writer.write(image))
        qFatal("The JPEG writer failed: %s", qPrintable(writer.errorString()));
    return bytes;
}

// The picture with the size in its frame header replaced: the data stay those of 16 × 8 pixels.
QByteArray announcing(QByteArray bytes, quint16 width, quint16 height)
{
    qsizetype frame = bytes.indexOf("\xff\xc0");
    if (frame < 0)
        frame = bytes.indexOf("\xff\xc2");
    bytes[frame + 5] = char(height >> 8);
    bytes[frame + 6] = char(height & 0xff);
    bytes[frame + 7] = char(width >> 8);
    bytes[frame + 8] = char(width & 0xff);
    return bytes;
}

// The progressive picture with its last scan repeated until it has `scans` more.
QByteArray withScansRepeated(QByteArray bytes, int scans)
{
    const qsizetype last = bytes.lastIndexOf("\xff\xda");
    const qsizetype end = bytes.lastIndexOf("\xff\xd9");
    const QByteArray scan = bytes.mid(last, end - last);
    bytes.insert(end, scan.repeated(scans));
    return bytes;
}

} // namespace

class TestJpegImage : public QObject
{
    Q_OBJECT

private slots:
    void decodesPictures_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("baseline") << smallPicture(false);
        QTest::newRow("progressive") << smallPicture(true);
        QTest::newRow("progressive, 50 scans more") << withScansRepeated(smallPicture(true), 50);
    }
    void decodesPictures()
    {
        QFETCH(QByteArray, bytes);
        const QImage image = decodeJpeg(bytes);
        QCOMPARE(image.size(), QSize(16, 8));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        const QColor corner = image.pixelColor(15, 7);
        QVERIFY(corner.red() > 180 && corner.green() > 160);
    }

    // Decoding these would take gigabytes or minutes; each is refused at once, in its own words.
    void refusesPicturesBeyondReason_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("65500 × 65500 pixels") << announcing(smallPicture(false), 65500, 65500)
                                              << "The JPEG picture of 65500x65500 pixels is too large";
        QTest::newRow("progressive, 30000 × 30000 pixels") << announcing(smallPicture(true), 30000, 30000)
                                                           << "The JPEG picture of 30000x30000 pixels is too large";
        QTest::newRow("beyond an 8K screen") << announcing(smallPicture(false), 7681, 4320)
                                             << "The JPEG picture of 7681x4320 pixels is too large";
        QTest::newRow("progressive, 300 scans more") << withScansRepeated(smallPicture(true), 300)
                                                     << "The JPEG picture has too many scans";
    }
    void refusesPicturesBeyondReason()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        try {
            decodeJpeg(bytes);
            QFAIL("decoded");
        } catch (const Error &error) {
            QCOMPARE(error.text(), message);
        }
    }
};

QTEST_GUILESS_MAIN(TestJpegImage)
#include "test_jpegimage.moc"
