// The print preview: shows the document a printing window builds and can
// print it. The owner sets itself and its mode, then opens the window modal;
// the window has the owner build the document on the window's own page
// control, so that preview and print are the same pages.
#pragma once

#include "platform/qt/print_control.h"

#include <QDialog>

class QPrintPreviewWidget;
class QPushButton;

namespace reports {

class IPrintForm;

// Prints a document on the program's printer as it is, its pages with their
// own paper, and leaves the printer's own paper as it was; a message titled
// `title` when there is no printer, or `failedText` and the reason when it
// fails.
void PrintOnCurrentPrinter(vbqt::PrintControl& document, const char* title = "印刷プレビュー",
                           const char* failedText = "プリンタを使用できません。\r\n");

class frmPreview : public QDialog {
    Q_OBJECT
public:
    explicit frmPreview(QWidget* owner = nullptr);
    ~frmPreview() override;

    // Set both before the window loads. The owner is not owned.
    IPrintForm* prpPrintForm() const { return printForm_; }
    void setprpPrintForm(IPrintForm* form) { printForm_ = form; }
    int prpPrintMode() const { return printMode_; }
    void setprpPrintMode(int mode) { printMode_ = mode; }

    // Loads the window: the saved place, state and size (the state applied
    // when it shows), A4 portrait on the page control, then the owner's
    // document. exec() and the first show
    // load a window that is not loaded; closing unloads it, so showing it
    // again loads it anew. When the owner fails, the failure is shown in a
    // message, the load returns false and exec() returns Rejected without
    // showing the window.
    bool Form_Load();
    bool IsLoaded() const { return loaded_; }
    int exec() override;
    void setVisible(bool visible) override;
    void done(int r) override;

    // Lays the controls out on the window's inner area; nothing while the
    // window is minimised.
    void Form_Resize();
    // Prints the held document on the program's current printer.
    void cmdPrint_Click();
    void cmdEnd_Click();

    // The page control VSPrinter1 shows.
    vbqt::PrintControl& PageControl() { return document_; }
    const vbqt::PrintControl& PageControl() const { return document_; }

    QPrintPreviewWidget* VSPrinter1 = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdEnd = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ApplySavedPlace();
    void ApplyKeptSize();
    void Form_Unload();

    IPrintForm* printForm_ = nullptr;
    int printMode_ = 0;
    bool loaded_ = false;
    // The kept frame size (pixels) and window state, applied when it shows.
    QSize keptFrameSize_;
    int keptState_ = 0;
    bool placePending_ = false;
    vbqt::PrintControl document_;
};

}  // namespace reports
