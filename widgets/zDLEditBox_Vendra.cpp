#include "widgets/zDLEditBox_Vendra.h"

#include "platform/qt/grid/textbox.h"
#include "platform/text/vb.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

using qtgrid::TextBoxHandle;

namespace {

constexpr int kBack = 8;
constexpr int kEnter = 13;
constexpr int kEsc = 27;

// Val of the text, 0 for anything the reader refuses.
double SafeVal(const QString& s)
{
    try {
        return vb::Val(s.toStdString());
    } catch (...) {
        return 0;
    }
}

}  // namespace

zDLEditBox_Vendra::zDLEditBox_Vendra() { InitEditBox(); }

zDLEditBox_Vendra::~zDLEditBox_Vendra() { mobjTextBox = nullptr; }

void zDLEditBox_Vendra::InitEditBox()
{
    mobjTextBox = nullptr;
    numeric_ = false;
    maxLength_ = 0;
    maxLengthB_ = 0;
    allowChars_.clear();
    setprpDenyChars(QString());
    allowEmpty_ = false;
    allowMinus_ = false;
    allowDecimal_ = false;
    intDigits_ = 0;
    decDigits_ = 0;
    minValue_ = 0;
    maxValue_ = 0;
    errText_.clear();
    fixDecimals_ = false;
    beep_ = true;
    comma_ = false;
    dotMark_ = false;
    changed_ = false;
}

// ---------------------------------------------------------------- helpers

QString zDLEditBox_Vendra::ToNarrow(const QString& s)
{
    QString out = s;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E)
            ch = QChar(static_cast<char16_t>(c - 0xFF01 + 0x21));
        else if (c == 0x3000)
            ch = QChar(u' ');
        else if (c == 0x2212)  // minus sign some input methods send for the full-width minus
            ch = QChar(u'-');
    }
    return out;
}

int zDLEditBox_Vendra::ByteCount(const QString& s)
{
    int n = 0;
    for (char32_t c : s.toUcs4()) n += (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
    return n;
}

QString zDLEditBox_Vendra::LeftByBytes(const QString& s, long bytes)
{
    QString out;
    long used = 0;
    for (char32_t c : s.toUcs4()) {
        const int w = (c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F)) ? 1 : 2;
        if (used + w > bytes) break;
        used += w;
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

double zDLEditBox_Vendra::ToDouble(const QString& s)
{
    try {
        const std::string u = s.toStdString();
        if (!vb::IsNumeric(u)) return 0;
        std::string plain;
        for (char c : u)
            if (c != ',') plain.push_back(c);
        return vb::Val(plain);
    } catch (...) {
        return 0;
    }
}

QString zDLEditBox_Vendra::PlainText(double v)
{
    if (v == 0) v = 0;  // no "-0"
    return QString::fromStdString(vb::CStr(v));
}

QString zDLEditBox_Vendra::FormatWithCommas(const QString& text)
{
    if (text.isEmpty()) return text;
    QString s = text;
    const bool minus = s.startsWith(u'-');
    if (minus) s.remove(0, 1);
    s = u'1' + s;
    const int dot = s.indexOf(u'.');
    QString intPart = dot >= 0 ? s.left(dot) : s;
    intPart.remove(u',');
    QString out = QString::fromStdString(vb::Format(SafeVal(intPart), "#,###"));
    if (dot >= 0) out += s.mid(dot);
    out.remove(0, 1);
    if (out.startsWith(u',')) out.remove(0, 1);
    if (minus) out.prepend(u'-');
    return out;
}

QString zDLEditBox_Vendra::TextAfterKey(QChar ch, const QString& text, int s, int n)
{
    s = std::clamp(s, 0, static_cast<int>(text.size()));
    return text.left(s) + ch + text.mid(std::min<int>(text.size(), s + std::max(0, n)));
}

zDLEditBox_Vendra::Split zDLEditBox_Vendra::SplitNumber(const QString& t)
{
    Split sp;
    const double v = ToDouble(t);
    sp.sign = v < 0 ? -1 : 1;
    const int dot = t.indexOf(u'.');
    sp.intText = (dot >= 0 ? t.left(dot) : t).trimmed();
    sp.whole = std::floor(std::fabs(v));
    if (dot < 0 || dot == t.size() - 1)
        sp.fraction = -1;
    else
        sp.fraction = std::floor(ToDouble(t.mid(dot + 1)));
    return sp;
}

bool zDLEditBox_Vendra::CheckTypedValue(double v) const
{
    if (!numeric_ || !rangeUsable()) return true;
    const QString t = PlainText(v);
    const Split sv = SplitNumber(t);
    const Split smin = SplitNumber(PlainText(minValue_));
    const Split smax = SplitNumber(PlainText(maxValue_));
    const int L = static_cast<int>(std::max(PlainText(smin.whole).size(), PlainText(smax.whole).size()));
    const bool longEnough = sv.intText.size() >= L;

    if (t.startsWith(u'-') && smin.sign == 1) return false;
    if (smin.sign == 1 && smax.sign == 1 && smin.whole >= 1 && sv.intText == QLatin1String("0")) return false;
    if (longEnough && v < minValue_ && !(smin.fraction > 0 && sv.whole == smin.whole && sv.fraction == -1))
        return false;
    if (!t.startsWith(u'-') && smax.sign == -1) return false;
    if (smin.sign == -1 && smax.sign == -1 && smax.whole > 1 && sv.intText == QLatin1String("-0")) return false;
    if (longEnough && v > maxValue_ && !(smax.fraction >= 0 && sv.whole == smax.whole && sv.fraction == -1))
        return false;
    if (minValue_ < 0 && maxValue_ < 0) return !(v < minValue_);
    if (minValue_ > 0 && maxValue_ > 0) return !(v > maxValue_);
    return !(v < minValue_ || v > maxValue_);
}

void zDLEditBox_Vendra::BeepIfEnabled()
{
    if (!beep_) return;
    if (beepSink_)
        beepSink_();
    else
        QApplication::beep();
}

void zDLEditBox_Vendra::ApplyMaxLengthB()
{
    if (!mobjTextBox) return;
    if (maxLengthB_ < 0) maxLengthB_ = 0;
    // The box's own limit is a 16-bit value: clamp rather than wrap.
    mobjTextBox->setTextLimit(static_cast<int>(std::min<long>(maxLengthB_, 32767)));
}

// ---------------------------------------------------------------- operations

void zDLEditBox_Vendra::AttachTextBox(TextBoxHandle* box)
{
    mobjTextBox = box;
    if (mobjTextBox) ApplyMaxLengthB();
}

void zDLEditBox_Vendra::setprpMaxLengthB(long v)
{
    maxLengthB_ = v;
    ApplyMaxLengthB();
}

void zDLEditBox_Vendra::SaveOldText()
{
    if (mobjTextBox) changed_ = false;
}

void zDLEditBox_Vendra::FilterKeyPress(int& KeyAscii)
{
    if (!mobjTextBox) return;
    mblnBusy = true;
    filterKey(KeyAscii);
    mblnBusy = false;
}

void zDLEditBox_Vendra::filterKey(int& k)
{
    TextBoxHandle& box = *mobjTextBox;
    if (k == 0) return;
    if (k == kBack) {
        const QString text = box.Text();
        const int s = box.SelStart();
        if (numeric_ && comma_ && box.SelLength() == 0 && s > 0 && s <= text.size() && text.at(s - 1) == u',') {
            k = 0;
            box.setSelStart(s - 1);
        }
        return;
    }
    if (k == kEnter) {
        if (box.TypeName() == QLatin1String("TextBox") && !box.MultiLine()) k = 0;
        return;
    }
    if (k == kEsc) return;
    QChar ch(static_cast<char16_t>(k));
    if (dotMark_ && ch == u'.') return;

    const QString text = box.Text();
    const int selStart = box.SelStart();
    const int selLength = box.SelLength();
    const QString candidate = selLength == 0 ? text + ch : TextAfterKey(ch, text, selStart, selLength);
    if (maxLength_ != 0 && candidate.size() > maxLength_) {
        k = 0;
        return;
    }
    if (maxLengthB_ != 0 && LeftByBytes(candidate, maxLengthB_) != candidate) {
        k = 0;
        return;
    }

    // From here a failing step does not stop the checks; it only refuses.
    bool failed = false;
    auto refuseBeep = [&] {
        k = 0;
        BeepIfEnabled();
    };
    try {
        if (!numeric_) {
            if (!denyChars_.isEmpty() && denyChars_.contains(ch)) return refuseBeep();
            if (!allowChars_.isEmpty() && !allowChars_.contains(ch)) return refuseBeep();
        } else {
            ch = ToNarrow(QString(ch)).at(0);
            k = ch.unicode();
            const QString sel = box.SelText();
            if (ch == u'.') {
                if (!allowDecimal_) return refuseBeep();
                if (selLength == 0 && text.contains(u'.')) return refuseBeep();
                if (selLength > 0 && text.contains(u'.') && !sel.contains(u'.')) return refuseBeep();
            }
            if (ch == u'-') {
                if (!allowMinus_) return refuseBeep();
                if (rangeSet() && minValue_ >= 0) return refuseBeep();
                if (selLength == 0) {
                    if (!(!text.contains(u'-') && selStart == 0)) return refuseBeep();
                } else if (!text.contains(u'-')) {
                    if (selStart != 0) return refuseBeep();
                } else if (!sel.contains(u'-')) {
                    return refuseBeep();
                }
            }
            if (!QStringLiteral(".-0123456789").contains(ch)) return refuseBeep();
            const QString cand = TextAfterKey(ch, text, selStart, selLength);
            if (!CheckTypedValue(ToDouble(cand))) return refuseBeep();
            if (allowDecimal_) {
                if (intDigits_ != 0 && !cand.startsWith(u'.')) {
                    const int dot = cand.indexOf(u'.');
                    const QString intPart = dot >= 0 ? cand.left(dot) : cand;
                    if (intPart.size() > intDigits_) return refuseBeep();
                }
                if (decDigits_ != 0 && cand.contains(u'.')) {
                    if (cand.size() - cand.indexOf(u'.') - 1 > decDigits_) return refuseBeep();
                }
            }
        }
    } catch (...) {
        failed = true;
    }
    if (failed) k = 0;
}

void zDLEditBox_Vendra::FilterText()
{
    if (!mobjTextBox || mblnBusy) return;
    mblnBusy = true;
    TextBoxHandle& box = *mobjTextBox;
    QString t = box.Text();
    if (!t.isEmpty()) {
        if (!numeric_) {
            QString kept;
            for (QChar ch : t) {
                if (!denyChars_.isEmpty() && denyChars_.contains(ch)) continue;
                if (!allowChars_.isEmpty() && !allowChars_.contains(ch)) continue;
                kept += ch;
            }
            if (kept != t) {
                box.setText(kept);
                t = kept;
            }
        }
        if (maxLength_ != 0 && t.size() > maxLength_) {
            t = t.left(maxLength_);
            box.setText(t);
        }
        if (maxLengthB_ != 0 && LeftByBytes(t, maxLengthB_) != t) {
            t = LeftByBytes(t, maxLengthB_);
            box.setText(t);
        }
    }
    if (numeric_ && comma_) {
        t = box.Text();
        int r = 0;
        for (int i = box.SelStart(); i < t.size(); ++i)
            if (t.at(i) != u',') ++r;
        const QString f = FormatWithCommas(t);
        box.setText(f);
        int pos = f.size();
        if (r > 0) {
            int seen = 0;
            for (int i = f.size() - 1; i >= 0; --i) {
                if (f.at(i) == u',') continue;
                if (++seen == r) {
                    pos = i;
                    break;
                }
            }
        }
        box.setSelStart(pos);
    }
    changed_ = true;
    mblnBusy = false;
}

void zDLEditBox_Vendra::ApplyNumberFormat()
{
    if (!mobjTextBox || !numeric_) return;
    TextBoxHandle& box = *mobjTextBox;
    QString t = box.Text();
    if (dotMark_ && (t == prpDotText() || t == prpDotDotText())) return;
    const bool wasBusy = mblnBusy;
    mblnBusy = true;
    if (comma_) {
        t = FormatWithCommas(t);
        box.setText(t);
    }
    if (fixDecimals_ && decDigits_ > 0 && (!t.isEmpty() || !allowEmpty_)) {
        const std::string pattern = "0." + std::string(static_cast<size_t>(std::min<long>(decDigits_, 20)), '0');
        t = QString::fromStdString(vb::Format(ToDouble(t), pattern));
        box.setText(t);
    }
    mblnBusy = wasBusy;
}

void zDLEditBox_Vendra::ValidateText(bool& rblnErr)
{
    if (!mobjTextBox) return;
    mblnBusy = true;
    TextBoxHandle& box = *mobjTextBox;
    QString t = box.Text();
    auto done = [&] { mblnBusy = false; };
    if (dotMark_ && (t == prpDotText() || t == prpDotDotText())) return done();
    if (allowEmpty_ && t.isEmpty()) return done();
    if (!numeric_) {
        const QString before = t;
        if (t.isEmpty()) {
            if (errText_.isEmpty()) {
                rblnErr = true;
                return done();
            }
            t = errText_;
        }
        if (maxLength_ != 0 && t.size() > maxLength_) t = t.left(maxLength_);
        if (maxLengthB_ != 0 && LeftByBytes(t, maxLengthB_) != t) t = LeftByBytes(t, maxLengthB_);
        if (t != before) box.setText(t);
        return done();
    }
    const QString narrow = ToNarrow(t);
    const double v = comma_ ? ToDouble(narrow) : SafeVal(narrow);
    t = PlainText(v);
    if (dotMark_ && !allowDecimal_ && t.contains(u'.')) t = t.left(t.indexOf(u'.'));
    if (rangeUsable()) {
        const double tv = ToDouble(t);
        if (tv < minValue_ || tv > maxValue_) {
            if (errText_.isEmpty()) {
                box.setText(t);
                rblnErr = true;
                return done();
            }
            // The replacement text is shown as it is, not read as a number.
            box.setText(errText_);
            return done();
        }
    }
    box.setText(t);
    ApplyNumberFormat();
    done();
}

bool zDLEditBox_Vendra::prpIsValid()
{
    bool err = false;
    ValidateText(err);
    return !err;
}

void zDLEditBox_Vendra::CopyTo(zDLEditBox_Vendra& target) const
{
    target.setprpNumeric(numeric_);
    target.setprpMaxLength(maxLength_);
    target.setprpMaxLengthB(maxLengthB_);
    target.setprpAllowChars(allowChars_);
    target.setprpDenyChars(denyChars_);
    target.setprpAllowEmpty(allowEmpty_);
    target.setprpAllowMinus(allowMinus_);
    target.setprpAllowDecimal(allowDecimal_);
    target.setprpIntDigits(intDigits_);
    target.setprpDecDigits(decDigits_);
    target.setprpMinValue(minValue_);
    target.setprpMaxValue(maxValue_);
    target.setprpErrText(errText_);
    target.setprpFixDecimals(fixDecimals_);
    target.setprpBeep(beep_);
    target.setprpComma(comma_);
    target.setprpDotMark(dotMark_);
}

std::unique_ptr<zDLEditBox_Vendra> MakeStressEntryFilter()
{
    auto box = std::make_unique<zDLEditBox_Vendra>();
    box->setprpNumeric(true);
    box->setprpAllowMinus(true);
    box->setprpAllowDecimal(true);
    box->setprpIntDigits(6);
    box->setprpDecDigits(3);
    box->setprpMinValue(-100000);
    box->setprpMaxValue(100000);
    return box;
}
