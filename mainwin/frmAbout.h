// The About box: the program's title, version and features, and a start of
// the platform's system-information program.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Shows the box modal with owner as its owner (the Help menu's command).
    static int ShowModal(QWidget* owner);

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    // Starts the system-information program; a message when there is none.
    // The box stays open either way.
    void StartSysInfo();
    // Reads the text value SubKeyRef of the registry key KeyName under
    // KeyRoot into KeyVal; false (and KeyVal empty) when it cannot. This
    // platform has no registry: always false.
    bool GetKeyValue(std::int32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                     std::string& KeyVal);

    // The feature lines and the legal notice.
    static QString DescriptionText();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool loaded_ = false;
};
