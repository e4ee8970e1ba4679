// The Copy command of the report panel: the Summary as text, a graph page
// as a picture of its graph on a white plot area.

#include "ReportPanel.h"

#include "ui_Information_Dialog.h"

#include "SummaryText.h"

#include <QApplication>
#include <QClipboard>

QString ReportPanel::pictureLabel(int index) const
{
    QString label = m_ui->tabWidget->tabText(index);
    const QButtonGroup *options = index == kGamutPage  ? &m_colourSpace
                                : index == kDicomPage ? &m_dicomGraphType
                                                      : nullptr;
    if (options && options->checkedButton())
        label += QLatin1String(" - ") + options->checkedButton()->text();
    return label;
}

Plotter *ReportPanel::pageGraph(int index) const
{
    switch (index) {
    case kGamutPage:
        return m_ui->widget_Color_Gamut_Graph;
    case kCurvesPage:
        return m_ui->widget_Curves_Graph;
    case kTrackingPage:
        return m_ui->widget_Color_Tracking_Graph;
    case kDicomPage:
        return m_ui->widget_DICOM_Graph;
    default:
        return nullptr;
    }
}

void ReportPanel::copyToClipboard()
{
    const int index = m_ui->tabWidget->currentIndex();
    if (index == kSummaryPage)
        copySummaryText();
    else if (pageGraph(index))
        copyGraphPicture(index);
}

void ReportPanel::copySummaryText()
{
    const auto textOf = [this](const char *name) -> QString {
        const QString objectName = QLatin1String(name);
        if (const QGroupBox *group = findChild<QGroupBox *>(objectName))
            return group->title();
        const QLabel *label = findChild<QLabel *>(objectName);
        return label ? label->text() : QString();
    };
    QApplication::clipboard()->setText(summaryText(window()->windowTitle(), m_flavor, textOf));
}

// The graph is changed, photographed and restored within this call; the
// repaints the redraws schedule run afterwards, from the restored state.
void ReportPanel::copyGraphPicture(int index)
{
    Plotter *graph = pageGraph(index);
    graph->ShowZoomButtons(false);
    graph->WhiteBackground(true);
    const bool labelShown = graph->GetShowGraphLabel();
    const QString label = graph->GetGraphLabelString();
    graph->SetGraphLabelString(pictureLabel(index));
    graph->SetShowGraphLabel(true);
    graph->refreshPixmap();

    QApplication::clipboard()->setPixmap(graph->grab());

    graph->SetShowGraphLabel(labelShown);
    graph->SetGraphLabelString(label);
    graph->WhiteBackground(false);
    graph->ShowZoomButtons(true);
    graph->refreshPixmap();
}
