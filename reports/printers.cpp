#include "reports/printers.h"

#include "model/failure.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"

#include <exception>
#include <limits>

namespace reports {

std::string gSavedDeviceName;
int16_t gSavedPaperSize = 0;
int16_t gSavedOrientation = 0;
int16_t gSavedPaperBin = 0;

namespace {

constexpr const char* kTitle = "プリンタの設定";
constexpr const char* kBadPaperText = "指定された用紙サイズが不正です";
constexpr const char* kPrinterFailedText = "プリンタを使用できません。";

std::unique_ptr<PrinterBackend>& BackendSlot()
{
    static std::unique_ptr<PrinterBackend> backend;
    return backend;
}

void ShowMessage(const std::string& text)
{
    ui::Current().message(text, kTitle, ui::MessageKind::Warning);
}

void ShowFailure(const std::exception& e)
{
    ShowMessage(kPrinterFailedText + std::string("\r\n") + model::TellFailure(e, model::FailureKind::PrintFailed));
}

bool SameDevice(const std::string& a, const std::string& b)
{
    return vb::UCase(a) == vb::UCase(b);
}

// A value that fails to come, or does not fit the 16-bit field it goes to,
// counts as one the printer cannot give.
std::optional<int16_t> Read16(PrinterBackend& printer, PrinterValue which)
{
    std::optional<int32_t> v;
    try {
        v = printer.Value(which);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!v || *v < std::numeric_limits<int16_t>::min() || *v > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(*v);
}

std::optional<std::string> ReadText(PrinterBackend& printer, std::optional<std::string> (PrinterBackend::*read)())
{
    try {
        return (printer.*read)();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool Write(PrinterBackend& printer, PrinterValue which, int32_t value)
{
    try {
        return printer.setValue(which, value);
    } catch (const std::exception&) {
        return false;
    }
}

// The installed printer whose device name matches, letter case ignored,
// becomes current; the walk stops at the first match.
void SelectMatching(PrinterBackend& printer, const std::vector<std::string>& installed,
                    const std::string& deviceName)
{
    for (const auto& name : installed) {
        if (SameDevice(name, deviceName)) {
            printer.SelectPrinter(name);
            return;
        }
    }
}

void ApplyChosenSetup(PrinterBackend& printer, const PrinterSetup& chosen)
{
    const bool paperSet =
        chosen.dmPaperSize == kUserPaperSize
            ? Write(printer, PrinterValue::PaperSize, kUserPaperSize) &&
                  Write(printer, PrinterValue::PageWidth, chosen.dmPaperWidth) &&
                  Write(printer, PrinterValue::PageHeight, chosen.dmPaperLength)
            : Write(printer, PrinterValue::PaperSize, chosen.dmPaperSize);
    if (!paperSet) ui::Current().message(kBadPaperText, kTitle, ui::MessageKind::Warning);

    Write(printer, PrinterValue::PaperBin, chosen.dmDefaultSource);
    Write(printer, PrinterValue::PrintQuality, chosen.dmPrintQuality);
    Write(printer, PrinterValue::ColorMode, chosen.dmColor);
    Write(printer, PrinterValue::Duplex, chosen.dmDuplex);
    Write(printer, PrinterValue::Orientation, chosen.dmOrientation);
    Write(printer, PrinterValue::Scale, chosen.dmScale);
}

}  // namespace

PrinterBackend& CurrentPrinterBackend()
{
    auto& backend = BackendSlot();
    if (!backend) backend = std::make_unique<QtPrinterBackend>();
    return *backend;
}

void SetPrinterBackend(std::unique_ptr<PrinterBackend> backend)
{
    BackendSlot() = std::move(backend);
}

PrinterSetup ReadPrinterSetup(PrinterBackend& printer)
{
    PrinterSetup s;
    const auto device = ReadText(printer, &PrinterBackend::DeviceName);
    s.dmDeviceName = text::FitChars(device.value_or(""), kDeviceNameChars);

    s.dmFields = DM_PAPERSIZE;
    if (auto v = Read16(printer, PrinterValue::PaperSize)) s.dmPaperSize = *v;
    if (s.dmPaperSize == kUserPaperSize) {
        if (auto v = Read16(printer, PrinterValue::PageWidth)) {
            s.dmPaperWidth = *v;
            s.dmFields |= DM_PAPERWIDTH;
        }
        if (auto v = Read16(printer, PrinterValue::PageHeight)) {
            s.dmPaperLength = *v;
            s.dmFields |= DM_PAPERLENGTH;
        }
    }
    const struct {
        PrinterValue which;
        int16_t PrinterSetup::*field;
        uint32_t bit;
    } rest[] = {
        {PrinterValue::PaperBin, &PrinterSetup::dmDefaultSource, DM_DEFAULTSOURCE},
        {PrinterValue::PrintQuality, &PrinterSetup::dmPrintQuality, DM_PRINTQUALITY},
        {PrinterValue::ColorMode, &PrinterSetup::dmColor, DM_COLOR},
        {PrinterValue::Duplex, &PrinterSetup::dmDuplex, DM_DUPLEX},
        {PrinterValue::Orientation, &PrinterSetup::dmOrientation, DM_ORIENTATION},
        {PrinterValue::Scale, &PrinterSetup::dmScale, DM_SCALE},
    };
    for (const auto& r : rest) {
        if (auto v = Read16(printer, r.which)) {
            s.*r.field = *v;
            s.dmFields |= r.bit;
        }
    }

    s.driverName = ReadText(printer, &PrinterBackend::DriverName).value_or("");
    s.deviceName = device.value_or("");
    s.port = ReadText(printer, &PrinterBackend::Port).value_or("");
    return s;
}

bool ShowPrinterDialog(uint32_t flags, QWidget* owner)
{
    PrinterBackend& printer = CurrentPrinterBackend();
    try {
        // Without a printer there is nothing to set up.
        if (printer.InstalledPrinters().empty()) {
            ShowMessage(kNoPrinterText);
            return false;
        }
        const auto chosen = printer.ShowSetupDialog(ReadPrinterSetup(printer), flags, owner);
        if (!chosen) return false;

        // The chosen name ends at the first NUL, as the dialog's name list has it.
        const std::string deviceName = chosen->deviceName.substr(0, chosen->deviceName.find('\0'));
        SelectMatching(printer, printer.InstalledPrinters(), deviceName);
        ApplyChosenSetup(printer, *chosen);
        return true;
    } catch (const std::exception& e) {
        ShowFailure(e);
        return false;
    }
}

bool SelectPrinterByName(const std::string& deviceName, int16_t paperSize, int16_t orientation,
                         int16_t paperBin)
{
    PrinterBackend& printer = CurrentPrinterBackend();
    try {
        SelectMatching(printer, printer.InstalledPrinters(), deviceName);
    } catch (const std::exception&) {
        // The paper values still go to whatever printer is current.
    }
    Write(printer, PrinterValue::PaperSize, paperSize);
    Write(printer, PrinterValue::Orientation, orientation);
    Write(printer, PrinterValue::PaperBin, paperBin);
    const auto current = ReadText(printer, &PrinterBackend::DeviceName);
    return current && SameDevice(*current, deviceName);
}

void SavePrinterSettings()
{
    PrinterBackend& printer = CurrentPrinterBackend();
    std::optional<std::string> device;
    try {
        device = printer.DeviceName();
    } catch (const std::exception& e) {
        ShowFailure(e);
        return;
    }
    if (!device) {
        ShowMessage(kNoPrinterText);
        return;
    }
    // A value the printer cannot give is remembered as 0, which restoring
    // then tries and drops like any refused value.
    const int16_t paperSize = Read16(printer, PrinterValue::PaperSize).value_or(0);
    const int16_t orientation = Read16(printer, PrinterValue::Orientation).value_or(0);
    const int16_t paperBin = Read16(printer, PrinterValue::PaperBin).value_or(0);
    gSavedDeviceName = *device;
    gSavedPaperSize = paperSize;
    gSavedOrientation = orientation;
    gSavedPaperBin = paperBin;
}

void ShowPrinterSetup(QWidget* owner)
{
    if (ShowPrinterDialog(PD_PRINTSETUP, owner)) SavePrinterSettings();
}

bool RestorePrinterSettings()
{
    return SelectPrinterByName(gSavedDeviceName, gSavedPaperSize, gSavedOrientation, gSavedPaperBin);
}

}  // namespace reports
