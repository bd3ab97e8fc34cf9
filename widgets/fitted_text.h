// Controls whose text must be read whole in a box of designed width: a text
// wider than the box is condensed horizontally rather than cut or scrolled,
// so no digit, sign or index goes missing; a text that fits is left as it is.
#pragma once

#include <QLabel>

class QLineEdit;

// A one-line label drawn condensed when its text is wider than the label.
class FittedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Sets the box's font, from its face at `baseStretch`, condensed just enough
// that the box need not scroll its text.
void FitLineEditFont(QLineEdit& box, int baseStretch);

// Keeps the box so from now on: refitted whenever its text changes.
void KeepLineEditTextWhole(QLineEdit& box);
