// The string table as the program reads it.
#include "resources/strings/res_strings.h"

#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

TEST(ResStrings, EveryLineOfTheTableIsReadWithinTheRange)
{
    QFile f(":/strings/strings.tsv");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith('#')) continue;
        bool ok = false;
        const int id = line.section('\t', 0, 0).toInt(&ok);
        ASSERT_TRUE(ok) << line.toStdString();
        EXPECT_GE(id, 1000);
        EXPECT_LE(id, 1341);
        const auto text = FindResString(id);
        ASSERT_TRUE(text) << id;
        EXPECT_FALSE(text->isEmpty()) << id;
    }
}

TEST(ResStrings, TextsByIdAndAbsentIds)
{
    const struct {
        int id;
        const char* text;
    } cases[] = {
        {1000, "ﾌｧｲﾙ(&F)"},
        {1010, "印刷(&P)..."},
        {1105, "柱名称"},
        {1147, "長期N-M関係の表示"},
        {1151, "柱追加(&A)"},
        {1181, "応力表･耐力図の更新する。"},
        {1269, "データのインポート（&I)..."},
        {1307, "ｵﾌﾟｼｮﾝ >>"},
        {1314, "印刷開始　ページ番号"},
        {1341, "ソルヴェナス"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindResString(c.id), QString::fromUtf8(c.text)) << c.id;
        EXPECT_EQ(LoadResString(c.id), QString::fromUtf8(c.text)) << c.id;
    }
    // Font face and size are asked for and are not in the table.
    for (int id : {20, 21, 999, 1003, 1342, -1}) {
        EXPECT_FALSE(FindResString(id)) << id;
        EXPECT_TRUE(LoadResString(id).isEmpty()) << id;
    }
}

TEST(ResStrings, MultiLineTextKeepsItsBreaksAndQuotes)
{
    const QString t = LoadResString(1298);
    const QStringList lines = t.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], QString::fromUtf8("長期荷重は入力可能ですが、表を更新すると雪荷重を考慮した値になります。"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[3], QString::fromUtf8("   ①雪荷重の扱いを\"多雪\"以外にする。"));
    EXPECT_EQ(lines[5], QString::fromUtf8("   ③雪荷重の設定を\"多雪\"にする。"));
}
