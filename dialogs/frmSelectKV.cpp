#include "dialogs/frmSelectKV.h"

#include "dialogs/fc_list.h"
#include "dialogs/select_kv_rules.h"
#include "mainwin/load_res_strings.h"
#include "model/catalogue.h"
#include "model/format.h"
#include "model/globals.h"
#include "model/helpers.h"
#include "model/rebar_tables.h"
#include "model/rebar_zone.h"
#include "model/startup.h"
#include "platform/qt/font_map.h"
#include "platform/qt/ole_color.h"
#include "platform/qt/picture_box.h"
#include "platform/text/fixed_text.h"
#include "platform/text/utf8.h"
#include "platform/text/vb.h"
#include "platform/ui/ui.h"
#include "widgets/dialog_kit.h"
#include "widgets/zDLCtlProc_Vendra.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

#include <array>
#include <cmath>

using namespace model;

namespace {

constexpr const char* kErrorTitle = "柱選定のエラー";
constexpr const char* kNoModelText = "柱脚の形式が選択されていません。";
constexpr const char* kModelFailedText = "選択した柱脚の形式を読み込めませんでした。";
constexpr const char* kFailedText = "柱脚形式の選択で処理を続けられませんでした。";
constexpr const char* kAfterFailureText =
    "直前の選択を最後まで処理できなかったため、決定できません。\r選択し直してから決定してください。";

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// The catalogue holds the model by this name with this ID.
bool IsCatalogueModel(const std::string& name, int32_t id)
{
    if (name.empty()) return false;
    try {
        auto db = OpenCatalogue();
        auto rs = db.openRecordset(selkv::ModelIdQuery(name));
        return !rs.eof() && CatalogueInt32(rs, "ID") == id;
    } catch (const std::exception&) {
        return false;
    }
}

// Selects the item of a list equal to text; one the list lacks is added
// first (for numbers at its place among the ascending ones).
void SelectOrAdd(QComboBox* list, const QString& text, const QVariant& data, bool ascending)
{
    int at = SelectComboItem(list, text);
    if (at < 0) {
        at = list->count();
        if (ascending) {
            const double v = vb::Val(S(text));
            at = 0;
            while (at < list->count() && vb::Val(S(list->itemText(at))) < v) ++at;
        }
        const QSignalBlocker quiet(list);
        const int selected = list->currentIndex();
        list->insertItem(at, text, data);
        // An empty list selects what it is given; the handler runs below.
        list->setCurrentIndex(selected < at ? selected : selected + 1);
    }
    list->setCurrentIndex(at);
}

}  // namespace

frmSelectKV::frmSelectKV(QWidget* parent) : QDialog(parent), actions_(kErrorTitle, kFailedText)
{
    setObjectName("frmSelectKV");
    setProperty("resTag", 1088);
    setWindowTitle(QStringLiteral("柱脚形式の選択"));
    setFont(QFont(vbqt::mapVbFontName(QStringLiteral("ＭＳ Ｐゴシック")), 9));
    BuildControls();
    ConnectControls();
    Form_Load();
}

int frmSelectKV::PxX(double twips) const { return dlgkit::PxX(*this, twips); }

int frmSelectKV::PxY(double twips) const { return dlgkit::PxY(*this, twips); }

// ---- Controls ----

void frmSelectKV::BuildControls()
{
    const auto place = [this](QWidget* w, const QString& name, int left, int top, int width, int height) {
        w->setObjectName(name);
        w->setGeometry(PxX(left), PxY(top), PxX(width), PxY(height));
    };
    const auto frame = [&](const char* name, const char* title, int resTag, int left, int top, int width,
                           int height) {
        auto* f = new QGroupBox(QString::fromUtf8(title), this);
        if (resTag) f->setProperty("resTag", resTag);
        place(f, QString::fromLatin1(name), left, top, width, height);
        return f;
    };
    const auto label = [&](QWidget* parent, const QString& name, const char* text, int resTag, int left, int top,
                           int width) {
        auto* l = new QLabel(QString::fromUtf8(text), parent);
        if (resTag) l->setProperty("resTag", resTag);
        place(l, name, left, top, width, 240);
        return l;
    };
    const auto list = [&](QWidget* parent, const char* name, int left, int top, int width) {
        auto* c = new QComboBox(parent);
        place(c, QString::fromLatin1(name), left, top, width, 315);
        return c;
    };
    const auto indexed = [](const char* name, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i); };

    // Column: shape, grade, size and section.
    QGroupBox* Frame1 = frame("Frame1", "柱仕様", 1092, 120, 60, 5280, 660);
    const char* const shapes[] = {"角形", "丸形", "Ｈ形"};
    for (int i = 0; i < 3; ++i) {
        optColV[i] = new QRadioButton(QString::fromUtf8(shapes[i]), Frame1);
        optColV[i]->setProperty("resTag", 1093 + i);
        place(optColV[i], indexed("optColV", i), 240 + 1080 * i, 270, 1000, 300);
    }
    QGroupBox* Frame2 = frame("Frame2", "柱材質", 1099, 120, 780, 5280, 660);
    cmbColMat = list(Frame2, "cmbColMat", 240, 270, 2400);

    QGroupBox* Frame3 = frame("Frame3", "柱サイズ", 1096, 120, 1500, 5280, 1620);
    cmbColSize = list(Frame3, "cmbColSize", 240, 360, 2200);
    Label1[1] = label(Frame3, indexed("Label1", 1), "板厚", 1097, 2640, 120, 1400);
    cmbColT = list(Frame3, "cmbColT", 2640, 360, 2160);
    cmbColT->setEditable(true);
    cmbColT->setInsertPolicy(QComboBox::NoInsert);
    cmbColT->setCompleter(nullptr);
    cmbColT_H = list(Frame3, "cmbColT_H", 2640, 360, 2160);
    cmbColT_H->hide();
    Label1[7] = label(Frame3, indexed("Label1", 7), "H柱サイズ", 1173, 240, 780, 1000);
    cmbHSize = list(Frame3, "cmbHSize", 1320, 750, 3480);
    const char* const hLabels[] = {"H-", "x", "x", "x"};
    for (int i = 0; i < 4; ++i) {
        const int left = 540 + 1080 * i;
        Label3[i] = label(Frame3, indexed("Label3", i), hLabels[i], 0, left - (i == 0 ? 300 : 210), 1200, 200);
        txtHDim[i] = new QLineEdit(Frame3);
        place(txtHDim[i], indexed("txtHDim", i), left, 1170, 840, 300);
    }

    QGroupBox* Frame4 = frame("Frame4", "柱性能", 1098, 120, 3180, 5280, 2340);
    const char* const specLabels[] = {"A(cm2)", "Zx(cm3)", "Zpx(cm3)", "Zy(cm3)", "Zpy(cm3)"};
    const int specTags[] = {1089, 1090, 1091, 1113, 1114};
    for (int k = 0; k < 5; ++k) {
        Label1[2 + k] = label(Frame4, indexed("Label1", 2 + k), specLabels[k], specTags[k], 240, 330 + 345 * k, 1200);
        txtColSpec[k] = new QLineEdit(Frame4);
        place(txtColSpec[k], indexed("txtColSpec", k), 1440, 300 + 345 * k, 1500, 300);
    }
    cmdCalcSpec = new QPushButton(QStringLiteral("計算"), Frame4);
    cmdCalcSpec->setProperty("resTag", 1226);
    cmdCalcSpec->setAutoDefault(false);
    place(cmdCalcSpec, "cmdCalcSpec", 3240, 300, 1200, 375);
    Label5 = label(Frame4, "Label5", "注意：フィレットR部は無視して計算します。", 1300, 240, 2040, 4700);

    Label4 = new QLabel(this);
    place(Label4, "Label4", 120, 5580, 5280, 540);
    QPalette red = Label4->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label4->setPalette(red);
    Label4->hide();

    // Base: series, model, bolts, Fc, centre column, direction, pedestal.
    QGroupBox* Frame5 = frame("Frame5", "柱脚仕様", 1100, 5520, 60, 8520, 1620);
    const char* const series[] = {"コルヴァン・ルモ", "オルタコルヴァン", "ソルヴェナス"};
    for (int i = 0; i < 3; ++i) {
        optKvV[i] = new QRadioButton(QString::fromUtf8(series[i]), Frame5);
        optKvV[i]->setProperty("resTag", 1339 + i);
        place(optKvV[i], indexed("optKvV", i), 120 + 2040 * i, 270, 1980, 300);
    }
    cmbKV = list(Frame5, "cmbKV", 120, 690, 3000);
    Label1[0] = label(Frame5, indexed("Label1", 0), "ｱﾝｶｰﾎﾞﾙﾄ径", 1104, 3300, 720, 1200);
    cmbAb = list(Frame5, "cmbAb", 4560, 690, 1020);
    Label2 = label(Frame5, "Label2", "Fc", 1271, 120, 1170, 300);
    cmbFc = list(Frame5, "cmbFc", 480, 1140, 1000);
    chkCenCol = new QCheckBox(QStringLiteral("中柱"), Frame5);
    chkCenCol->setProperty("resTag", 1312);
    place(chkCenCol, "chkCenCol", 1800, 1140, 1500, 315);

    Frame6 = frame("Frame6", "角度", 1260, 5520, 1740, 8520, 660);
    const char* const dirs[] = {"0ﾟ", "90ﾟ", "180ﾟ", "270ﾟ"};
    for (int i = 0; i < 4; ++i) {
        optKVDir[i] = new QRadioButton(QString::fromUtf8(dirs[i]), Frame6);
        optKVDir[i]->setProperty("resTag", 1261 + i);
        place(optKVDir[i], indexed("optKVDir", i), 240 + 1440 * i, 270, 1300, 300);
    }

    QGroupBox* Frame7 = frame("Frame7", "柱形仕様", 0, 5520, 2460, 8520, 1080);
    label(Frame7, "lblLenA", "A寸法", 0, 120, 330, 700);
    cmbLenA = list(Frame7, "cmbLenA", 840, 300, 1100);
    label(Frame7, "lblLenB", "B寸法", 0, 2160, 330, 700);
    cmbLenB = list(Frame7, "cmbLenB", 2880, 300, 1100);
    label(Frame7, "lblRBar", "鉄筋径・種類", 0, 120, 690, 1300);
    cmbRBar = list(Frame7, "cmbRBar", 1440, 660, 2540);
    lblNoPedestal = label(Frame7, "lblNoPedestal", "配筋表にこの柱脚とFcの柱形がありません。", 0, 4200, 330, 4200);
    lblNoPedestal->setWordWrap(true);
    lblNoPedestal->resize(PxX(4200), PxY(600));
    lblNoPedestal->hide();

    pctKV = new vbqt::PictureBox(this);
    place(pctKV, "pctKV", 5520, 3660, 4200, 4200);
    pctRCCol = new vbqt::PictureBox(this);
    place(pctRCCol, "pctRCCol", 9840, 3660, 4200, 4200);
    kvTarget_ = pctKV;
    rcTarget_ = pctRCCol;

    const auto button = [&](const char* name, const char* text, int resTag, int left) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setProperty("resTag", resTag);
        b->setAutoDefault(false);
        place(b, QString::fromLatin1(name), left, 8040, 1440, 420);
        return b;
    };
    cmdChangeDisp = button("cmdChangeDisp", "表示切替", 1302, 120);
    cmdClose = button("cmdClose", "決定", 1112, 11040);
    cmdCancel = button("cmdCancel", "キャンセル", 1111, 12600);

    setFixedSize(PxX(14160), PxY(8640));
}

void frmSelectKV::ConnectControls()
{
    const auto onSelect = [this](QComboBox* list, void (frmSelectKV::*handler)()) {
        dlgkit::ConnectSelect(this, list, handler, actions_);
    };
    onSelect(cmbColMat, &frmSelectKV::cmbColMat_Click);
    onSelect(cmbColSize, &frmSelectKV::cmbColSize_Click);
    onSelect(cmbColT_H, &frmSelectKV::cmbColT_H_Click);
    onSelect(cmbHSize, &frmSelectKV::cmbHSize_Click);
    onSelect(cmbKV, &frmSelectKV::cmbKV_Click);
    onSelect(cmbAb, &frmSelectKV::cmbAb_Click);
    onSelect(cmbFc, &frmSelectKV::cmbFc_Click);
    onSelect(cmbLenA, &frmSelectKV::cmbLenA_Click);
    onSelect(cmbLenB, &frmSelectKV::cmbLenB_Click);
    onSelect(cmbRBar, &frmSelectKV::cmbRBar_Click);
    // The thickness box: a choice from the list and typing are two handlers;
    // the fillers run the list handler themselves.
    connect(cmbColT, &QComboBox::activated, this, [this](int i) {
        if (i >= 0) Act([this] { cmbColT_Click(); });
    });
    connect(cmbColT->lineEdit(), &QLineEdit::textEdited, this, [this] { Act([this] { cmbColT_Change(); }); });

    const auto onOption = [this](QRadioButton* option, int index, void (frmSelectKV::*handler)(int)) {
        dlgkit::ConnectOption(this, option, index, handler, actions_);
    };
    for (int i = 0; i < 3; ++i) onOption(optColV[i], i, &frmSelectKV::optColV_Click);
    for (int i = 0; i < 3; ++i) onOption(optKvV[i], i, &frmSelectKV::optKvV_Click);
    for (int i = 0; i < 4; ++i) onOption(optKVDir[i], i, &frmSelectKV::optKVDir_Click);
    connect(chkCenCol, &QCheckBox::toggled, this, [this] { Act([this] { chkCenCol_Click(); }); });

    connect(cmdCalcSpec, &QPushButton::clicked, this, [this] { Act([this] { cmdCalcSpec_Click(); }); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { actions_.runCommand([this] { cmdClose_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdChangeDisp, &QPushButton::clicked, this, [this] { cmdChangeDisp_Click(); });

    for (QLineEdit* box : txtColSpec) box->installEventFilter(this);
    for (QLineEdit* box : txtHDim) box->installEventFilter(this);
}

bool frmSelectKV::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        for (int i = 0; i < 5; ++i) {
            // Later than the click that gave the focus, which would undo the selection.
            if (watched == txtColSpec[i] && type == QEvent::FocusIn)
                QTimer::singleShot(0, txtColSpec[i], [this, i] { txtColSpec_GotFocus(i); });
        }
        for (int i = 0; i < 4; ++i) {
            if (watched != txtHDim[i]) continue;
            if (type == QEvent::FocusIn)
                QTimer::singleShot(0, txtHDim[i], [this, i] { txtHDim_GotFocus(i); });
            else
                Act([this, i] { txtHDim_LostFocus(i); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelectKV::Act(const std::function<void()>& action) { actions_.run(action); }

// ---- List helpers ----

void frmSelectKV::SelectFirst(QComboBox* list)
{
    if (list->count() > 0) list->setCurrentIndex(0);
}

void frmSelectKV::SelectOrLast(QComboBox* list, const QString& text)
{
    int i = SelectComboItem(list, text);
    if (i < 0) i = list->count() - 1;
    if (i >= 0) list->setCurrentIndex(i);
}

void frmSelectKV::ShowWarning(const std::string& text)
{
    // The label breaks lines at "\n"; the texts carry the carriage return.
    Label4->setText(Q(text).replace(QLatin1Char('\r'), QLatin1Char('\n')));
    Label4->show();
}

void frmSelectKV::HideWarning()
{
    Label4->clear();
    Label4->hide();
}

void frmSelectKV::ResetHControls()
{
    HideWarning();
    EnableHControls(false);
    cmdCalcSpec->hide();
    Label5->hide();
}

void frmSelectKV::ClearHSizes()
{
    dlgkit::Refill(cmbHSize, {});
    hSizeIds_.clear();
    ownHItem_ = -1;
}

void frmSelectKV::ShowStoredSectionValues()
{
    for (int k = 0; k < 5; ++k) {
        const double v = stored_.ColSpecUser(k) >= 0.001 ? stored_.ColSpecUser(k) : stored_.ColSpec(k);
        txtColSpec[k]->setText(Q(FormatValue(v, -1)));
    }
}

void frmSelectKV::EnableHControls(bool on)
{
    if (!on) ClearHSizes();
    cmbHSize->setEnabled(on);
    const int32_t back = vbqt::SystemColor(on ? vbqt::kWindowBackground : vbqt::kMenuBar);
    dlgkit::SetColour(cmbHSize, QPalette::Base, back);
    for (QLineEdit* box : txtHDim) {
        if (!on) box->clear();
        box->setEnabled(on);
        dlgkit::SetColour(box, QPalette::Base, back);
    }
}

// ---- Load ----

void frmSelectKV::Form_Load()
{
    savedChanged_ = gDataChanged;
    Act([this] {
        loading_ = true;
        struct LoadingEnds {
            bool& flag;
            ~LoadingEnds() { flag = false; }
        } ends{loading_};

        LoadResStrings(this);
        dlgkit::RestorePlace(*this, "SelKVLeft", "SelKVTop", 4000, 2000);

        const ColumnDataTbl stored = gColumns(gCurCol);
        const KvBaseTbl storedBase = gKvBase(gCurCol);
        stored_ = stored;
        work_ = stored;
        workBase_ = storedBase;
        savedMatCode_ = stored.ColMatCode;

        int16_t code = stored.ColMatCode;
        if (selkv::Bcp325Replaced(stored.ColSize, code)) {
            ui::Current().message("BCP325の柱は300以上から対応しています。\r  強制的にBCR295に変更します。", "確認",
                                  ui::MessageKind::Information);
            code = 0;
        }
        gSpecDialogOK = false;
        ResetHControls();

        const int16_t shape = stored.ColV;
        if (shape >= 0 && shape <= 2) optColV[shape]->setChecked(true);
        const int grade = code - selkv::FirstGrade(shape);
        if (shape >= 0 && shape <= 2 && grade >= 0 && grade < cmbColMat->count()) {
            cmbColMat->setCurrentIndex(grade);
            work_.ColMatCode = code;
        }

        const QString sizeText = Q(FormatValue(stored.ColSize, -1));
        const int size = cmbColSize->findText(sizeText);
        if (size >= 0)
            cmbColSize->setCurrentIndex(size);
        else if (shape >= selkv::kBox && shape <= selkv::kH && stored.ColSize > 0 && cmbColSize->count() > 0)
            // A section the catalogue does not list (an import's) keeps its size.
            SelectOrAdd(cmbColSize, sizeText, {}, true);

        const QString thickness = Q(FormatValue(stored.ColT, -1));
        if (shape == 0 || shape == 1) {
            // Setting the same text again is no change.
            if (cmbColT->currentText() != thickness) {
                cmbColT->setEditText(thickness);
                cmbColT_Change();
            }
        } else if (shape == 2) {
            const int width = cmbColT_H->findText(thickness);
            if (width >= 0)
                cmbColT_H->setCurrentIndex(width);
            else if (stored.ColT > 0 && cmbColSize->currentText() == sizeText)
                // So is a nominal width the catalogue does not list; the
                // width's handler lists the stored section under it.
                SelectOrAdd(cmbColT_H, thickness, {}, true);
            for (std::size_t i = 0; i < hSizeIds_.size(); ++i) {
                if (hSizeIds_[i] != stored.ColID) continue;
                if (static_cast<int>(i) < cmbHSize->count()) cmbHSize->setCurrentIndex(static_cast<int>(i));
                break;
            }
            for (int i = 0; i < 4; ++i) txtHDim[i]->setText(Q(vb::CStr(stored.HDim(i + 1))));
            work_.HDim = stored.HDim;
        }

        ShowStoredSectionValues();

        ArrangeSeriesOptions();
        const int option = selkv::SeriesOptionOf(stored.KvV);
        if (option >= 0) optKvV[option]->setChecked(true);

        const QString storedModel = Q(vb::Trim(text::Left(storedBase.KvName.value(), 49)));
        int model = cmbKV->findText(storedModel);
        if (model < 0 && IsCatalogueModel(S(storedModel), stored.KolvanID)) {
            // A model the lists do not offer for this column (another series,
            // an import's) stays the column's model.
            const QSignalBlocker quiet(cmbKV);
            const int selected = cmbKV->currentIndex();
            cmbKV->addItem(storedModel);
            cmbKV->setCurrentIndex(selected);
            model = cmbKV->count() - 1;
        }
        if (model >= 0) cmbKV->setCurrentIndex(model);

        SetBaseDirectionOptions(S(cmbKV->currentText()), stored.KvDir);
        // A figure that fails is reported with the rest; the load goes on.
        Act([this] { DrawBasePreview(); });

        if (storedBase.KvV != 2) {
            const int bolt = stored.AbNum - 1;
            if (bolt >= 0 && bolt < cmbAb->count()) cmbAb->setCurrentIndex(bolt);
        }

        chkCenCol->setChecked(stored.CenColWall(0) != 0);
        double fc = stored.Fc;
        FillFcCombo(cmbFc, fc);
        // The list selects by the whole number; a strength it does not offer
        // exactly (an import's 24.7) is added and kept as it is.
        SelectOrAdd(cmbFc, Q(vb::CStr(fc)), fc, true);

        savedChanged_ = gDataChanged;

        ShowStoredPedestal(stored);
        KeepStoredValues(stored, storedBase, code);
        // The fit warning is of the stored dimensions, which may be typed ones.
        if (work_.ColV == selkv::kH) CheckHColumnFit();
        // The previews show what 決定 would store.
        DrawBasePreview();
    });
    loaded_ = work_;
    for (int k = 0; k < 5; ++k) loadedSpecTexts_[static_cast<std::size_t>(k)] = txtColSpec[k]->text();
    pedestalTouched_ = false;
}

void frmSelectKV::ShowStoredPedestal(const ColumnDataTbl& stored)
{
    // The stored pedestal is shown as it is, also where the tables do not
    // offer it; the order (bar, then A and B) is the one the lists depend on.
    const std::string bar = MainBarKey(text::FieldText(stored.RBarVal), text::FieldText(work_.RBarMat));
    const std::string size = bar.substr(1, bar.find('(') - 1);  // "D22(SD345)": 22
    if (!size.empty() || cmbRBar->count() > 0)
        SelectOrAdd(cmbRBar, Q(bar), static_cast<int>(std::lround(vb::Val(size))), false);
    for (int d = 0; d < 2; ++d) {
        QComboBox* list = d == 0 ? cmbLenA : cmbLenB;
        if (stored.cD(d) != 0 || list->count() > 0) SelectOrAdd(list, Q(vb::CStr(stored.cD(d))), {}, true);
    }
}

bool frmSelectKV::ShowsStoredChoices(const ColumnDataTbl& stored, const KvBaseTbl& storedBase, int16_t grade) const
{
    const int16_t shape = stored.ColV;
    if (shape < selkv::kBox || shape > selkv::kH || !optColV[shape]->isChecked()) return false;
    if (cmbColMat->currentIndex() != grade - selkv::FirstGrade(shape)) return false;
    if (cmbColSize->currentText() != Q(FormatValue(stored.ColSize, -1))) return false;
    const QString thickness = Q(FormatValue(stored.ColT, -1));
    if (shape == selkv::kH) {
        const auto at = static_cast<std::size_t>(cmbHSize->currentIndex());
        if (cmbColT_H->currentText() != thickness || at >= hSizeIds_.size() || hSizeIds_[at] != stored.ColID)
            return false;
    } else if (cmbColT->currentText() != thickness) {
        return false;
    }
    const int option = selkv::SeriesOptionOf(stored.KvV);
    if (option >= 0 && !optKvV[option]->isChecked()) return false;
    if (cmbKV->currentIndex() < 0 || cmbKV->currentText() != Q(vb::Trim(text::Left(storedBase.KvName.value(), 49))))
        return false;
    if (storedBase.KvV != 2 && cmbAb->currentIndex() != stored.AbNum - 1) return false;
    return stored.KvDir >= 0 && stored.KvDir <= 3 && optKVDir[stored.KvDir]->isChecked();
}

void frmSelectKV::KeepStoredValues(const ColumnDataTbl& stored, const KvBaseTbl& storedBase, int16_t grade)
{
    // The replay through the handlers only approximates the stored records
    // (catalogue section values, the base reloaded, the turn of the base,
    // slab widths); where the screen shows every stored choice, the working
    // copies are the stored records themselves.
    const ColumnDataTbl replayed = work_;
    if (ShowsStoredChoices(stored, storedBase, grade)) {
        work_ = stored;
        workBase_ = storedBase;
        if (grade != stored.ColMatCode) {
            work_.ColMatCode = replayed.ColMatCode;
            work_.ColF = replayed.ColF;
        }
    }
    // The strength as its list reads it, and the pedestal as its lists show it.
    work_.Fc = replayed.Fc;
    work_.cD = stored.cD;
    work_.RBarVal = stored.RBarVal;
    work_.RBarMat = stored.RBarMat;
    work_.SlabQ_B2X = stored.SlabQ_B2X;
    work_.SlabQ_B2Y = stored.SlabQ_B2Y;
}

// ---- 決定, キャンセル, unload ----

void frmSelectKV::cmdClose_Click()
{
    if (cmbKV->currentIndex() < 0 || !modelLoaded_) {
        ui::Current().message(cmbKV->currentIndex() < 0 ? kNoModelText : kModelFailedText, kErrorTitle,
                              ui::MessageKind::Warning);
        return;
    }
    if (actions_.failed()) {
        ui::Current().message(kAfterFailureText, kErrorTitle, ui::MessageKind::Warning);
        return;
    }
    if (selkv::LumoPlateRefused(work_.ColV, work_.ColMatCode, workBase_)) {
        ui::Current().message(kLumoPlateText, kErrorTitle, ui::MessageKind::Warning);
        return;
    }
    if (!selkv::F325Column(work_.ColV, work_.ColMatCode) || workBase_.KvV != 4) HideWarning();

    // Everything is worked out first and written at the end, so that a
    // failure on the way leaves the project as it was. What the user entered
    // and left as the load showed it (own section values, the pedestal and
    // the slab widths, which the shear dialog also edits) keeps its loaded
    // value, so that 決定 without a change writes back what was stored; what
    // follows from other fields is worked out again.
    ColumnDataTbl col = work_;
    const KvBaseTbl& base = workBase_;
    selkv::DropShearChoicesForNewBase(col, gKvBase(gCurCol).ID, base.ID);
    col.KvV = base.KvV;

    std::array<std::string, 5> boxes;
    bool boxesAsLoaded = col.ColSpec == loaded_.ColSpec;
    for (int d = 0; d < 5; ++d) {
        boxes[static_cast<std::size_t>(d)] = S(txtColSpec[d]->text());
        boxesAsLoaded = boxesAsLoaded && txtColSpec[d]->text() == loadedSpecTexts_[static_cast<std::size_t>(d)];
    }
    // Own values stay own values, exactly, while the boxes show them.
    if (boxesAsLoaded)
        col.ColSpecUser = loaded_.ColSpecUser;
    else
        selkv::TakeUserSectionValues(col, boxes);
    col.ColXYDiffer = selkv::ColumnXYDiffer(col) ? kTrue : kFalse;

    if (pedestalTouched_) {
        if (cmbLenA->currentIndex() >= 0) col.cD(0) = SafeCDbl(S(cmbLenA->currentText()));
        if (!cmbLenB->isEnabledTo(this))
            col.cD(1) = col.cD(0);
        else if (cmbLenB->currentIndex() >= 0)
            col.cD(1) = SafeCDbl(S(cmbLenB->currentText()));
        if (cmbRBar->currentIndex() >= 0) {
            col.RBarVal = std::to_string(cmbRBar->currentData().toInt());
            col.RBarMat = TextInParens(S(cmbRBar->currentText()));
        }
    }
    const double b1x = col.SlabQ_B1X, b1y = col.SlabQ_B1Y;
    const double b2x = col.SlabQ_B2X, b2y = col.SlabQ_B2Y;
    selkv::SetSlabWidths(col);
    // Bases of series 0 and 2 have no slab check and their geometry sets no
    // widths of the column: those stay as stored.
    if (base.KvV == 0 || base.KvV == 2) {
        col.SlabQ_B1X = b1x;
        col.SlabQ_B1Y = b1y;
    }
    if (!pedestalTouched_) {
        col.SlabQ_B2X = b2x;
        col.SlabQ_B2Y = b2y;
    }

    // The project's strength follows a strength the dialog changed.
    const bool fcChanged = col.Fc != gColumns(gCurCol).Fc;
    gKvBase(gCurCol) = base;
    gColumns(gCurCol) = col;
    if (fcChanged) gCond.Fc = col.Fc;
    gDataChanged = true;
    gSpecDialogOK = true;
    accept();
}

void frmSelectKV::cmdCancel_Click()
{
    gDataChanged = savedChanged_;
    reject();
}

void frmSelectKV::done(int r)
{
    actions_.runCommand([this] { Form_Unload(); });
    QDialog::done(r);
}

void frmSelectKV::Form_Unload()
{
    dlgkit::SavePlace(*this, "SelKVLeft", "SelKVTop");
    // Only the X diagram is left to show for a base and column alike in X and Y.
    if (gDispMode != 4 && gKvBase(gCurCol).RotateMode == kFalse && gColumns(gCurCol).ColXYDiffer == kFalse)
        gDispMode = 0;
}
