#include "mainwin/frmAbout.h"

#include "mainwin/load_res_strings.h"
#include "mainwin/program_icon.h"
#include "mainwin/version_text.h"
#include "platform/qt/font_map.h"
#include "platform/ui/ui.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace {

const char* const kTitle = "ヴェンドラS＆SRC柱脚検討";

// Where a system-information program would be registered: its path, or the
// folder that holds it. This platform keeps no such registry.
constexpr std::int32_t kMachineKeys = static_cast<std::int32_t>(0x80000002u);
const char* const kSysInfoKey = "SysInfo";
const char* const kSysInfoValue = "PATH";
const char* const kSysInfoLocationKey = "SysInfoLocation";
const char* const kSysInfoLocationValue = "FOLDER";
const char* const kSysInfoFile = "sysinfo";

}  // namespace

QString frmAbout::DescriptionText()
{
    return QStringLiteral(
               "ヴェンドラソルヴェナス工法，ヴェンドラコルヴァン・ルモ工法と\n"
               "ヴェンドラオルタコルヴァン工法の柱脚選定が行えます。\n"
               "\n"
               "BCR材とBCP材柱に対応\n"
               "XY両方向応力同時検討可能\n"
               "SRC造用オルタコルヴァンの検討可能\n"
               "一貫計算ソフトからのデータインポート対応\n"
               "\n") +
           LegalNotice();
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAbout");
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));

    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(ProgramIcon(48));
    picIcon->setAlignment(Qt::AlignTop);
    lblTitle = new QLabel(this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = font();
    titleFont.setPointSize(12);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName("lblVersion");
    lblDescription = new QLabel(this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName("cmdSysInfo");
    cmdSysInfo->setAutoDefault(false);
    const int buttonWidth = std::max(cmdOK->sizeHint().width(), cmdSysInfo->sizeHint().width());
    cmdOK->setMinimumWidth(buttonWidth);
    cmdSysInfo->setMinimumWidth(buttonWidth);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addSpacing(8);
    texts->addWidget(lblDescription);
    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

int frmAbout::ShowModal(QWidget* owner)
{
    frmAbout dlg(owner);
    return dlg.exec();
}

void frmAbout::showEvent(QShowEvent* event)
{
    if (!loaded_) Form_Load();
    QDialog::showEvent(event);
}

void frmAbout::Form_Load()
{
    if (loaded_) return;
    loaded_ = true;
    LoadResStrings(this);
    lblVersion->setText(VersionText());
    lblTitle->setText(QString::fromUtf8(kTitle));
    lblDescription->setText(DescriptionText());
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo()
{
    try {
        std::string path;
        if (!GetKeyValue(kMachineKeys, kSysInfoKey, kSysInfoValue, path)) {
            std::string folder;
            if (GetKeyValue(kMachineKeys, kSysInfoLocationKey, kSysInfoLocationValue, folder) &&
                QFileInfo::exists(QDir(QString::fromStdString(folder)).filePath(QString::fromLatin1(kSysInfoFile))))
                path = QDir(QString::fromStdString(folder)).filePath(QString::fromLatin1(kSysInfoFile)).toStdString();
        }
        if (!path.empty() && QProcess::startDetached(QString::fromStdString(path), {})) return;
    } catch (const std::exception&) {
        // Reported below like every other way of not finding it.
    }
    ui::Current().message("現時点ではｼｽﾃﾑ情報を使用できません", kTitle, ui::MessageKind::Information);
}

bool frmAbout::GetKeyValue(std::int32_t, const std::string&, const std::string&, std::string& KeyVal)
{
    KeyVal.clear();
    return false;
}
