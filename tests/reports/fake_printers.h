// Installed printers for tests: each with the values it can give and the
// values it takes, a setup dialog that answers from a script, and a log of
// what was asked of it.
#pragma once

#include "platform/qt/print_control.h"
#include "reports/printers.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace reports::testing {

struct FakePrinter {
    std::string name;
    std::optional<std::string> driver;
    std::optional<std::string> port;
    // What the printer gives; a value left out it can neither give nor take.
    std::map<PrinterValue, int32_t> values;
    // The only values it takes of a kind; a kind not listed takes any
    // positive value.
    std::map<PrinterValue, std::set<int32_t>> takes;
};

class FakePrinterBackend final : public PrinterBackend {
public:
    using DialogAnswer = std::function<std::optional<PrinterSetup>(const PrinterSetup&)>;

    std::vector<FakePrinter> printers;
    int current = -1;  // index into printers; -1 none
    bool failing = false;  // every call throws

    std::deque<DialogAnswer> dialogAnswers;  // next answers; cancel when empty
    std::vector<PrinterSetup> dialogOpenedWith;
    std::vector<uint32_t> dialogFlags;
    std::vector<QWidget*> dialogOwners;
    std::vector<std::pair<PrinterValue, int32_t>> writes;  // every write tried
    std::vector<int> printedPages;  // the page count of every document sent

    FakePrinter& Current() { return printers.at(static_cast<std::size_t>(current)); }
    std::string CurrentName() const { return current < 0 ? "" : printers[current].name; }

    std::vector<std::string> InstalledPrinters() override
    {
        Fail();
        std::vector<std::string> names;
        for (const auto& p : printers) names.push_back(p.name);
        return names;
    }
    std::optional<std::string> DeviceName() override
    {
        Fail();
        if (current < 0) return std::nullopt;
        return Current().name;
    }
    bool SelectPrinter(const std::string& deviceName) override
    {
        Fail();
        for (std::size_t i = 0; i < printers.size(); ++i) {
            if (printers[i].name == deviceName) {
                current = static_cast<int>(i);
                return true;
            }
        }
        return false;
    }
    std::optional<std::string> DriverName() override
    {
        Fail();
        return current < 0 ? std::nullopt : Current().driver;
    }
    std::optional<std::string> Port() override
    {
        Fail();
        return current < 0 ? std::nullopt : Current().port;
    }
    std::optional<int32_t> Value(PrinterValue which) override
    {
        Fail();
        if (current < 0) return std::nullopt;
        const auto it = Current().values.find(which);
        if (it == Current().values.end()) return std::nullopt;
        return it->second;
    }
    bool setValue(PrinterValue which, int32_t value) override
    {
        Fail();
        writes.emplace_back(which, value);
        if (current < 0) return false;
        FakePrinter& p = Current();
        if (!p.values.count(which) || value <= 0) return false;
        const auto only = p.takes.find(which);
        if (only != p.takes.end() && !only->second.count(value)) return false;
        p.values[which] = value;
        return true;
    }
    std::optional<PrinterSetup> ShowSetupDialog(const PrinterSetup& setup, uint32_t flags,
                                                QWidget* owner) override
    {
        Fail();
        dialogOpenedWith.push_back(setup);
        dialogFlags.push_back(flags);
        dialogOwners.push_back(owner);
        if (dialogAnswers.empty()) return std::nullopt;
        DialogAnswer answer = std::move(dialogAnswers.front());
        dialogAnswers.pop_front();
        return answer(setup);
    }

    void PrintDocument(const vbqt::PrintControl& document) override
    {
        Fail();
        printedPages.push_back(document.PageCount());
    }

private:
    void Fail() const
    {
        if (failing) throw std::runtime_error("the printer does not answer");
    }
};

// One installed and chosen printer while it lives; the program's own after.
class OnePrinter {
public:
    OnePrinter()
    {
        auto backend = std::make_unique<FakePrinterBackend>();
        backend->printers = {{"事務所のプリンタ", "driver", "port", {}, {}}};
        backend->current = 0;
        fake = backend.get();
        SetPrinterBackend(std::move(backend));
    }
    ~OnePrinter() { SetPrinterBackend(nullptr); }
    OnePrinter(const OnePrinter&) = delete;
    OnePrinter& operator=(const OnePrinter&) = delete;

    FakePrinterBackend* fake = nullptr;
};

}  // namespace reports::testing
