// A user interface for tests: records what the model shows and answers from a
// script. Install it with ScopedUi so every test leaves the plain one behind.
#pragma once

#include "platform/ui/ui.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ui::testing {

class ScriptedUi final : public UserInterface {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageKind kind;
    };
    std::vector<Shown> messages;
    std::vector<std::string> questions;
    std::vector<std::optional<Answer>> questionDefaults;  // default button of each question
    std::deque<Answer> answers;                       // next answers; Cancel when empty
    std::deque<std::optional<std::string>> files;     // next chosen files; none when empty
    std::vector<FileRequest> fileRequests;
    int waits = 0;  // waitUntil calls
    int polls = 0;  // finished() calls made by waitUntil

    void message(const std::string& text, const std::string& title, MessageKind kind) override
    {
        messages.push_back({text, title, kind});
    }
    Answer question(const std::string& text, const std::string&, Buttons,
                    std::optional<Answer> defaultButton = std::nullopt) override
    {
        questions.push_back(text);
        questionDefaults.push_back(defaultButton);
        if (answers.empty()) return Answer::Cancel;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> chooseFile(const FileRequest& request) override
    {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    void waitUntil(const std::function<bool()>& finished, int intervalMs) override
    {
        ++waits;
        UserInterface::waitUntil(
            [&] {
                ++polls;
                return finished();
            },
            intervalMs);
    }
};

class ScopedUi {
public:
    explicit ScopedUi(UserInterface& u) { SetCurrent(&u); }
    ~ScopedUi() { SetCurrent(nullptr); }
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;
};

}  // namespace ui::testing
