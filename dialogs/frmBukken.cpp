#include "dialogs/frmBukken.h"

#include "mainwin/load_res_strings.h"
#include "model/globals.h"
#include "model/records.h"
#include "platform/qt/font_map.h"
#include "platform/text/vb.h"
#include "widgets/dialog_kit.h"

#include <QDate>
#include <QDateTime>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

using namespace model;

namespace {

const QDate kOleEpoch(1899, 12, 30);

// The short date format of the program's locale (Japanese: yyyy/MM/dd) with
// the year in four digits, so that a shown date reads back as the same date.
QString DateFormat()
{
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString TimeFormat() { return QLocale().timeFormat(QLocale::LongFormat); }

double OleOf(const QDateTime& t)
{
    const double days = static_cast<double>(kOleEpoch.daysTo(t.date()));
    return days + t.time().msecsSinceStartOfDay() / 86400000.0;
}

std::string Stored(const std::string& fixed) { return vb::RTrim(fixed); }

}  // namespace

frmBukken::frmBukken(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmBukken");
    setWindowTitle(QStringLiteral("詳細情報の設定"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(name);
        return l;
    };
    Label1 = label("Label1", "物件名");
    Label3 = label("Label3", "担当者");
    Label2 = label("Label2", "日付");
    txtBukken = new QLineEdit(this);
    txtBukken->setObjectName("txtBukken");
    txtBukken->setMinimumWidth(320);
    txtTantou = new QLineEdit(this);
    txtTantou->setObjectName("txtTantou");
    txtDate = new QLineEdit(this);
    txtDate->setObjectName("txtDate");
    cmdToday = new QPushButton(QStringLiteral("今日"), this);
    cmdToday->setObjectName("cmdToday");
    cmdToday->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("決定"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    QLabel* const names[] = {Label1, Label3, Label2};
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(names[r], r, 0);
        auto* colon = label(qPrintable(QStringLiteral("Label4_%1").arg(r)), "：");
        grid->addWidget(colon, r, 1);
    }
    grid->addWidget(txtBukken, 0, 2, 1, 2);
    grid->addWidget(txtTantou, 1, 2, 1, 2);
    grid->addWidget(txtDate, 2, 2);
    grid->addWidget(cmdToday, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* all = new QVBoxLayout(this);
    all->addLayout(grid);
    all->addLayout(buttons);

    connect(cmdToday, &QPushButton::clicked, this, &frmBukken::cmdToday_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmBukken::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBukken::cmdCancel_Click);
    Form_Load();
}

QString frmBukken::DateText(double oleDate)
{
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 3e6) return {};
    const double days = std::floor(oleDate);
    const QDate date = kOleEpoch.addDays(static_cast<qint64>(days));
    const auto ms = static_cast<int>(std::lround((oleDate - days) * 86400000.0));
    QString text = QLocale().toString(date, DateFormat());
    if (ms > 0 && ms < 86400000) text += QLatin1Char(' ') + QLocale().toString(QTime::fromMSecsSinceStartOfDay(ms), TimeFormat());
    return text;
}

std::optional<double> frmBukken::ReadDate(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    const QLocale l = QLocale();
    const QDateTime withTime = l.toDateTime(t, DateFormat() + QLatin1Char(' ') + TimeFormat());
    if (withTime.isValid()) return OleOf(withTime);
    for (const QString& f : {DateFormat(), l.dateFormat(QLocale::ShortFormat), QStringLiteral("yyyy-MM-dd"),
                             QStringLiteral("yyyy/MM/dd")}) {
        const QDate d = l.toDate(t, f);
        if (d.isValid()) return static_cast<double>(kOleEpoch.daysTo(d));
    }
    return std::nullopt;
}

void frmBukken::Form_Load()
{
    LoadResStrings(this);
    dlgkit::ShowText(txtBukken, QString::fromStdString(vb::Trim(gCond.Bukken.value())));
    dlgkit::ShowText(txtDate, DateText(gCond.BukkenDate));
    dlgkit::ShowText(txtTantou, QString::fromStdString(vb::Trim(gCond.Tantou.value())));
}

void frmBukken::cmdToday_Click() { txtDate->setText(DateText(TodayOleDate()).trimmed()); }

void frmBukken::cmdOK_Click()
{
    // A box left as loaded keeps the stored value exactly (blanks in front,
    // the time to the fraction of a second, a date the box cannot show).
    if (dlgkit::Edited(txtBukken)) {
        const std::string name = vb::Trim(txtBukken->text().toStdString());
        if (name != Stored(gCond.Bukken.value())) gDataChanged = true;
        gCond.Bukken = name;
    }
    if (dlgkit::Edited(txtDate)) {
        const std::optional<double> read = ReadDate(txtDate->text());
        // A text that is no date gives today's date, and that is a change.
        const double date = read.value_or(TodayOleDate());
        if (!read || date != gCond.BukkenDate) gDataChanged = true;
        gCond.BukkenDate = date;
    }
    if (dlgkit::Edited(txtTantou)) {
        const std::string person = vb::Trim(txtTantou->text().toStdString());
        if (person != Stored(gCond.Tantou.value())) gDataChanged = true;
        gCond.Tantou = person;
    }
    accept();
}
