#pragma once
// Answers the next modal window of class T that the code under test opens
// (a file dialog, a sub-editor), handing it to act, which closes it. Create
// it before the call that opens the window (ModalBox.h).

#include "ModalBox.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QString>

namespace pz::test {

template <typename T>
using NextModal = ModalWindowAnswer<T>;

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
