// Acts on a modal window of the code under test as soon as it is up.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace qttest {

// Runs `act` on the modal window as soon as one is up, once. A timer owned by
// the application polls until the window is up, then goes.
inline void OnModal(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(w);
        }
    });
    poll->start(0);
}

}  // namespace qttest
