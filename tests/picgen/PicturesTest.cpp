#include "Pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

// The files the program's windows load, with the sizes they are laid out for.
const std::map<QString, QSize> kExpected = {
    {QStringLiteral("zemoup.bmp"), {36, 26}},       {QStringLiteral("zemodw.bmp"), {36, 26}},
    {QStringLiteral("zemoyes.bmp"), {36, 26}},      {QStringLiteral("zemodw_r.bmp"), {36, 26}},
    {QStringLiteral("zemono.bmp"), {36, 26}},       {QStringLiteral("zemodw_w.bmp"), {36, 26}},
    {QStringLiteral("zemoover.bmp"), {36, 26}},     {QStringLiteral("zemotxup.bmp"), {110, 26}},
    {QStringLiteral("zemotxdw.bmp"), {110, 26}},    {QStringLiteral("dlgback.bmp"), {399, 110}},
    {QStringLiteral("dlgtitle.bmp"), {399, 25}},    {QStringLiteral("icon_notice.bmp"), {32, 32}},
    {QStringLiteral("icon_warning.bmp"), {32, 32}}, {QStringLiteral("icon_error.bmp"), {32, 32}},
    {QStringLiteral("about.bmp"), {395, 266}},
};

class PicturesTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "picgen_tests";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
};

double luminance(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    }
    return sum / (image.width() * image.height());
}

QColor centre(const QImage& image) {
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Pixels of the image for which `test` holds.
template <typename Test>
int count(const QImage& image, Test test) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return n;
}

QImage picture(const char* file) {
    return picgen::drawPicture(QString::fromLatin1(file));
}

}  // namespace

TEST_F(PicturesTest, ProgramWritesEveryFileLoadableAtItsSize) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString out = tmp.filePath(QStringLiteral("app/pic"));  // not there yet
    QProcess picgen;
    picgen.start(QStringLiteral(PICGEN_BINARY), {out});
    ASSERT_TRUE(picgen.waitForFinished(60000));
    EXPECT_EQ(picgen.exitCode(), 0) << picgen.readAllStandardError().toStdString();

    for (const auto& [file, size] : kExpected) {
        QImage image;
        ASSERT_TRUE(image.load(QDir(out).filePath(file), "BMP")) << file.toStdString();
        EXPECT_EQ(image.size(), size) << file.toStdString();
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), static_cast<qsizetype>(kExpected.size()));
}

TEST_F(PicturesTest, ProgramNeedsAnOutputFolder) {
    QProcess picgen;
    picgen.start(QStringLiteral(PICGEN_BINARY), {});
    ASSERT_TRUE(picgen.waitForFinished(60000));
    EXPECT_NE(picgen.exitCode(), 0);
}

TEST_F(PicturesTest, ListMatchesWhatTheWindowsLoad) {
    ASSERT_EQ(picgen::pictureFiles().size(), static_cast<qsizetype>(kExpected.size()));
    for (const picgen::PictureFile& picture : picgen::pictureFiles()) {
        const auto it = kExpected.find(picture.file);
        ASSERT_NE(it, kExpected.end()) << picture.file.toStdString();
        EXPECT_EQ(picture.size, it->second);
        EXPECT_EQ(picgen::drawPicture(picture.file).size(), picture.size);
    }
    EXPECT_TRUE(picgen::drawPicture(QStringLiteral("nothing.bmp")).isNull());
}

TEST_F(PicturesTest, UnwritableFolderIsReported) {
    QTemporaryDir tmp;
    const QString blocker = tmp.filePath(QStringLiteral("file"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(picgen::writePictures(blocker + QStringLiteral("/pic")).size(),
              static_cast<qsizetype>(kExpected.size()));
}

TEST_F(PicturesTest, TilesTellRightFromWrong) {
    const QColor right = centre(picture("zemoyes.bmp"));
    const QColor wrong = centre(picture("zemono.bmp"));
    const QColor answered = centre(picture("zemoover.bmp"));
    const QColor open = centre(picture("zemoup.bmp"));
    EXPECT_GT(right.green(), right.red() + 40);
    EXPECT_GT(wrong.red(), wrong.green() + 40);
    EXPECT_GT(answered.blue(), answered.red() + 40);
    // Unanswered is a light neutral: no channel stands out.
    EXPECT_GT(std::min({open.red(), open.green(), open.blue()}), 200);
    EXPECT_LT(std::max({open.red(), open.green(), open.blue()}) -
                  std::min({open.red(), open.green(), open.blue()}),
              30);
}

TEST_F(PicturesTest, PressedTilesAreDarker) {
    const std::pair<const char*, const char*> pairs[] = {{"zemoup.bmp", "zemodw.bmp"},
                                                         {"zemoyes.bmp", "zemodw_r.bmp"},
                                                         {"zemono.bmp", "zemodw_w.bmp"},
                                                         {"zemotxup.bmp", "zemotxdw.bmp"}};
    for (const auto& [up, down] : pairs) {
        EXPECT_LT(luminance(picture(down)), luminance(picture(up)) - 5) << down;
    }
    // A pressed tile keeps its meaning: right stays green, wrong stays red.
    const QColor right = centre(picture("zemodw_r.bmp"));
    const QColor wrong = centre(picture("zemodw_w.bmp"));
    EXPECT_GT(right.green(), right.red());
    EXPECT_GT(wrong.red(), wrong.green());
}

TEST_F(PicturesTest, DialogBackIsTheLightBlueWithATexture) {
    const QImage back = picture("dlgback.bmp");
    double r = 0, g = 0, b = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < back.height(); ++y) {
        for (int x = 0; x < back.width(); ++x) {
            const QColor c = back.pixelColor(x, y);
            r += c.red();
            g += c.green();
            b += c.blue();
            colours.insert(c.rgb());
        }
    }
    const double n = back.width() * back.height();
    EXPECT_NEAR(r / n, 152, 10);
    EXPECT_NEAR(g / n, 180, 10);
    EXPECT_NEAR(b / n, 209, 10);
    EXPECT_GT(colours.size(), 4);
    EXPECT_LT(luminance(picture("dlgtitle.bmp")), luminance(back) - 30);
}

TEST_F(PicturesTest, IconsAreBlueYellowAndRed) {
    const auto blue = [](QColor c) { return c.blue() > 150 && c.red() < 100; };
    const auto yellow = [](QColor c) { return c.red() > 200 && c.green() > 160 && c.blue() < 100; };
    const auto red = [](QColor c) { return c.red() > 160 && c.green() < 90 && c.blue() < 90; };
    const auto white = [](QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; };
    const QImage notice = picture("icon_notice.bmp");
    const QImage warning = picture("icon_warning.bmp");
    const QImage error = picture("icon_error.bmp");
    EXPECT_GT(count(notice, blue), 200);
    EXPECT_GT(count(notice, white), 30);  // the "i"
    EXPECT_GT(count(warning, yellow), 150);
    EXPECT_EQ(count(warning, red), 0);
    EXPECT_GT(count(error, red), 200);
    EXPECT_GT(count(error, white), 30);  // the "×"
    // The corners are the prompt box's colour, so the icon shows no square around it.
    for (const QImage& icon : {notice, warning, error}) {
        EXPECT_EQ(icon.pixelColor(0, 0), QColor(152, 180, 209));
    }
}

// The launcher icon as the desktop reads it: a PNG of the hicolor size, whose corners
// are see-through (the menus draw their own ground) and whose face is the program's
// blue with the white pages of the book on it.
TEST_F(PicturesTest, DesktopIconIsATransparentBluePngAtEachSize) {
    const auto blue = [](QColor c) { return c.alpha() == 255 && c.blue() > 150 && c.red() < 130; };
    const auto white = [](QColor c) {
        return c.alpha() == 255 && c.red() > 240 && c.green() > 240 && c.blue() > 240;
    };
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const int side : {256, 48}) {
        const QString file = tmp.filePath(QStringLiteral("%1x%1/apps/examstudy.png").arg(side));
        QProcess picgen;
        picgen.start(QStringLiteral(PICGEN_BINARY),
                     {QStringLiteral("--icon"), QString::number(side), file});
        ASSERT_TRUE(picgen.waitForFinished(60000));
        ASSERT_EQ(picgen.exitCode(), 0) << picgen.readAllStandardError().toStdString();

        QImage icon;
        ASSERT_TRUE(icon.load(file, "PNG")) << side;
        EXPECT_EQ(icon.size(), QSize(side, side));
        ASSERT_TRUE(icon.hasAlphaChannel()) << side;
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(side - 1, 0), QPoint(0, side - 1), QPoint(side - 1, side - 1)}) {
            EXPECT_EQ(icon.pixelColor(corner).alpha(), 0) << side;
        }
        const int area = side * side;
        EXPECT_GT(count(icon, blue), area / 5) << side;
        EXPECT_GT(count(icon, white), area / 10) << side;
    }
}
