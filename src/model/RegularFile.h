#pragma once
// Files a user names are read only when they are regular files. A named
// pipe would hold the reading thread in open() until some writer came (the
// GUI thread, for as long as nobody writes), and a directory, a socket or a
// device holds nothing the program wrote either. Every reader of a file the
// user names or may have replaced opens it through openRegularFile.

#include <QString>

class QFile;

namespace pz {

// True when path names a regular file; a symbolic link counts as what it
// points to. Looks at the name only, never opens it.
bool isRegularFile(const QString &path);

// Opens file (its name set, not open) read-only when its name is a regular
// file; otherwise leaves it closed and returns false, at once. The name is
// looked at before opening, and what was opened is looked at again, so a
// name swapped for a pipe in between is refused without waiting for a
// writer.
bool openRegularFile(QFile &file);

} // namespace pz
