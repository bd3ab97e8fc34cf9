// The current printer on Qt. Paper codes are those QPageSize knows as the
// platform paper ids; bins, colour and duplex are mapped to the same codes.
#include "reports/printers.h"

#include "drawing/state_guard.h"
#include "platform/qt/print_control.h"

#include <QAbstractPrintDialog>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace reports {

namespace {

// Paper bins in the order of QPrinter::PaperSource, from OnlyOne to
// FormSource; the platform has no code for Qt's CustomSource.
constexpr int16_t kBinCodes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15};
constexpr int kBinCount = static_cast<int>(sizeof(kBinCodes) / sizeof(kBinCodes[0]));

constexpr int16_t kMonochrome = 1;
constexpr int16_t kColour = 2;
constexpr int16_t kSimplex = 1;
constexpr int16_t kDuplexLongEdge = 2;
constexpr int16_t kDuplexShortEdge = 3;

int32_t TenthsOfMm(double mm)
{
    return static_cast<int32_t>(std::lround(mm * 10.0));
}

// The paper as the printer describes it, turned upright.
QSizeF PaperMm(const QPrinter& printer)
{
    return printer.pageLayout().pageSize().size(QPageSize::Millimeter);
}

bool SetPaperMm(QPrinter& printer, const QSizeF& mm)
{
    if (!(mm.width() > 0 && mm.height() > 0)) return false;
    const QPageSize size(mm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return size.isValid() && printer.setPageSize(size);
}

// The printer device's own limits; a printer that prints to a file has none.
template <typename T>
bool DeviceAccepts(const QList<T>& supported, T value)
{
    return supported.isEmpty() || supported.contains(value);
}

// Sizes from the device carry its own names: compare the paper only.
bool DeviceHasPaper(const QPrinterInfo& device, const QPageSize& size)
{
    const QList<QPageSize> supported = device.supportedPageSizes();
    if (supported.isEmpty()) return true;
    for (const QPageSize& s : supported)
        if (s.isEquivalentTo(size)) return true;
    return false;
}

std::optional<QPrinter::DuplexMode> DuplexOf(int32_t code)
{
    switch (code) {
    case kSimplex: return QPrinter::DuplexNone;
    case kDuplexLongEdge: return QPrinter::DuplexLongSide;
    case kDuplexShortEdge: return QPrinter::DuplexShortSide;
    default: return std::nullopt;
    }
}

void ApplyKnownValues(QPrinter& printer, const PrinterSetup& setup)
{
    if (setup.dmFields & DM_PAPERSIZE) {
        if (setup.dmPaperSize == kUserPaperSize) {
            if ((setup.dmFields & DM_PAPERWIDTH) && (setup.dmFields & DM_PAPERLENGTH))
                SetPaperMm(printer, QSizeF(setup.dmPaperWidth / 10.0, setup.dmPaperLength / 10.0));
        } else {
            WriteQtPrinterValue(printer, PrinterValue::PaperSize, setup.dmPaperSize);
        }
    }
    const struct {
        uint32_t bit;
        PrinterValue which;
        int16_t value;
    } rest[] = {
        {DM_ORIENTATION, PrinterValue::Orientation, setup.dmOrientation},
        {DM_DEFAULTSOURCE, PrinterValue::PaperBin, setup.dmDefaultSource},
        {DM_PRINTQUALITY, PrinterValue::PrintQuality, setup.dmPrintQuality},
        {DM_COLOR, PrinterValue::ColorMode, setup.dmColor},
        {DM_DUPLEX, PrinterValue::Duplex, setup.dmDuplex},
    };
    for (const auto& r : rest)
        if (setup.dmFields & r.bit) WriteQtPrinterValue(printer, r.which, r.value);
}

}  // namespace

QPrinter& CurrentPrinter()
{
    // Made on first use, when the application exists, and kept to the end:
    // destroying it after the application would reach a platform gone.
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

std::optional<int32_t> ReadQtPrinterValue(const QPrinter& printer, PrinterValue which)
{
    switch (which) {
    case PrinterValue::PaperSize: {
        const QPageSize size = printer.pageLayout().pageSize();
        if (!size.isValid()) return std::nullopt;
        // Qt's sizes without a platform code read as user-defined.
        const int code = size.windowsId();
        return code > 0 ? code : kUserPaperSize;
    }
    case PrinterValue::Orientation:
        return printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    case PrinterValue::PaperBin: {
        const int source = static_cast<int>(printer.paperSource());
        if (source < 0 || source >= kBinCount) return std::nullopt;
        return kBinCodes[source];
    }
    case PrinterValue::PrintQuality: {
        const int dpi = printer.resolution();
        if (dpi <= 0) return std::nullopt;
        return dpi;
    }
    case PrinterValue::ColorMode:
        return printer.colorMode() == QPrinter::Color ? kColour : kMonochrome;
    case PrinterValue::Duplex:
        switch (printer.duplex()) {
        case QPrinter::DuplexNone: return kSimplex;
        case QPrinter::DuplexLongSide: return kDuplexLongEdge;
        case QPrinter::DuplexShortSide: return kDuplexShortEdge;
        default: return std::nullopt;  // left to the device: no code for it
        }
    case PrinterValue::Scale:
        return std::nullopt;  // Qt printers have no zoom
    case PrinterValue::PageWidth: {
        const QSizeF mm = PaperMm(printer);
        if (!(mm.width() > 0)) return std::nullopt;
        return TenthsOfMm(mm.width());
    }
    case PrinterValue::PageHeight: {
        const QSizeF mm = PaperMm(printer);
        if (!(mm.height() > 0)) return std::nullopt;
        return TenthsOfMm(mm.height());
    }
    }
    return std::nullopt;
}

bool WriteQtPrinterValue(QPrinter& printer, PrinterValue which, int32_t value)
{
    // The device is looked up among the platform's printers only where its
    // capabilities decide.
    switch (which) {
    case PrinterValue::PaperSize: {
        // The user-defined size keeps the paper's dimensions until the width
        // and height are set.
        if (value == kUserPaperSize) return PaperMm(printer).isValid();
        const QPageSize::PageSizeId id = QPageSize::id(static_cast<int>(value));
        if (value <= 0 || id == QPageSize::Custom) return false;
        const QPageSize size(id);
        const QPrinterInfo device(printer);
        if (!device.isNull() && !DeviceHasPaper(device, size)) return false;
        return printer.setPageSize(size) && printer.pageLayout().pageSize().id() == id;
    }
    case PrinterValue::Orientation:
        if (value != 1 && value != 2) return false;
        return printer.setPageOrientation(value == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    case PrinterValue::PaperBin:
        // Qt lists a printer's bins on no platform but one, so any bin that
        // has a code is taken.
        for (int source = 0; source < kBinCount; ++source) {
            if (kBinCodes[source] != value) continue;
            const auto bin = static_cast<QPrinter::PaperSource>(source);
            printer.setPaperSource(bin);
            return printer.paperSource() == bin;
        }
        return false;
    case PrinterValue::PrintQuality:
        // Only dots per inch; the quality classes have no Qt counterpart.
        if (value <= 0 || !DeviceAccepts(printer.supportedResolutions(), static_cast<int>(value)))
            return false;
        printer.setResolution(static_cast<int>(value));
        return printer.resolution() == value;
    case PrinterValue::ColorMode: {
        if (value != kMonochrome && value != kColour) return false;
        const auto mode = value == kColour ? QPrinter::Color : QPrinter::GrayScale;
        const QPrinterInfo device(printer);
        if (!device.isNull() && !DeviceAccepts(device.supportedColorModes(), mode)) return false;
        printer.setColorMode(mode);
        return printer.colorMode() == mode;
    }
    case PrinterValue::Duplex: {
        const auto mode = DuplexOf(value);
        const QPrinterInfo device(printer);
        if (!mode || (!device.isNull() && !DeviceAccepts(device.supportedDuplexModes(), *mode)))
            return false;
        printer.setDuplex(*mode);
        return printer.duplex() == *mode;
    }
    case PrinterValue::Scale:
        return false;
    case PrinterValue::PageWidth:
        return SetPaperMm(printer, QSizeF(value / 10.0, PaperMm(printer).height()));
    case PrinterValue::PageHeight:
        return SetPaperMm(printer, QSizeF(PaperMm(printer).width(), value / 10.0));
    }
    return false;
}

QtPrinterBackend::QtPrinterBackend() : printer_(CurrentPrinter()) {}

QtPrinterBackend::QtPrinterBackend(QPrinter& printer) : printer_(printer) {}

bool QtPrinterBackend::HasPrinter() const
{
    // With no printer installed Qt falls back to writing PDF files.
    return printer_.outputFormat() == QPrinter::NativeFormat && !printer_.printerName().isEmpty();
}

std::vector<std::string> QtPrinterBackend::InstalledPrinters()
{
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) names.push_back(name.toStdString());
    return names;
}

std::optional<std::string> QtPrinterBackend::DeviceName()
{
    if (!HasPrinter()) return std::nullopt;
    return printer_.printerName().toStdString();
}

bool QtPrinterBackend::SelectPrinter(const std::string& deviceName)
{
    const QString name = QString::fromStdString(deviceName);
    if (QPrinterInfo::printerInfo(name).isNull()) return false;
    printer_.setPrinterName(name);
    return HasPrinter() && printer_.printerName() == name;
}

std::optional<std::string> QtPrinterBackend::DriverName()
{
    if (!HasPrinter()) return std::nullopt;
    const QString model = QPrinterInfo(printer_).makeAndModel();
    if (model.isEmpty()) return std::nullopt;
    return model.toStdString();
}

std::optional<std::string> QtPrinterBackend::Port()
{
    // Qt does not tell where a printer is connected.
    return std::nullopt;
}

std::optional<int32_t> QtPrinterBackend::Value(PrinterValue which)
{
    if (!HasPrinter()) return std::nullopt;
    return ReadQtPrinterValue(printer_, which);
}

bool QtPrinterBackend::setValue(PrinterValue which, int32_t value)
{
    if (!HasPrinter()) return false;
    return WriteQtPrinterValue(printer_, which, value);
}

std::optional<PrinterSetup> QtPrinterBackend::ShowSetupDialog(const PrinterSetup& setup, uint32_t flags,
                                                              QWidget* owner)
{
    // The dialog works on a printer of its own, so cancelling changes nothing.
    QPrinter work(QPrinter::HighResolution);
    const QString name = QString::fromStdString(setup.deviceName);
    if (!QPrinterInfo::printerInfo(name).isNull()) work.setPrinterName(name);
    ApplyKnownValues(work, setup);

    QPrintDialog dialog(&work, owner);
    // The setup form chooses a printer and its paper only: no pages, copies
    // or printing to a file.
    if (flags & PD_PRINTSETUP) dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    QtPrinterBackend chosen(work);
    return ReadPrinterSetup(chosen);
}

void QtPrinterBackend::PrintDocument(const vbqt::PrintControl& document)
{
    const QPageLayout layout = printer_.pageLayout();
    const bool fullPage = printer_.fullPage();
    drawing::StateGuard back;
    back.onExit([this, layout, fullPage] {
        printer_.setFullPage(fullPage);
        printer_.setPageLayout(layout);
    });
    document.print(printer_);
    back.restore();
}

}  // namespace reports
