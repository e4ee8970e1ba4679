#pragma once
// Watches for the next modal dialog of one class and acts on it (rejects it
// unless told otherwise); remembers whether one came.

#include <QApplication>
#include <QTimer>

#include <functional>

namespace pz::test {

template <class T>
struct DialogWatch : QObject {
    bool shown = false;
    std::function<void(T &)> act = [](T &d) { d.reject(); };
    QTimer timer;
    DialogWatch()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto *d = qobject_cast<T *>(QApplication::activeModalWidget())) {
                timer.stop();
                shown = true;
                act(*d);
            }
        });
        timer.start(10);
    }
};

} // namespace pz::test
