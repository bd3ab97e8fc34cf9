#include "widgets/dialog_kit.h"

#include "model/failure.h"
#include "model/startup.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/twips.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"

#include <QLineEdit>
#include <QSettings>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QWidget>

#include <cmath>
#include <exception>
#include <utility>

namespace dlgkit {

int PxX(const QWidget& w, double twips)
{
    return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelX(w)));
}

int PxY(const QWidget& w, double twips)
{
    return static_cast<int>(std::lround(twips / vbqt::TwipsPerPixelY(w)));
}

void Place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(PxX(*w, left), PxY(*w, top), PxX(*w, width), PxY(*w, height));
}

void Refill(QComboBox* list, const QStringList& items)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

namespace {

constexpr const char* kShownText = "dlgkitShownText";
constexpr const char* kShownValue = "dlgkitShownValue";

}  // namespace

void ShowText(QLineEdit* box, const QString& text)
{
    box->setProperty(kShownValue, QVariant());
    box->setProperty(kShownText, text);
    box->setText(text);
}

void ShowNumber(QLineEdit* box, double value, const QString& text)
{
    box->setProperty(kShownValue, value);
    box->setProperty(kShownText, text);
    box->setText(text);
}

bool Edited(const QLineEdit* box)
{
    const QVariant shown = box->property(kShownText);
    return !shown.isValid() || shown.toString() != box->text();
}

double ReadNumber(const QLineEdit* box)
{
    const QVariant value = box->property(kShownValue);
    if (!Edited(box) && value.isValid()) return value.toDouble();
    return vb::Val(box->text().toStdString());
}

double TakeNumber(QLineEdit* box)
{
    const double v = ReadNumber(box);
    box->setProperty(kShownValue, v);
    box->setProperty(kShownText, box->text());
    return v;
}

void SetColour(QWidget* w, QPalette::ColorRole role, int32_t ole)
{
    QPalette p = w->palette();
    p.setColor(role, vbqt::oleToQColor(ole, p));
    w->setPalette(p);
}

double KeptTwips(const QSettings& s, const char* key, double fallback)
{
    const auto v = model::NumberSetting(s, key);
    return v && std::fabs(*v) <= 1e6 ? static_cast<double>(static_cast<float>(*v)) : fallback;
}

void KeepTwips(QSettings& s, const char* key, int px, double twipsPerPixel)
{
    s.setValue(QString::fromLatin1(key), QString::number(std::lround(px * twipsPerPixel)));
}

QTreeWidgetItem* AddCheckableRow(QTreeWidget* list, const QStringList& cells, bool checked)
{
    auto* item = new QTreeWidgetItem(list, cells);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

void SetAllChecked(QTreeWidget* list, bool on)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

std::vector<bool> CheckStates(const QTreeWidget* list)
{
    std::vector<bool> ticks;
    ticks.reserve(static_cast<std::size_t>(list->topLevelItemCount()));
    for (int i = 0; i < list->topLevelItemCount(); ++i) ticks.push_back(list->topLevelItem(i)->checkState(0) == Qt::Checked);
    return ticks;
}

void RestorePlace(QWidget& dialog, const char* leftKey, const char* topKey, double defaultLeft, double defaultTop)
{
    QSettings s = model::AppSettings();
    s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
    // The defaults too are taken in single precision.
    const auto place = [&s](const char* key, double fallback) {
        return static_cast<float>(KeptTwips(s, key, fallback));
    };
    dialog.move(PxX(dialog, place(leftKey, defaultLeft)), PxY(dialog, place(topKey, defaultTop)));
}

void SavePlace(const QWidget& dialog, const char* leftKey, const char* topKey)
{
    QSettings s = model::AppSettings();
    s.beginGroup(QString::fromLatin1(model::kSettingsGroup));
    KeepTwips(s, leftKey, dialog.x(), vbqt::TwipsPerPixelX(dialog));
    KeepTwips(s, topKey, dialog.y(), vbqt::TwipsPerPixelY(dialog));
}

void UserActions::run(const std::function<void()>& action) { runAs(action, true); }

void UserActions::runCommand(const std::function<void()>& action) { runAs(action, false); }

void UserActions::runAs(const std::function<void()>& action, bool choice)
{
    if (depth_ == 0) outerIsChoice_ = choice;
    ++depth_;
    try {
        action();
    } catch (const std::exception& e) {
        // Only the first failure is told; every one goes to standard error.
        const std::string text = model::TellFailure(e);
        if (!error_) error_ = text.empty() ? fallback_ : text;
    }
    if (--depth_ > 0) return;
    if (outerIsChoice_) failed_ = error_.has_value();
    if (!error_) return;
    const std::string text = *std::exchange(error_, std::nullopt);
    ui::Current().message(text, title_, ui::MessageKind::Critical);
}

}  // namespace dlgkit
