// A design-factor box of the main window (gamma, alpha 1, alpha 2). A number
// in the range the project keeps goes to the project as it is typed; the box
// showing the stored value is no entry; an entry that ends on anything else
// is refused, and the project goes back to the value from before the entry.
#pragma once

#include <QString>

#include <optional>

class FactorEntry {
public:
    // The box's text changed: true when its number went to value (and twin).
    bool changed(const QString& text, double& value, double* twin);
    // The entry ended: false when its text was refused; value (and twin) are
    // then back at the value from before the entry.
    bool finished(const QString& text, double& value, double* twin);
    // An entry has begun and not ended yet; its value from before.
    std::optional<double> before() const { return before_; }

private:
    std::optional<double> before_;
};

// How the box shows a factor: as stored.
QString FactorText(double value);
