#pragma once
// Watches for the next modal dialog of one class and acts on it (rejects it
// unless told otherwise); remembers whether one came.

#include "ModalBox.h"

#include <functional>

namespace pz::test {

template <class T>
struct DialogWatch : ModalAnswerer {
    bool shown = false;
    std::function<void(T &)> act = [](T &d) { d.reject(); };

protected:
    bool takes(QWidget &modal) override { return !shown && qobject_cast<T *>(&modal); }
    void answer(QWidget &modal, bool first) override
    {
        if (!first)
            return;
        shown = true;
        act(*qobject_cast<T *>(&modal));
    }
};

} // namespace pz::test
