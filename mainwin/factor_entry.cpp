#include "mainwin/factor_entry.h"

#include "model/format.h"
#include "model/project_file.h"
#include "platform/text/vb.h"

#include <exception>
#include <utility>

namespace {

// The leading number of a text, when it is a factor the project keeps.
std::optional<double> AcceptedFactor(const QString& text)
{
    try {
        const double v = vb::Val(text.toStdString());
        if (model::DesignFactorAccepted(v)) return model::RoundDesignFactor(v);
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

void Set(double v, double& value, double* twin)
{
    value = v;
    if (twin) *twin = v;
}

}  // namespace

QString FactorText(double value) { return QString::fromStdString(model::FormatDesignFactor(value)); }

bool FactorEntry::changed(const QString& text, double& value, double* twin)
{
    if (text == FactorText(value)) return false;
    if (!before_) before_ = value;
    const auto v = AcceptedFactor(text);
    if (!v) return false;
    Set(*v, value, twin);
    return true;
}

bool FactorEntry::finished(const QString& text, double& value, double* twin)
{
    const std::optional<double> before = std::exchange(before_, std::nullopt);
    if (!before || text == FactorText(value) || AcceptedFactor(text)) return true;
    Set(*before, value, twin);
    return false;
}
