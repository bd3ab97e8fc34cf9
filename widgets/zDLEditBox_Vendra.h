// Input filter of one single-line text box. Text mode: lists of allowed and
// refused characters, limits in characters and in code-page-932 bytes.
// Numeric mode: a signed decimal number with digit limits and a range that is
// already enforced while typing, optional separators and fixed decimals, the
// marks "." and "..", an optional empty entry and a replacement text.
//
// Character codes (KeyAscii) are UTF-16 code units; 0 cancels a key.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace qtgrid {
class TextBoxHandle;
}

class zDLEditBox_Vendra {
public:
    zDLEditBox_Vendra();
    ~zDLEditBox_Vendra();
    zDLEditBox_Vendra(const zDLEditBox_Vendra&) = delete;
    zDLEditBox_Vendra& operator=(const zDLEditBox_Vendra&) = delete;

    void InitEditBox();
    void FilterText();
    void SaveOldText();
    void FilterKeyPress(int& KeyAscii);
    void ApplyNumberFormat();
    void ValidateText(bool& rblnErr);
    void AttachTextBox(qtgrid::TextBoxHandle* box);

    bool prpNumeric() const { return numeric_; }
    void setprpNumeric(bool v) { numeric_ = v; }
    long prpMaxLength() const { return maxLength_; }
    void setprpMaxLength(long v) { maxLength_ = v; }
    long prpMaxLengthB() const { return maxLengthB_; }
    void setprpMaxLengthB(long v);
    QString prpAllowChars() const { return allowChars_; }
    void setprpAllowChars(const QString& v) { allowChars_ = v; }
    QString prpDenyChars() const { return denyChars_; }
    void setprpDenyChars(const QString& v) { denyChars_ = v; }
    bool prpAllowEmpty() const { return allowEmpty_; }
    void setprpAllowEmpty(bool v) { allowEmpty_ = v; }
    bool prpAllowMinus() const { return allowMinus_; }
    void setprpAllowMinus(bool v) { allowMinus_ = v; }
    bool prpAllowDecimal() const { return allowDecimal_; }
    void setprpAllowDecimal(bool v) { allowDecimal_ = v; }
    long prpIntDigits() const { return intDigits_; }
    void setprpIntDigits(long v) { intDigits_ = v; }
    long prpDecDigits() const { return decDigits_; }
    void setprpDecDigits(long v) { decDigits_ = v; }
    double prpMinValue() const { return minValue_; }
    void setprpMinValue(double v) { minValue_ = v; }
    double prpMaxValue() const { return maxValue_; }
    void setprpMaxValue(double v) { maxValue_ = v; }
    QString prpErrText() const { return errText_; }
    void setprpErrText(const QString& v) { errText_ = v; }
    bool prpFixDecimals() const { return fixDecimals_; }
    void setprpFixDecimals(bool v) { fixDecimals_ = v; }
    bool prpBeep() const { return beep_; }
    void setprpBeep(bool v) { beep_ = v; }
    bool prpComma() const { return comma_; }
    void setprpComma(bool v) { comma_ = v; }
    bool prpDotMark() const { return dotMark_; }
    void setprpDotMark(bool v) { dotMark_ = v; }

    bool prpChanged() const { return changed_; }
    static QString prpDotText() { return QStringLiteral("."); }
    static QString prpDotDotText() { return QStringLiteral(".."); }
    bool prpIsValid();
    void CopyTo(zDLEditBox_Vendra& target) const;

    // The box the filter guards (tests and the editor look at it).
    qtgrid::TextBoxHandle* textBox() const { return mobjTextBox; }
    bool busy() const { return mblnBusy; }

    // The sound of a refused key; the system beep unless replaced (tests).
    void setBeepSink(std::function<void()> sink) { beepSink_ = std::move(sink); }

    // Full-width digits, stops, minus signs and blanks to their ASCII forms.
    static QString ToNarrow(const QString& s);
    // Bytes of the text in code page 932: ASCII and half-width katakana 1,
    // every other character 2.
    static int ByteCount(const QString& s);
    // The longest run of whole leading characters within `bytes`.
    static QString LeftByBytes(const QString& s, long bytes);
    // "1234.5" -> "1,234.5"; leading zeros and the fraction are kept.
    static QString FormatWithCommas(const QString& s);
    // A number or text read as a number ("," separators allowed); 0 when it
    // does not read as one.
    static double ToDouble(const QString& s);
    // The plain text form of a number: no separators, no trailing zeros,
    // at most 15 significant digits, "." as decimal point.
    static QString PlainText(double v);

private:
    struct Split {
        int sign;
        double whole;
        double fraction;
        QString intText;
    };
    bool CheckTypedValue(double v) const;
    static Split SplitNumber(const QString& t);
    static QString TextAfterKey(QChar ch, const QString& text, int s, int n);
    void ApplyMaxLengthB();
    void BeepIfEnabled();
    bool rangeSet() const { return minValue_ != 0 || maxValue_ != 0; }
    bool rangeUsable() const { return rangeSet() && minValue_ <= maxValue_; }
    void filterKey(int& k);

    qtgrid::TextBoxHandle* mobjTextBox = nullptr;
    bool mblnBusy = false;
    bool changed_ = false;

    bool numeric_ = false;
    long maxLength_ = 0;
    long maxLengthB_ = 0;
    QString allowChars_;
    QString denyChars_;
    bool allowEmpty_ = false;
    bool allowMinus_ = false;
    bool allowDecimal_ = false;
    long intDigits_ = 0;
    long decDigits_ = 0;
    double minValue_ = 0;
    double maxValue_ = 0;
    QString errText_;
    bool fixDecimals_ = false;
    bool beep_ = true;
    bool comma_ = false;
    bool dotMark_ = false;
    std::function<void()> beepSink_;
};

// The filter of a stress entry: a number with a minus sign and a decimal
// point, six digits before it and three after, from -100000 to 100000.
std::unique_ptr<zDLEditBox_Vendra> MakeStressEntryFilter();
