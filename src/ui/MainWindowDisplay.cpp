// The summary panel, the data controls and the navigation handlers of the main window.

// Before the window's header: its summary colours must precede the diagram's colour names.
#include "evaluation/IntegralData.h"
#include "ui/MainWindow.h"

#include "evaluation/CalibrationConstants.h"
#include "ui/SpectrumDisplay.h"

#include <QPalette>

namespace lumetra {
namespace {

void SetColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

} // namespace

void TMainWindow::ShowEmptySummary() {
    for (QLabel* label : {DevNumberLabel, TotalRecordsLabel, PeriodLabel, ExposureTimeLabel, AverageLabel,
                          ExposureLabel, StartTestLabel, EndTestLabel}) {
        label->setText(QStringLiteral("-"));
        SetColour(label, QColor(128, 128, 128));
    }
    ExposureItemLabel->setText(Tr("Exposure"));
    ExposureItemLabel->setVisible(true);
    ExposureLabel->setVisible(true);
    // The read-out row as it stands while no record is under the mouse.
    const TReadOut readOut = CursorReadOut(*Measured, Units, ViewState, *SmoothedSeries, -1, Translator());
    TimeLabel->setText(Q(readOut.TimeText));
    RadonLabel->setText(Q(readOut.RadonText));
    TempLabel->setText(Q(readOut.TempText));
    rHLabel->setText(Q(readOut.HumText));
    AddedSensorLabel->setText(Q(readOut.AddedSensorText.value_or("")));
    RadonModeLabel->clear();
}

void TMainWindow::InitDataDisplay() {
    const TSensorValidityMatrix& valid = Measured->SensorValidityMatrix;
    if (!Raw->Valid) {
        UnitButton->setEnabled(false);
        ErrorBarButton->setEnabled(false);
        RadonDisplayModeComboBox->hide();
        SaveButton->setEnabled(false);
        ExportTextButton->setEnabled(false);
        PrintProtocolButton->setEnabled(false);
        SpectrumButton->setVisible(false);
        return;
    }
    if (Saved) {
        SaveButton->setEnabled(false);
        ExportTextButton->setEnabled(true);
        PrintProtocolButton->setEnabled(Integral->DataOfOneSeries);
    } else {
        SaveButton->setEnabled(true);
    }
    UnitButton->setEnabled(true);
    ErrorBarButton->setEnabled(true);

    SpectrumButton->setVisible(valid.SpectrumValid);
    TempLabel->setVisible(valid.TempValid);
    rHLabel->setVisible(valid.rHValid);
    AddedSensorLabel->hide();
    if (valid.PresValid) {
        SetColour(AddedSensorLabel, QColor(255, 0, 255));
        AddedSensorLabel->show();
    } else if (valid.CO2Valid) {
        SetColour(AddedSensorLabel, QColor(128, 0, 0));
        AddedSensorLabel->show();
    }

    const Byte keptMode = ViewState.RadonDisplayMode;
    {
        const QSignalBlocker block(RadonDisplayModeComboBox);
        RadonDisplayModeComboBox->clear();
        int selected = -1;
        Byte selectedMode = 1;
        const bool flags[6] = {valid.RadonValid,    valid.RadonFastValid, valid.ThoronValid,
                               valid.RadonEECValid, valid.RadonPAECValid, valid.ThoronPAECValid};
        for (Byte mode = 1; mode <= 6; ++mode) {
            if (!flags[mode - 1])
                continue;
            RadonDisplayModeComboBox->addItem(Q(T(RadonDisplayModeName(mode))), mode);
            const bool keep = InitDataDisplayKeepView && mode == keptMode;
            if (mode == DisplayMode::Radon || mode == DisplayMode::RadonEEC || keep) {
                if (!InitDataDisplayKeepView || keep || selected < 0) {
                    selected = RadonDisplayModeComboBox->count() - 1;
                    selectedMode = mode;
                }
            }
        }
        if (selected < 0 && RadonDisplayModeComboBox->count() > 0) {
            selected = 0;
            selectedMode = static_cast<Byte>(RadonDisplayModeComboBox->itemData(0).toInt());
        }
        RadonDisplayModeComboBox->setCurrentIndex(selected);
        RadonDisplayModeComboBox->setVisible(RadonDisplayModeComboBox->count() >= 2);
        ViewState.RadonDisplayMode = selectedMode;
    }
    RadonModeLabel->setText(RadonDisplayModeComboBox->currentText());
    RadonModeLabel->adjustSize();
    RadonLabel->move(RadonModeLabel->x() + RadonModeLabel->width() + 10, RadonLabel->y());

    if (!InitDataDisplayKeepView) {
        const QSignalBlocker block(SmoothComboBox);
        SmoothComboBox->setCurrentIndex(0);
        SmoothedSeries->Period = 0;
        lumetra::ChangeRadonDisplayMode(ViewState, *SmoothedSeries, *Measured,
                                        RadonDisplayModeComboBox->currentText().toStdString(), Translator());
        ResetViewAfterLoading(ViewState, ScrollBar, *Raw, Diagram->InnerWidth());
        // The reset puts the borders back to the whole set; a view reset keeps the user's.
        MirrorScrollBar();
    }
}

void TMainWindow::DisplayIntegralData() {
    if (!Measured->Valid)
        return;
    const TSummaryTexts texts = SummaryTexts(ViewState.RadonDisplayMode, *Integral, Units, Raw->Header,
                                             ViewState.BordersSelected, Translator());
    QColor colour(128, 128, 128);
    if (texts.Colour == TSummaryColour::Black)
        colour = QColor(0, 0, 0);
    else if (texts.Colour == TSummaryColour::Red)
        colour = QColor(255, 0, 0);
    if (texts.PrintButton == TPrintButtonState::FollowExport)
        PrintProtocolButton->setEnabled(ExportTextButton->isEnabled());
    else if (texts.PrintButton == TPrintButtonState::Disabled)
        PrintProtocolButton->setEnabled(false);
    for (QLabel* label : {TotalRecordsLabel, StartTestLabel, EndTestLabel, PeriodLabel, AverageLabel, ExposureLabel,
                          ExposureTimeLabel})
        SetColour(label, colour);
    SetColour(DevNumberLabel, QColor(0, 0, 0));
    StartTestLabel->setText(Q(texts.StartTestLabel));
    EndTestLabel->setText(Q(texts.EndTestLabel));
    AverageLabel->setText(Q(texts.AverageLabel));
    ExposureItemLabel->setText(Q(texts.ExposureItemLabel));
    ExposureLabel->setText(Q(texts.ExposureLabel));
    ExposureItemLabel->setVisible(texts.ExposureVisible);
    ExposureLabel->setVisible(texts.ExposureVisible);
    DevNumberLabel->setText(Q(texts.DevNumberLabel));
    TotalRecordsLabel->setText(Q(texts.TotalRecordsLabel));
    ExposureTimeLabel->setText(Q(texts.ExposureTimeLabel));
    PeriodLabel->setText(Q(texts.PeriodLabel));
}

void TMainWindow::ZoomIn() {
    if (lumetra::ZoomIn(ViewState, ScrollBar, *Raw, Diagram->InnerWidth())) {
        MirrorScrollBar();
        RefreshDiagram();
    }
}

void TMainWindow::ZoomOut() {
    if (lumetra::ZoomOut(ViewState, ScrollBar, *Raw, Diagram->InnerWidth())) {
        MirrorScrollBar();
        RefreshDiagram();
    }
}

void TMainWindow::FitGraphic() {
    if (lumetra::FitGraphic(ViewState, ScrollBar, *Raw, Diagram->InnerWidth())) {
        MirrorScrollBar();
        RefreshDiagram();
    }
}

void TMainWindow::ScrollGraphic(int position) {
    if (SetScrollPosition(ScrollBar, ViewState, position, *Raw, Diagram->InnerWidth()))
        RefreshDiagram();
    MirrorScrollBar();
}

void TMainWindow::ShowErrorBars(bool shown) { Diagram->SetErrorBars(shown); }

void TMainWindow::ChangeRadonDisplayMode(int index) {
    if (!Measured->Valid || index < 0)
        return;
    lumetra::ChangeRadonDisplayMode(ViewState, *SmoothedSeries, *Measured,
                                    RadonDisplayModeComboBox->itemText(index).toStdString(), Translator());
    SmoothedSeries->Period = std::max(SmoothComboBox->currentIndex(), 0);
    if (SmoothedSeries->Period > 0)
        SmoothSeries(*Measured, *SmoothedSeries);
    RadonModeLabel->setText(RadonDisplayModeComboBox->itemText(index));
    RadonModeLabel->adjustSize();
    RadonLabel->move(RadonModeLabel->x() + RadonModeLabel->width() + 10, RadonLabel->y());
    DisplayIntegralData();
    RefreshDiagram();
}

void TMainWindow::SmoothingPeriodChanged(int index) {
    if (!Measured->Valid)
        return;
    lumetra::SmoothingPeriodChanged(*SmoothedSeries, index, ViewState.RadonDisplayMode, *Measured);
    RefreshDiagram();
}

void TMainWindow::ChangeUnits() {
    std::string caption;
    const bool evaluated = lumetra::ChangeUnits(Units, caption, *Raw, *Measured, *SmoothedSeries,
                                                ViewState.RadonDisplayMode, Translator());
    UnitButton->setText(Q(caption));
    if (evaluated) {
        SmoothedSeries->Period = std::max(SmoothComboBox->currentIndex(), 0);
        if (SmoothedSeries->Period > 0)
            SmoothSeries(*Measured, *SmoothedSeries);
        CalculateIntegralData(ViewState.LeftBorderIndex, ViewState.RightBorderIndex, *Raw, *Integral, *Measured);
        DisplayIntegralData();
        RefreshDiagram();
    }
}

void TMainWindow::MoveCursor(int x) {
    if (!Measured->Valid)
        return;
    const TReadOut readOut = CursorReadOut(*Measured, Units, ViewState, *SmoothedSeries, x, Translator());
    TimeLabel->setText(Q(readOut.TimeText));
    RadonLabel->setText(Q(readOut.RadonText));
    TempLabel->setText(Q(readOut.TempText));
    rHLabel->setText(Q(readOut.HumText));
    if (readOut.AddedSensorText)
        AddedSensorLabel->setText(Q(*readOut.AddedSensorText));
}

void TMainWindow::SetBorders() {
    const TBorderClickResult click = lumetra::SetBorders(ViewState, *Measured, *Raw);
    if (click.Kind == TBorderClick::FirstBorder) {
        StartTestLabel->setText(Q(click.StartTestText));
        EndTestLabel->setText(Q(click.EndTestText));
        SetColour(StartTestLabel, QColor(255, 0, 0));
        SetColour(EndTestLabel, QColor(255, 0, 0));
    } else if (click.Kind == TBorderClick::BordersSet) {
        CalculateIntegralData(ViewState.LeftBorderIndex, ViewState.RightBorderIndex, *Raw, *Integral, *Measured);
        DisplayIntegralData();
        RefreshDiagram();
        RefreshSpectrum();
    }
}

void TMainWindow::ResetBorders() {
    if (!lumetra::ResetBorders(ViewState, *Measured))
        return;
    CalculateIntegralData(ViewState.LeftBorderIndex, ViewState.RightBorderIndex, *Raw, *Integral, *Measured);
    DisplayIntegralData();
    RefreshDiagram();
    RefreshSpectrum();
}

void TMainWindow::DisplaySpectrum() {
    SpectrumWindow->ShowSpectrum(true, CurrentFile, Raw->Header, *Integral);
    RefreshDiagram();
}

void TMainWindow::RefreshSpectrum() {
    if (SpectrumWindow->isVisible())
        SpectrumWindow->ShowSpectrum(false, CurrentFile, Raw->Header, *Integral);
}

void TMainWindow::ShowInitParameter() {
    if (const std::optional<std::string> text = CalibrationConstantsText(*Raw, Units, Translator()))
        User().ShowMessage(*text);
}

} // namespace lumetra
