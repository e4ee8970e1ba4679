#pragma once
// The numbered table of user texts and application constants. Every text
// is translated at each call (context "QObject", the entry's comment as the
// disambiguation), so the installed translators decide the language.

#include <QString>

// The text of id; "Missing message text" (translated) for an id without an
// entry. Ids 12 and 13 (file names) and 15 (the copyright line of ICC
// profiles, an ASCII field) are never translated.
QString GetStringResource(unsigned int id);
