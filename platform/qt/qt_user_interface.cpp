#include "platform/qt/qt_user_interface.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

namespace ui {

const char* const kProgramTitle = "ヴェンドラS＆SRC柱脚検討";

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The model breaks lines with CR LF or a lone CR; a plain-text box only
// knows LF.
QString BoxText(const std::string& s)
{
    QString t = Q(s);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t;
}

QString BoxTitle(const std::string& title) { return Q(title.empty() ? kProgramTitle : title); }

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information: return QMessageBox::Information;
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Critical: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ButtonOf(Answer a)
{
    switch (a) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::NoButton;
}

// In the order the box shows them; the first is the default one.
QList<Answer> AnswersOf(Buttons b)
{
    switch (b) {
    case Buttons::Ok: return {Answer::Ok};
    case Buttons::OkCancel: return {Answer::Ok, Answer::Cancel};
    case Buttons::YesNo: return {Answer::Yes, Answer::No};
    case Buttons::YesNoCancel: return {Answer::Yes, Answer::No, Answer::Cancel};
    }
    return {Answer::Ok};
}

// The wait window: nothing to press, Escape and closing do nothing.
class WaitDialog final : public QDialog {
public:
    using QDialog::QDialog;
    bool done_ = false;
    void reject() override
    {
        if (done_) QDialog::reject();
    }
};

}  // namespace

QStringList NameFiltersFromPairs(const std::string& filter)
{
    const QStringList parts = Q(filter).split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        patterns.removeAll(QString());
        if (patterns.isEmpty()) continue;
        out << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

QWidget* QtUserInterface::owner() const
{
    if (owner_) return owner_;
    return QApplication::activeWindow();
}

void QtUserInterface::message(const std::string& text, const std::string& title, MessageKind kind)
{
    QMessageBox box(IconOf(kind), BoxTitle(title), BoxText(text), QMessageBox::Ok, owner());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Answer QtUserInterface::question(const std::string& text, const std::string& title, Buttons buttons,
                                 std::optional<Answer> defaultButton)
{
    const QList<Answer> answers = AnswersOf(buttons);
    QMessageBox::StandardButtons set;
    for (Answer a : answers) set |= ButtonOf(a);
    QMessageBox box(QMessageBox::Question, BoxTitle(title), BoxText(text), set, owner());
    box.setTextFormat(Qt::PlainText);
    const Answer def = defaultButton && answers.contains(*defaultButton) ? *defaultButton : answers.front();
    box.setDefaultButton(ButtonOf(def));
    const int pressed = box.exec();
    for (Answer a : answers)
        if (pressed == ButtonOf(a)) return a;
    // Closed without a button: what Escape would have given.
    return answers.contains(Answer::Cancel) ? Answer::Cancel : answers.size() > 1 ? Answer::No : Answer::Ok;
}

std::optional<std::string> QtUserInterface::chooseFile(const FileRequest& request)
{
    QFileDialog dlg(owner(), Q(request.title), Q(request.initDir));
    // The caption stays as given; the patterns only choose the files.
    QFileDialog::Options opts = QFileDialog::HideNameFilterDetails | QFileDialog::DontConfirmOverwrite;
    if (!nativeFileDialogs_) opts |= QFileDialog::DontUseNativeDialog;
    dlg.setOptions(opts);
    dlg.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = NameFiltersFromPairs(request.filter);
    if (!filters.isEmpty()) dlg.setNameFilters(filters);
    QString ext = Q(request.defaultExt);
    while (ext.startsWith(u'.')) ext.remove(0, 1);
    dlg.setDefaultSuffix(ext);
    if (!request.fileName.empty()) dlg.selectFile(Q(request.fileName));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dlg.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return chosen.front().toStdString();
}

void QtUserInterface::waitUntil(const std::function<bool()>& finished, int intervalMs)
{
    if (finished()) return;

    WaitDialog dlg(owner(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dlg.setWindowTitle(QString::fromUtf8(kProgramTitle));
    dlg.setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(&dlg);
    auto* bar = new QProgressBar(&dlg);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    layout->addWidget(bar);

    std::exception_ptr failure;
    QTimer timer;
    timer.setInterval(intervalMs > 0 ? intervalMs : 1);
    QObject::connect(&timer, &QTimer::timeout, &dlg, [&] {
        bool end = true;
        try {
            end = finished();
        } catch (...) {
            failure = std::current_exception();
        }
        if (!end) return;
        timer.stop();
        dlg.done_ = true;
        dlg.accept();
    });
    timer.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    dlg.exec();
    QApplication::restoreOverrideCursor();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace ui
