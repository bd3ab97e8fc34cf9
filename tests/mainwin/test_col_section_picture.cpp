// The base-section picture of the shear check: which picture a base record
// gets, and the pictures themselves.
#include "window_fixture.h"

#include "mainwin/col_section_picture.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>

#include <string>

namespace {

using namespace model;

KvBaseTbl Base(int16_t series, const std::string& name, int16_t abV = 0)
{
    KvBaseTbl b;
    b.KvV = series;
    b.KvName = name;
    b.AbV = abV;
    return b;
}

TEST(ColSectionPictureKey, RuleTable)
{
    struct Case {
        int16_t series;
        const char* name;
        int16_t abV;
        int kvDir;
        const char* x;  // shear direction X
        const char* y;  // shear direction Y
    } cases[] = {
        // Side-plate and corner-plate models turn with the column; in Y a further quarter.
        {1, "KS200A", 0, 0, "KS_000", "KS_090"},
        {1, "KS200A", 0, 1, "KS_090", "KS_180"},
        {1, "KS200A", 0, 2, "KS_180", "KS_270"},
        {1, "KS200A", 0, 3, "KS_270", "KS_000"},
        {1, "KC250B", 0, 0, "KC_000", "KC_090"},
        {1, "KC250B", 0, 3, "KC_270", "KC_000"},
        // Numbered models by their last character.
        {1, "K25-1", 0, 2, "K_04", "K_04"},
        {1, "K35-2", 0, 0, "K_08", "K_08"},
        {1, "K45-3", 0, 1, "K_12", "K_12"},
        {1, "K45-4", 0, 1, "", ""},
        {1, "R30-1", 0, 0, "R_4", "R_4"},
        {1, "R30-2", 0, 3, "R_8", "R_8"},
        {1, "R30-3", 0, 3, "", ""},
        // H models: along or across the flanges.
        {1, "H400A", 0, 0, "H_00", "H_90"},
        {1, "H400A", 0, 1, "H_90", "H_00"},
        {1, "H400A", 0, 2, "H_00", "H_90"},
        {1, "H400A", 0, 3, "H_90", "H_00"},
        {1, "QX250A", 0, 0, "", ""},
        // Series 4 by the second and seventh characters.
        {4, "WR300-8", 0, 0, "WR_8", "WR_8"},
        {4, "WR300-4", 0, 1, "WR_4", "WR_4"},
        {4, "WP200-4", 0, 0, "LUMO_4", "LUMO_4"},
        {4, "WJ200-8", 0, 2, "LUMO_8", "LUMO_8"},
        {4, "WP200-6", 0, 0, "", ""},
        {4, "WX200-4", 0, 0, "", ""},
        // Series 5 by the last character, series 6 by the bolt layout.
        {5, "KN400-2", 0, 0, "K_08", "K_08"},
        {5, "KN400-3", 0, 0, "K_12", "K_12"},
        {5, "KN400-1", 0, 0, "", ""},
        {6, "SV175-4-A", 0, 0, "SV_4", "SV_4"},
        {6, "SV175-8-A", 1, 2, "SV_8", "SV_8"},
        {6, "SV175-8-A", 2, 2, "", ""},
        // No picture for the other series.
        {0, "QX250A", 0, 0, "", ""},
        {2, "KS200A", 0, 0, "", ""},
        {3, "KS200A", 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        const KvBaseTbl b = Base(c.series, c.name, c.abV);
        EXPECT_EQ(ColSectionPictureKey(b, c.kvDir, 0), c.x) << c.name << " d" << c.kvDir;
        EXPECT_EQ(ColSectionPictureKey(b, c.kvDir, 1), c.y) << c.name << " d" << c.kvDir;
    }
}

TEST(ColSectionPictureKey, CharactersNotBytesAndOutOfRangeInputs)
{
    // A double-byte character counts once: the seventh character is "8".
    EXPECT_EQ(ColSectionPictureKey(Base(4, "WRＡ00-8"), 0, 0), "WR_8");
    // A full-width S is no S.
    EXPECT_EQ(ColSectionPictureKey(Base(1, "KＳ200"), 0, 0), "");
    EXPECT_EQ(ColSectionPictureKey(Base(1, "柱脚-2"), 0, 0), "");
    // Short, empty and blank names, and directions outside the range.
    for (const char* n : {"", "K", "W", " ", "WR"}) {
        for (int16_t s : {1, 4, 5})
            for (int d : {0, 1}) EXPECT_NO_THROW(ColSectionPictureKey(Base(s, n), d, 0)) << n;
        EXPECT_EQ(ColSectionPictureKey(Base(4, n), 0, 0), "") << n;
    }
    EXPECT_EQ(ColSectionPictureKey(Base(1, "KS200A"), 4, 0), "");
    EXPECT_EQ(ColSectionPictureKey(Base(1, "KS200A"), -1, 0), "");
    EXPECT_EQ(ColSectionPictureKey(Base(1, "KS200A"), 1, 2), "");
    EXPECT_EQ(ColSectionPictureKey(Base(1, "H400A"), 5, 0), "");
    // Where the direction does not matter, any direction gives the picture.
    EXPECT_EQ(ColSectionPictureKey(Base(6, "SV", 1), 7, 3), "SV_8");
}

TEST(ColSectionPicture, EveryKeyHasADrawingAndTheSheetIsWritten)
{
    const auto& keys = ColSectionPictureKeys();
    ASSERT_EQ(keys.size(), 21u);
    EXPECT_EQ(keys.front(), "LUMO_4");
    EXPECT_EQ(keys[8], "KS_090");   // index 9
    EXPECT_EQ(keys[17], "H_00");    // index 18
    EXPECT_EQ(keys.back(), "SV_8");
    EXPECT_TRUE(ColSectionPicture("").isNull());
    EXPECT_TRUE(ColSectionPicture("KS_045").isNull());

    const QSize cell(240, 180);
    QImage sheet(cell.width() * 7, (cell.height() + 20) * 3, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setFont(QFont(QStringLiteral("Noto Sans CJK JP"), 10));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const QImage img = ColSectionPicture(keys[i], cell).toImage();
        ASSERT_FALSE(img.isNull()) << keys[i];
        int ink = 0;
        for (int y = 0; y < img.height(); y += 2)
            for (int x = 0; x < img.width(); x += 2)
                if (qGray(img.pixel(x, y)) < 128) ++ink;
        EXPECT_GT(ink, 200) << keys[i];
        const int x = static_cast<int>(i % 7) * cell.width();
        const int y = static_cast<int>(i / 7) * (cell.height() + 20);
        p.drawImage(x, y, img);
        p.drawRect(x, y, cell.width() - 1, cell.height() - 1);
        p.drawText(QRect(x, y + cell.height(), cell.width(), 20), Qt::AlignCenter,
                   QStringLiteral("%1 %2").arg(i + 1).arg(QString::fromStdString(keys[i])));
    }
    p.end();
    std::filesystem::create_directories(KV_TEST_OUT_DIR);
    EXPECT_TRUE(sheet.save(QStringLiteral(KV_TEST_OUT_DIR "/col_section_pictures.png")));
}

class SectionPicture : public mainwintest::WindowTest {};

TEST_F(SectionPicture, TheCurrentColumnsDirectionChooses)
{
    gColumns.redim(2);
    gCond.ColCount = 2;
    gColumns(1).KvDir = 1;
    gColumns(2).KvDir = 2;
    const KvBaseTbl ks = Base(1, "KS200A");
    gShearDir = 0;
    gCurCol = 1;
    const QImage atNinety = w->msub_GetColSectionPicture(ks).toImage();
    EXPECT_EQ(atNinety, ColSectionPicture("KS_090").toImage());
    gCurCol = 2;
    EXPECT_EQ(w->msub_GetColSectionPicture(ks).toImage(), ColSectionPicture("KS_180").toImage());
    gShearDir = 1;
    EXPECT_EQ(w->msub_GetColSectionPicture(ks).toImage(), ColSectionPicture("KS_270").toImage());
    EXPECT_TRUE(w->msub_GetColSectionPicture(Base(0, "QX")).isNull());
    gShearDir = 0;
    gCurCol = 1;
}

}  // namespace
