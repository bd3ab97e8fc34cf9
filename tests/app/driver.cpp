// A user's hands for the start test: a Qt plugin that the test has the built
// program load through the environment (QT_QPA_GENERIC_PLUGINS). It works the
// windows the way a user does, by what they show (titles, button texts,
// object names), and writes what it sees to standard error as lines that
// begin with "driver: ". KV_DRIVE names what it does:
//   change  accept the terms, move the main window, switch the SI display,
//           then close the main window;
//   report  accept the terms, tell the main window's place and the SI
//           switch, open and cancel the file dialog and the project details,
//           then change the project name and close, answering No.
//   signal-at-start      send the program SIGTERM as Qt loads this plugin,
//                        before the program has done anything of its own;
//   open-dialog          accept the terms and open the file dialog of File >
//                        開く, then wait;
//   open-signal          accept the terms and open the project KV_FILE,
//                        sending SIGTERM as its loading window shows;
//   save-signal          accept the terms, change the project name and save
//                        it as KV_FILE, sending SIGTERM as the dialog closes;
//   close-question       accept the terms, change the project name and close,
//                        then wait in the question.
// After the main window closes, a message box is told and answered OK.
// Steps wait for what they work on; where it never comes, the program runs
// on and the test sees that.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGenericPlugin>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void Say(const QString& line)
{
    std::fprintf(stderr, "driver: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

QWidget* Visible(const char* cls)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits(cls)) return w;
    return nullptr;
}

// A caption as read, without its access key ("&Open", "はい(&Y)").
QString Plain(QString text)
{
    static const QRegularExpression key(QStringLiteral(R"(\(&?\w\)$)"));
    return text.remove(key).remove(QLatin1Char('&'));
}

// The texts of a window's visible buttons, in their order.
QStringList ButtonTexts(QWidget* w)
{
    QStringList out;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() && !b->text().isEmpty()) out << Plain(b->text());
    return out;
}

QAbstractButton* ButtonCalled(QWidget* w, const QString& text)
{
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() && Plain(b->text()) == text) return b;
    return nullptr;
}

// Steps that each wait until they can be done; one runs at a time.
class Driver : public QObject {
public:
    explicit Driver(const QByteArray& scenario)
    {
        if (scenario == "change") Change();
        if (scenario == "report") Report();
        if (scenario == "open-dialog") OpenDialog();
        if (scenario == "open-signal") OpenWithSignal();
        if (scenario == "save-signal") SaveWithSignal();
        if (scenario == "close-question") CloseQuestion();
        // What the close has to tell.
        steps_.push_back([] {
            QWidget* box = Visible("QMessageBox");
            if (!box || Visible("frmMain")) return false;
            Say(QStringLiteral("message: ") + static_cast<QMessageBox*>(box)->text().replace(u'\n', u' '));
            return Later([box] { static_cast<QDialog*>(box)->accept(); });
        });
        timer_.setInterval(100);
        connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
        timer_.start();
    }

private:
    using Step = std::function<bool()>;  // true: done

    static QMainWindow* Main()
    {
        auto* w = qobject_cast<QMainWindow*>(Visible("frmMain"));
        // Not while a dialog is up over it.
        return w && !QApplication::activeModalWidget() ? w : nullptr;
    }
    static bool Later(const std::function<void()>& f)
    {
        // What opens a dialog returns only when the dialog closes.
        QTimer::singleShot(0, f);
        return true;
    }
    static bool Trigger(const char* name)
    {
        QMainWindow* w = Main();
        if (!w) return false;
        auto* action = w->findChild<QAction*>(QString::fromLatin1(name));
        if (!action) return false;
        return Later([action] { action->trigger(); });
    }
    static bool Press(const char* cls, const QString& button)
    {
        QWidget* w = Visible(cls);
        QAbstractButton* b = w ? ButtonCalled(w, button) : nullptr;
        if (!b) return false;
        return Later([b] { b->click(); });
    }

    void AcceptTerms()
    {
        steps_.push_back([] { return Press("flmImmunity", QStringLiteral("同意する")); });
    }
    void Change()
    {
        AcceptTerms();
        steps_.push_back([] {
            QMainWindow* w = Main();
            if (!w) return false;
            w->move(123, 45);
            return true;
        });
        steps_.push_back([] { return Trigger("DispSI"); });
        steps_.push_back([] {
            QMainWindow* w = Main();
            if (!w) return false;
            Say(QStringLiteral("closing at %1,%2").arg(w->x()).arg(w->y()));
            return Later([w] { w->close(); });
        });
    }
    void Report()
    {
        AcceptTerms();
        steps_.push_back([] {
            QMainWindow* w = Main();
            if (!w) return false;
            auto* si = w->findChild<QAction*>(QStringLiteral("DispSI"));
            Say(QStringLiteral("main at %1,%2").arg(w->x()).arg(w->y()));
            Say(QStringLiteral("SI display %1").arg(si && si->isChecked() ? "on" : "off"));
            return true;
        });
        steps_.push_back([] { return Trigger("mnuFileOpen"); });
        steps_.push_back([] {
            QWidget* d = Visible("QFileDialog");
            if (!d) return false;
            Say(QStringLiteral("file dialog buttons: ") + ButtonTexts(d).join(QLatin1Char('|')));
            QStringList labels;
            for (QLabel* l : d->findChildren<QLabel*>())
                if (l->isVisible() && !l->text().isEmpty()) labels << Plain(l->text());
            Say(QStringLiteral("file dialog labels: ") + labels.join(QLatin1Char('|')));
            return Later([d] { static_cast<QDialog*>(d)->reject(); });
        });
        steps_.push_back([] {
            QMainWindow* w = Main();
            auto* b = w ? w->findChild<QAbstractButton*>(QStringLiteral("cmdBDetail")) : nullptr;
            if (!b) return false;
            return Later([b] { b->click(); });
        });
        steps_.push_back([] {
            QWidget* d = Visible("frmBukken");
            auto* date = d ? d->findChild<QLineEdit*>(QStringLiteral("txtDate")) : nullptr;
            if (!date) return false;
            Say(QStringLiteral("details date: ") + date->text());
            return Later([d] { static_cast<QDialog*>(d)->reject(); });
        });
        steps_.push_back([] {
            QMainWindow* w = Main();
            auto* name = w ? w->findChild<QLineEdit*>(QStringLiteral("txtBukken")) : nullptr;
            if (!name) return false;
            name->setText(QStringLiteral("変更した物件"));
            return Later([w] { w->close(); });
        });
        steps_.push_back([] {
            QWidget* box = Visible("QMessageBox");
            if (!box) return false;
            Say(QStringLiteral("question buttons: ") + ButtonTexts(box).join(QLatin1Char('|')));
            // No, whatever it reads.
            QAbstractButton* no = static_cast<QMessageBox*>(box)->button(QMessageBox::No);
            return Later([box, no] { no ? no->click() : static_cast<QDialog*>(box)->reject(); });
        });
    }

    // The name on which the open and the save work.
    static QString File() { return QString::fromLocal8Bit(qgetenv("KV_FILE")); }
    void RenameProject()
    {
        steps_.push_back([] {
            QMainWindow* w = Main();
            auto* name = w ? w->findChild<QLineEdit*>(QStringLiteral("txtBukken")) : nullptr;
            if (!name) return false;
            name->setText(QStringLiteral("変更した物件"));
            return true;
        });
    }
    // Types KV_FILE into the file dialog's name, as a user does.
    static QDialog* TypeFileName()
    {
        QWidget* d = Visible("QFileDialog");
        auto* name = d ? d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!name || !name->isVisible()) return nullptr;
        name->setText(File());
        return static_cast<QDialog*>(d);
    }
    void OpenDialog()
    {
        AcceptTerms();
        steps_.push_back([] { return Trigger("mnuFileOpen"); });
        steps_.push_back([] {
            if (!Visible("QFileDialog")) return false;
            Say(QStringLiteral("file dialog shown"));
            return true;
        });
    }
    void OpenWithSignal()
    {
        AcceptTerms();
        steps_.push_back([this] {
            // The loading window shows while the open blocks the event loop.
            qApp->installEventFilter(this);
            return Trigger("mnuFileOpen");
        });
        steps_.push_back([] {
            QDialog* d = TypeFileName();
            return d && Later([d] { d->accept(); });
        });
    }
    void SaveWithSignal()
    {
        AcceptTerms();
        RenameProject();
        steps_.push_back([] { return Trigger("mnuFileSaveAs"); });
        steps_.push_back([] {
            QDialog* d = TypeFileName();
            return d && Later([d] {
                d->accept();
                // The save runs as soon as the dialog has gone.
                Say(QStringLiteral("saving"));
                ::raise(SIGTERM);
            });
        });
    }
    void CloseQuestion()
    {
        AcceptTerms();
        RenameProject();
        steps_.push_back([] {
            QMainWindow* w = Main();
            if (!w) return false;
            return Later([w] { w->close(); });
        });
        steps_.push_back([] {
            if (!Visible("QMessageBox")) return false;
            Say(QStringLiteral("question shown"));
            return true;
        });
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && watched->objectName() == u"frmNowLoading" && !signalled_) {
            signalled_ = true;
            Say(QStringLiteral("loading"));
            ::raise(SIGTERM);
        }
        return false;
    }

    void Tick()
    {
        if (next_ >= steps_.size()) return;
        if (steps_[next_]()) ++next_;
    }

    QTimer timer_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    bool signalled_ = false;
};

}  // namespace

class DriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "driver.json")
public:
    QObject* create(const QString&, const QString&) override
    {
        const QByteArray scenario = qgetenv("KV_DRIVE");
        if (scenario == "signal-at-start") ::raise(SIGTERM);
        return new Driver(scenario);
    }
};

#include "driver.moc"
