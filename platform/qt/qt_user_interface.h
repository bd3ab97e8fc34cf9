// The program's user interface on Qt widgets: message boxes, file dialogs and
// a modal wait.
#pragma once

#include "platform/ui/ui.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace ui {

// The title of a box that is given none.
extern const char* const kProgramTitle;

// "caption|pattern|caption|pattern" (patterns joined by ';') as Qt name
// filters "caption (pattern pattern)"; a caption without a pattern is left out.
QStringList NameFiltersFromPairs(const std::string& filter);

class QtUserInterface final : public UserInterface {
public:
    // owner: the window the boxes belong to; none: the active window.
    explicit QtUserInterface(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }
    // Tests drive Qt's own file dialog; the program takes the platform's.
    void setNativeFileDialogs(bool on) { nativeFileDialogs_ = on; }

    void message(const std::string& text, const std::string& title, MessageKind kind) override;
    Answer question(const std::string& text, const std::string& title, Buttons buttons,
                    std::optional<Answer> defaultButton = std::nullopt) override;
    std::optional<std::string> chooseFile(const FileRequest& request) override;
    void waitUntil(const std::function<bool()>& finished, int intervalMs) override;

private:
    QWidget* owner() const;

    QPointer<QWidget> owner_;
    bool nativeFileDialogs_ = true;
};

}  // namespace ui
