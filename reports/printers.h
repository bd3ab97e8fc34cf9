// The printer the print jobs go to: the user picks it and its paper once in
// the platform's print-setup dialog, and the choice can be remembered in
// memory and made current again. The platform's printer is reached through
// PrinterBackend, so the procedures run the same on Qt and in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace vbqt {
class PrintControl;
}

namespace reports {

// The message when no printer is installed.
inline constexpr const char* kNoPrinterText = "プリンタがインストールされていません。";

// The dialog flag of its print-setup form.
constexpr uint32_t PD_PRINTSETUP = 0x40;

// The printer's paper code of a size given by width and height.
constexpr int16_t kUserPaperSize = 256;
// Characters of the device name held in PrinterSetup::dmDeviceName.
constexpr std::size_t kDeviceNameChars = 32;

// Bits of PrinterSetup::dmFields: which values were read from the printer.
constexpr uint32_t DM_ORIENTATION = 0x1;
constexpr uint32_t DM_PAPERSIZE = 0x2;
constexpr uint32_t DM_PAPERLENGTH = 0x4;
constexpr uint32_t DM_PAPERWIDTH = 0x8;
constexpr uint32_t DM_SCALE = 0x10;
constexpr uint32_t DM_DEFAULTSOURCE = 0x200;
constexpr uint32_t DM_PRINTQUALITY = 0x400;
constexpr uint32_t DM_COLOR = 0x800;
constexpr uint32_t DM_DUPLEX = 0x1000;

// What the setup dialog is opened with and answers: the printer's values
// (a value without its bit was not given and is 0) and the names of the
// driver, the device and the port.
struct PrinterSetup {
    std::string dmDeviceName;  // kDeviceNameChars characters, blank-padded
    uint32_t dmFields = 0;
    int16_t dmOrientation = 0;  // 1 portrait, 2 landscape
    int16_t dmPaperSize = 0;    // paper code: 1 Letter, 9 A4, ..., 256 user-defined
    int16_t dmPaperLength = 0;  // tenths of a millimetre; user-defined size only
    int16_t dmPaperWidth = 0;   // tenths of a millimetre; user-defined size only
    int16_t dmScale = 0;        // percent
    int16_t dmDefaultSource = 0;  // paper bin
    int16_t dmPrintQuality = 0;   // dots per inch, or a negative quality class
    int16_t dmColor = 0;          // 1 monochrome, 2 colour
    int16_t dmDuplex = 0;         // 1 simplex, 2 long edge, 3 short edge
    std::string driverName;
    std::string deviceName;  // the full name; the chosen printer after the dialog
    std::string port;
};

// The values of the current printer, in the codes of PrinterSetup.
enum class PrinterValue {
    PaperSize,
    Orientation,
    PaperBin,
    PrintQuality,
    ColorMode,
    Duplex,
    Scale,
    PageWidth,   // tenths of a millimetre
    PageHeight,  // tenths of a millimetre
};

// The program's current printer and the installed printers. A read gives
// nullopt for a value the printer cannot give; a write gives false when the
// printer refuses the value. Either may also throw when the printer fails.
class PrinterBackend {
public:
    virtual ~PrinterBackend() = default;

    // Device names of the installed printers, in the platform's order.
    virtual std::vector<std::string> InstalledPrinters() = 0;
    // nullopt when there is no current printer.
    virtual std::optional<std::string> DeviceName() = 0;
    // Makes the installed printer of exactly this device name current.
    virtual bool SelectPrinter(const std::string& deviceName) = 0;
    virtual std::optional<std::string> DriverName() = 0;
    virtual std::optional<std::string> Port() = 0;
    virtual std::optional<int32_t> Value(PrinterValue which) = 0;
    virtual bool setValue(PrinterValue which, int32_t value) = 0;

    // The platform's print-setup dialog, modal to owner, opened on `setup`;
    // the user's choice, or nullopt when the user cancels. It leaves the
    // current printer as it is.
    virtual std::optional<PrinterSetup> ShowSetupDialog(const PrinterSetup& setup, uint32_t flags,
                                                        QWidget* owner) = 0;

    // Sends the document's pages, each with its own paper, to the current
    // printer; the printer keeps its own paper for later jobs. Throws when
    // the printer fails.
    virtual void PrintDocument(const vbqt::PrintControl& document) = 0;
};

// The backend in use; the Qt one until another is set. nullptr goes back to
// a new Qt one.
PrinterBackend& CurrentPrinterBackend();
void SetPrinterBackend(std::unique_ptr<PrinterBackend> backend);

// The current printer's values as the setup dialog is opened with them, each
// read on its own; an unreadable value is left out. The paper-size bit is
// always set, the width and length only for the user-defined size.
PrinterSetup ReadPrinterSetup(PrinterBackend& printer);

// The remembered printer; only SavePrinterSettings writes them, nothing
// keeps them past the end of the program.
extern std::string gSavedDeviceName;
extern int16_t gSavedPaperSize;
extern int16_t gSavedOrientation;
extern int16_t gSavedPaperBin;

// Opens the setup dialog on the current printer and makes the chosen printer
// and paper current. True when the user confirmed; false when the user
// cancelled, or with a message when no printer is installed or the printer
// fails.
bool ShowPrinterDialog(uint32_t flags, QWidget* owner);
// Makes the installed printer of that device name (letter case ignored)
// current and applies the three paper values, ignoring every failure. True
// when the current printer then has that name.
bool SelectPrinterByName(const std::string& deviceName, int16_t paperSize, int16_t orientation,
                         int16_t paperBin);
// Remembers the current printer's device name, paper size, orientation and
// paper bin (0 for one it cannot give). With no printer, or a failing one, a
// message is shown and the remembered values stay as they were.
void SavePrinterSettings();
// The printer set-up of the File menu and the print dialog: the setup dialog,
// and the choice remembered when confirmed.
void ShowPrinterSetup(QWidget* owner);
// SelectPrinterByName with the remembered values.
bool RestorePrinterSettings();

// The program's one printer, on the platform's default printer at first
// (or on no printer when none is installed). The Qt backend works on it.
QPrinter& CurrentPrinter();

// The values of PrinterValue read from and written to a QPrinter, whatever it
// prints to; what the printer device does not support is refused.
std::optional<int32_t> ReadQtPrinterValue(const QPrinter& printer, PrinterValue which);
bool WriteQtPrinterValue(QPrinter& printer, PrinterValue which, int32_t value);

// The current printer on Qt: CurrentPrinter() among the printers Qt finds;
// QPrintDialog as the setup dialog. With no printer every read is nullopt and
// every write false.
class QtPrinterBackend final : public PrinterBackend {
public:
    QtPrinterBackend();
    explicit QtPrinterBackend(QPrinter& printer);

    std::vector<std::string> InstalledPrinters() override;
    std::optional<std::string> DeviceName() override;
    bool SelectPrinter(const std::string& deviceName) override;
    std::optional<std::string> DriverName() override;
    std::optional<std::string> Port() override;
    std::optional<int32_t> Value(PrinterValue which) override;
    bool setValue(PrinterValue which, int32_t value) override;
    std::optional<PrinterSetup> ShowSetupDialog(const PrinterSetup& setup, uint32_t flags,
                                                QWidget* owner) override;
    void PrintDocument(const vbqt::PrintControl& document) override;

private:
    bool HasPrinter() const;

    QPrinter& printer_;
};

}  // namespace reports
