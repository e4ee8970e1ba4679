#pragma once
// The rich-text marks in front of the lines the main window's flows report
// (calibrate, profile, validate): an image and a non-breaking space. The
// summary box shows the lines as they are appended.

#include <QString>

namespace pz {

enum class ResultMark { Done, Failed, Warning, Bad };

// The mark alone, e.g. <img src=":/images/Resources/green circle icon.png">&nbsp;
QString resultMark(ResultMark mark);
// The mark followed by the text of a string resource.
QString resultLine(ResultMark mark, unsigned stringId);

} // namespace pz
