#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace figures::dialogtest {

// Runs act on the next modal window that opens (polling the event loop), so that a test
// can drive a dialog that its command runs with exec().
inline void WhenModal(std::function<void(QWidget*)> act, QWidget* after = nullptr)
{
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act), after] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == after) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

// Closes the next message box and hands back its caption and text.
struct SeenMessage {
    QString caption;
    QString text;
    bool seen = false;
};

inline void AnswerNextMessage(SeenMessage& seen, QWidget* after,
                              QMessageBox::StandardButton answer = QMessageBox::Ok)
{
    WhenModal(
        [&seen, answer](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr) {
                return;
            }
            seen = {box->windowTitle(), box->text(), true};
            box->done(answer);
        },
        after);
}

} // namespace figures::dialogtest
