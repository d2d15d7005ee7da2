// The four control windows filled from simulated instruments of a fitting type, as a
// user sees them: no control is cut off or outside its window. The pictures are
// written to the working (build) folder; docs/screenshots holds copies.

#include "ControlWindowSupport.h"
#include "core/Errors.h"
#include "dosika/DosikaCommands.h"
#include "dosika/DosikaControl.h"
#include "halvo/HalvoControl.h"
#include "i18n/Translation.h"
#include "ui/dosika/AnalogSensorControlWindow.h"
#include "ui/dosika/DoseCoefficientWindow.h"
#include "ui/dosika/DosikaControlWindow.h"
#include "ui/halvo/HalvoControlWindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace lumetra::test {
namespace {

// The text a control shows: a label's, a button's, an edit's, a group's title, a list's line.
QString Shown(const QWidget* w) {
    for (const char* property : {"text", "title", "currentText"})
        if (const QVariant value = w->property(property); value.isValid())
            return value.toString();
    return {};
}

// The controls shown cut off or reaching outside the window: an edit, a list or a group
// narrower than its text (with room for the frame and a list's arrow), any other
// control smaller than its size hint.
std::vector<std::string> Clipped(const QWidget& window) {
    std::vector<std::string> clipped;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const bool boxed = qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
                           qobject_cast<const QGroupBox*>(w);
        const bool control = boxed || qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w);
        // An edit inside a list is the list's own.
        if (!control || !w->isVisibleTo(&window) || qobject_cast<const QComboBox*>(w->parentWidget()))
            continue;
        const int needed = boxed ? w->fontMetrics().horizontalAdvance(Shown(w)) + 28 : w->sizeHint().width();
        if (!window.rect().contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size())))
            clipped.push_back("outside: " + Shown(w).toStdString());
        else if (w->width() < needed || w->height() < w->minimumSizeHint().height())
            clipped.push_back("cut off: " + Shown(w).toStdString());
    }
    return clipped;
}

class ControlWindowScreenshot : public TControlWindowTest {
protected:
    void Shoot(QWidget& window, const char* file) {
        window.show();
        QApplication::processEvents();
        EXPECT_EQ(Clipped(window), std::vector<std::string>{});
        EXPECT_TRUE(window.grab().save(QString::fromLatin1(file)));
    }

    TTranslationCatalog Catalog;
};

TEST_F(ControlWindowScreenshot, HalvoControl) {
    sim::THalvoSimState state;
    state.DeviceType = 4;
    state.SoftwareVersion = 12;
    state.DeviceNumber = 4711;
    state.SetupWord = 0x0005; // buzzer on alarm, fast radon mode
    ServeHalvo(state);
    THalvoControlWindow window(Catalog);
    window.UseUserInterface(&Ui);
    window.SelectedCom = Port();
    ASSERT_EQ(HlvOpenControl(Ui, window.SelectedCom, window.InitValues, window.SetupValues), Result::Success);
    Shoot(window, "halvo-control.png");
}

TEST_F(ControlWindowScreenshot, DosikaControlAnalogSensorAndDoseCoefficients) {
    TAnalogSensorControlWindow analog(Catalog);
    TDoseCoefficientWindow dose(Catalog);
    TDosikaControlWindow dosika(Catalog, analog, dose);
    for (TControlWindow* w : std::initializer_list<TControlWindow*>{&analog, &dose, &dosika})
        w->UseUserInterface(&Ui);

    sim::TDkSimState pro = sim::DkSimDefaultState(2, 5);
    pro.SerialNumber = 2345;
    pro.UserID = 17;
    pro.SetupByte = 0x05;
    ServeDosika(pro);
    dosika.SelectedCom = Port();
    ASSERT_EQ(DkOpenControl(Ui, dosika.SelectedCom, dosika.InitValues, dosika.SetupValues), Result::Success);
    Shoot(dosika, "dosika-control.png");
    dosika.hide();

    sim::TDkSimState senra = sim::DkSimDefaultState(6, 5);
    senra.SerialNumber = 612;
    senra.DOutMode = 0x83;
    senra.AOut1RangeWord = sim::DkSimRangeWord(50000);
    senra.AOut1AlarmWord = 300;
    senra.Values.RadonValue = 120;
    senra.Values.RadonError = 8;
    senra.Values.ThoronValue = 35;
    senra.Values.ThoronError = 21;
    senra.Values.AOut1Value = 1022;
    ServeDosika(senra);
    analog.SelectedCom = Port();
    ASSERT_EQ(DkReadAnalogSetup(Ui, analog.SelectedCom, analog.AnalogSensorSetup), Result::Success);
    analog.setWindowTitle(QStringLiteral("Senra-P SN: 612"));
    analog.show();
    analog.SpeedButton1->click();
    EXPECT_EQ(analog.AOut1mAEdit->text().toStdString(), "20.44mA");
    Shoot(analog, "analog-sensor.png");
    analog.hide();

    ServeDosika(sim::DkSimDefaultState(1, 5));
    ASSERT_EQ(DkReadInitValues(Ui, Port(), dose.InitValues), Result::Success);
    Shoot(dose, "dose-coefficients.png");
    EXPECT_EQ(dose.EquilibriumFactorComboBox->currentText().toStdString(), "0.40");
}

} // namespace
} // namespace lumetra::test
