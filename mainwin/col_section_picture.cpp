#include "mainwin/col_section_picture.h"

#include "model/globals.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <map>

namespace {

// The character at 1-based position pos, or empty past the end.
std::string CharAt(const std::string& s, long pos)
{
    return static_cast<long>(text::CharCount(s)) >= pos ? text::Mid(s, pos, 1) : std::string();
}

// A turned group: the X picture of d, and in Y a further quarter turn.
std::string Turned(const char* family, int kvDir, int shearDir)
{
    static constexpr std::array<const char*, 4> kAngles = {"000", "090", "180", "270"};
    if (kvDir < 0 || kvDir > 3 || (shearDir != 0 && shearDir != 1)) return {};
    return std::string(family) + "_" + kAngles[static_cast<std::size_t>((kvDir + shearDir) % 4)];
}

}  // namespace

std::string ColSectionPictureKey(const model::KvBaseTbl& rec, int kvDir, int shearDir)
{
    const std::string& name = rec.KvName.value();
    const std::string first = CharAt(name, 1);
    const std::string second = CharAt(name, 2);
    const std::string trimmed = vb::Trim(name);
    const std::string last = text::CharCount(trimmed) ? text::Right(trimmed, 1) : std::string();
    switch (rec.KvV) {
    case 1:
        if (first == "K") {
            if (second == "S") return Turned("KS", kvDir, shearDir);
            if (second == "C") return Turned("KC", kvDir, shearDir);
            if (second.size() == 1 && second[0] >= '1' && second[0] <= '9') {
                if (last == "1") return "K_04";
                if (last == "2") return "K_08";
                if (last == "3") return "K_12";
            }
            return {};
        }
        if (first == "R") {
            if (last == "1") return "R_4";
            if (last == "2") return "R_8";
            return {};
        }
        if (first == "H") {
            if (kvDir < 0 || kvDir > 3 || (shearDir != 0 && shearDir != 1)) return {};
            // Seen along the flanges or across them.
            const bool alongFlanges = (kvDir % 2 == 0) == (shearDir == 0);
            return alongFlanges ? "H_00" : "H_90";
        }
        return {};
    case 4: {
        const std::string seventh = CharAt(name, 7);
        const char* family = second == "R" ? "WR" : (second == "P" || second == "J") ? "LUMO" : nullptr;
        if (!family) return {};
        if (seventh == "4") return std::string(family) + "_4";
        if (seventh == "8") return std::string(family) + "_8";
        return {};
    }
    case 5:
        if (last == "2") return "K_08";
        if (last == "3") return "K_12";
        return {};
    case 6:
        if (rec.AbV == 0) return "SV_4";
        if (rec.AbV == 1) return "SV_8";
        return {};
    default: return {};
    }
}

const std::vector<std::string>& ColSectionPictureKeys()
{
    static const std::vector<std::string> keys = {
        "LUMO_4", "LUMO_8", "WR_4",   "WR_8",   "K_04",   "K_08",   "K_12",   "KS_000", "KS_090", "KS_180", "KS_270",
        "KC_000", "KC_090", "KC_180", "KC_270", "R_4",    "R_8",    "H_00",   "H_90",   "SV_4",   "SV_8"};
    return keys;
}

QPixmap ColSectionPicture(const std::string& key, QSize size)
{
    const auto& keys = ColSectionPictureKeys();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) return {};
    QSvgRenderer renderer(QStringLiteral(":/col_section/%1.svg").arg(QString::fromStdString(key)));
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    QPixmap picture(size);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

QImage ColSectionPaperPicture(const std::string& key)
{
    const auto& keys = ColSectionPictureKeys();
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) return {};
    // Drawn once a key: a report prints the same few pictures on many pages,
    // and the same image is stored once in a PDF.
    static std::map<std::string, QImage> drawn;
    const auto known = drawn.find(key);
    if (known != drawn.end()) return known->second;
    QSvgRenderer renderer(QStringLiteral(":/col_section/%1.svg").arg(QString::fromStdString(key)));
    if (!renderer.isValid()) return {};
    constexpr int kFine = 4;
    constexpr int kScreenDotsPerMetre = 3780;  // 96 dots per inch
    QImage picture(renderer.defaultSize() * kFine, QImage::Format_RGB32);
    picture.setDotsPerMeterX(kScreenDotsPerMetre * kFine);
    picture.setDotsPerMeterY(kScreenDotsPerMetre * kFine);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        renderer.render(&painter);
    }
    drawn.emplace(key, picture);
    return picture;
}

QPixmap CurrentColSectionPicture(const model::KvBaseTbl& rec)
{
    using namespace model;
    if (gCurCol < 1 || gCurCol > gColumns.ubound()) return {};
    return ColSectionPicture(ColSectionPictureKey(rec, gColumns(gCurCol).KvDir, gShearDir));
}
