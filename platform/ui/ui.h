// How the model reaches the user: messages, questions, file choice and
// waiting for another program. The program implements it with Qt widgets;
// tests implement it with scripted answers. No GUI library is used here.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace ui {

enum class MessageKind { Information, Warning, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// One open or save dialog. Filter pairs are "caption|pattern|caption|pattern".
struct FileRequest {
    bool save = false;
    std::string title;
    std::string initDir;
    std::string filter;
    std::string defaultExt;
    std::string fileName;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    virtual void message(const std::string& text, const std::string& title, MessageKind kind) = 0;
    // defaultButton: the button that Enter presses; none given means the
    // first one.
    virtual Answer question(const std::string& text, const std::string& title, Buttons buttons,
                            std::optional<Answer> defaultButton = std::nullopt) = 0;
    // The chosen full path; nullopt when the user cancels.
    virtual std::optional<std::string> chooseFile(const FileRequest& request) = 0;

    // Returns once finished() is true, asking it at once and then every
    // intervalMs; meanwhile the user cannot work in the program. The default
    // blocks the calling thread between the polls.
    virtual void waitUntil(const std::function<bool()>& finished, int intervalMs);
};

// The interface in use. Before one is set, a plain one is used that writes
// messages to stderr, answers Cancel (or No), chooses no file and blocks
// while it waits.
UserInterface& Current();
// nullptr goes back to the plain one. The caller keeps ownership.
void SetCurrent(UserInterface* ui);

}  // namespace ui
