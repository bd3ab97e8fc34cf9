// The project details: name, person in charge and date of the project.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class frmBukken : public QDialog {
    Q_OBJECT
public:
    explicit frmBukken(QWidget* parent = nullptr);

    void Form_Load();
    void cmdToday_Click();
    void cmdOK_Click();
    void cmdCancel_Click() { reject(); }

    // A stored date (OLE Automation date) as the box shows it, and a box's
    // text read back; none when the text is no date.
    static QString DateText(double oleDate);
    static std::optional<double> ReadDate(const QString& text);

    QLabel* Label1 = nullptr;
    QLineEdit* txtBukken = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtTantou = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtDate = nullptr;
    QPushButton* cmdToday = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
