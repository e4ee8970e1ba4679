#include "ResultMarks.h"

#include "StringResources.h"

namespace pz {

QString resultMark(ResultMark mark)
{
    const char *image = "green circle icon.png";
    switch (mark) {
    case ResultMark::Done:
        break;
    case ResultMark::Failed:
        image = "red circle icon.png";
        break;
    case ResultMark::Warning:
        image = "alerts_yellow_icon_20.png";
        break;
    case ResultMark::Bad:
        image = "alerts_red_icon_20.png";
        break;
    }
    return QStringLiteral("<img src=\":/images/Resources/%1\">&nbsp;").arg(QLatin1String(image));
}

QString resultLine(ResultMark mark, unsigned stringId)
{
    return resultMark(mark) + GetStringResource(stringId);
}

} // namespace pz
