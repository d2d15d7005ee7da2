// The dose conversion window: what it shows for the calibration bytes it is given, a
// choice from the lists and a typed text reaching the form, a refused coefficient, and
// the bytes WRITE leaves for the opener.

#include "ui/dosika/DoseCoefficientWindow.h"

#include "i18n/Translation.h"
#include "support/ScriptedUserInterface.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

std::vector<std::string> Lines(const QComboBox* box) {
    std::vector<std::string> lines;
    for (int i = 0; i < box->count(); ++i)
        lines.push_back(box->itemText(i).toStdString());
    return lines;
}

std::string Shown(const QComboBox* box) { return box->currentText().toStdString(); }

TEST(DoseCoefficientWindow, ShowsTheBytesChoicesAndWritesTheChosenFactor) {
    TTranslationCatalog catalog;
    TScriptedUserInterface ui;
    TDoseCoefficientWindow window(catalog);
    window.UseUserInterface(&ui);
    // A Dosika whose bytes hold g 7.8 × F 0.4 for CAL1 50.
    window.InitValues.DeviceType = 1;
    window.InitValues.DeviceNumber = 77;
    window.InitValues.CAL1 = 50;
    window.InitValues.CAL2 = 40;
    window.InitValues.CAL3 = 26;
    window.show();
    EXPECT_EQ(window.windowTitle().toStdString(), "Dosika SN: 77");
    EXPECT_EQ(window.DoseConversionCoefficientLabel->text().toStdString(), "Dose Conversion Coefficient g(EEC)");
    EXPECT_EQ(window.Label2->text().toStdString(), "Equilibrium Factor F");
    EXPECT_EQ(Lines(window.DoseCoefficientComboBox),
              (std::vector<std::string>{"6.10 nSv/(Bqh/m³) - Public", "7.80 nSv/(Bqh/m³) - Workers"}));
    EXPECT_EQ(Shown(window.DoseCoefficientComboBox), "7.80 nSv/(Bqh/m³) - Workers");
    EXPECT_EQ(Lines(window.EquilibriumFactorComboBox).size(), 9u);
    EXPECT_EQ(Shown(window.EquilibriumFactorComboBox), "0.40");
    EXPECT_TRUE(window.EquilibriumFactorComboBox->isEnabled());
    EXPECT_GE(window.WriteButton->height(), window.EquilibriumFactorComboBox->height());

    // A coefficient of 0 typed is refused: the message, and the line shown before.
    QLineEdit* typed = window.DoseCoefficientComboBox->lineEdit();
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("0"));
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(ui.Messages, std::vector<std::string>{"The dose conversion coefficient must be a number above 0."});
    EXPECT_EQ(Shown(window.DoseCoefficientComboBox), "7.80 nSv/(Bqh/m³) - Workers");
    EXPECT_EQ(Shown(window.EquilibriumFactorComboBox), "0.40");

    // The public line keeps g × F = 3.12 and shows F 0.51, which is no line of the
    // factor list: its first key goes to 0.20, the next to 0.30. WRITE with g 6.1 and
    // F 0.3: CAL3 = Round(16.66 × 1.83 / 0.2 / 10) = 15, CAL4 = Round(16.66 × 1.83 / 0.25 / 10) = 12.
    QTest::keyClick(window.DoseCoefficientComboBox, Qt::Key_Up);
    EXPECT_EQ(Shown(window.EquilibriumFactorComboBox), "0.51");
    QTest::keyClick(window.EquilibriumFactorComboBox, Qt::Key_Down);
    QTest::keyClick(window.EquilibriumFactorComboBox, Qt::Key_Down);
    EXPECT_EQ(Shown(window.EquilibriumFactorComboBox), "0.30");
    window.WriteButton->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.Form().ClosedBySetButton);
    EXPECT_EQ(window.Form().InitValues.CAL3, 15);
    EXPECT_EQ(window.Form().InitValues.CAL4, 12);
    EXPECT_EQ(ui.Messages.size(), 1u);
}

} // namespace
} // namespace lumetra::test
