#include "platform/ui/ui.h"

#include <chrono>
#include <iostream>
#include <thread>

namespace ui {

void UserInterface::waitUntil(const std::function<bool()>& finished, int intervalMs)
{
    const auto interval = std::chrono::milliseconds(intervalMs > 0 ? intervalMs : 1);
    while (!finished()) std::this_thread::sleep_for(interval);
}

namespace {

class PlainUserInterface final : public UserInterface {
public:
    void message(const std::string& text, const std::string& title, MessageKind) override
    {
        std::cerr << title << ": " << text << '\n';
    }
    Answer question(const std::string& text, const std::string& title, Buttons buttons,
                    std::optional<Answer> = std::nullopt) override
    {
        std::cerr << title << ": " << text << '\n';
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    }
    std::optional<std::string> chooseFile(const FileRequest&) override { return std::nullopt; }
};

PlainUserInterface gPlain;
UserInterface* gCurrent = nullptr;

}  // namespace

UserInterface& Current() { return gCurrent ? *gCurrent : gPlain; }

void SetCurrent(UserInterface* ui) { gCurrent = ui; }

}  // namespace ui
