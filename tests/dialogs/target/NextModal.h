#pragma once
// Answers the next modal window of class T that the code under test opens
// (a file dialog, a sub-editor): polls the event loop the window runs and
// hands the window to act, which closes it. Create it before the call that
// opens the window. Message boxes have their own helper (ModalBox.h).

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace pz::test {

template <typename T>
class NextModal : public QObject {
public:
    explicit NextModal(std::function<void(T &)> act) : m_act(std::move(act))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!window || !window->isVisible())
                return;
            m_timer.stop();
            m_shown = true;
            m_act(*window);
        });
        m_timer.start(10);
    }
    bool shown() const { return m_shown; }

private:
    QTimer m_timer;
    std::function<void(T &)> m_act;
    bool m_shown = false;
};

// Picks path in the next file dialog (through its file name field), or
// cancels it when path is empty; keeps what the dialog showed.
class FileDialogAnswer : public NextModal<QFileDialog> {
public:
    explicit FileDialogAnswer(const QString &path)
        : NextModal<QFileDialog>([this, path](QFileDialog &chooser) {
              title = chooser.windowTitle();
              filters = chooser.nameFilters();
              if (path.isEmpty()) {
                  QMetaObject::invokeMethod(&chooser, "reject", Qt::QueuedConnection);
                  return;
              }
              chooser.findChild<QLineEdit *>("fileNameEdit")->setText(path);
              QMetaObject::invokeMethod(&chooser, "accept", Qt::QueuedConnection);
          })
    {
    }
    QString title;
    QStringList filters;
};

} // namespace pz::test
