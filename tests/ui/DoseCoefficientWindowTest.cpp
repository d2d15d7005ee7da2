// The dose conversion window: what it shows for the calibration bytes it is given, the
// user's choices, a refused coefficient, and the bytes WRITE leaves for the opener.

#include "ui/dosika/DoseCoefficientWindow.h"

#include "i18n/Translation.h"
#include "support/ScriptedUserInterface.h"

#include <QApplication>
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

void TypeAndReturn(QComboBox* box, const QString& text) {
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
}

class DoseCoefficientWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        Window.UseUserInterface(&Ui);
        // A Dosika whose bytes hold g 7.8 × F 0.4 for CAL1 50.
        Window.InitValues.DeviceType = 1;
        Window.InitValues.DeviceNumber = 77;
        Window.InitValues.CAL1 = 50;
        Window.InitValues.CAL2 = 40;
        Window.InitValues.CAL3 = 26;
        Window.InitValues.CAL4 = 21;
    }

    TTranslationCatalog Catalog;
    TScriptedUserInterface Ui;
    TDoseCoefficientWindow Window{Catalog};
};

TEST_F(DoseCoefficientWindowTest, ADosikaShowsTheFactorItsBytesHoldAndWritesTheChosenOne) {
    Window.show();
    EXPECT_EQ(Window.windowTitle().toStdString(), "Dosika SN: 77");
    EXPECT_EQ(Window.DoseConversionCoefficientLabel->text().toStdString(), "Dose Conversion Coefficient g(EEC)");
    EXPECT_EQ(Window.Label2->text().toStdString(), "Equilibrium Factor F");
    EXPECT_EQ(Lines(Window.DoseCoefficientComboBox),
              (std::vector<std::string>{"6.10 nSv/(Bqh/m³) - Public", "7.80 nSv/(Bqh/m³) - Workers"}));
    EXPECT_EQ(Window.DoseCoefficientComboBox->currentText().toStdString(), "7.80 nSv/(Bqh/m³) - Workers");
    EXPECT_EQ(Lines(Window.EquilibriumFactorComboBox),
              (std::vector<std::string>{"0.20", "0.30", "0.40", "0.50", "0.60", "0.70", "0.80", "0.90", "1.00"}));
    EXPECT_EQ(Window.EquilibriumFactorComboBox->currentText().toStdString(), "0.40");
    EXPECT_TRUE(Window.EquilibriumFactorComboBox->isEnabled());
    EXPECT_EQ(Window.WriteButton->text().toStdString(), "WRITE");
    EXPECT_GE(Window.WriteButton->height(), Window.EquilibriumFactorComboBox->height());

    // The public coefficient keeps g × F = 3.12: F becomes 0.51.
    QTest::keyClick(Window.DoseCoefficientComboBox, Qt::Key_Up);
    EXPECT_EQ(Window.EquilibriumFactorComboBox->currentText().toStdString(), "0.51");
    // F 0.3 with g 6.1: CAL3 = Round(16.66 × 1.83 / 0.2 / 10) = 15, CAL4 = Round(16.66 × 1.83 / 0.25 / 10) = 12.
    // 0.51 is no line of the list: the first key goes to its first line.
    QTest::keyClick(Window.EquilibriumFactorComboBox, Qt::Key_Down);
    QTest::keyClick(Window.EquilibriumFactorComboBox, Qt::Key_Down);
    EXPECT_EQ(Window.EquilibriumFactorComboBox->currentText().toStdString(), "0.30");
    Window.WriteButton->click();
    EXPECT_FALSE(Window.isVisible());
    EXPECT_EQ(Window.result(), QDialog::Accepted);
    EXPECT_TRUE(Window.Form().ClosedBySetButton);
    EXPECT_EQ(Window.Form().Error, 0);
    EXPECT_EQ(Window.Form().InitValues.CAL3, 15);
    EXPECT_EQ(Window.Form().InitValues.CAL4, 12);
    EXPECT_TRUE(Ui.Messages.empty());
}

TEST_F(DoseCoefficientWindowTest, TypedTextsCountWhenDoneAndARefusedCoefficientChangesNothing) {
    Window.show();
    TypeAndReturn(Window.DoseCoefficientComboBox, QStringLiteral("0"));
    EXPECT_EQ(Ui.Messages, std::vector<std::string>{"The dose conversion coefficient must be a number above 0."});
    EXPECT_EQ(Window.DoseCoefficientComboBox->currentText().toStdString(), "7.80 nSv/(Bqh/m³) - Workers");
    EXPECT_EQ(Window.EquilibriumFactorComboBox->currentText().toStdString(), "0.40");

    // A typed factor outside 0.2 to 1 counts as 0.5 and stays shown as typed:
    // CAL3 = Round(16.66 × 3.9 / 0.2 / 10) = 32.
    TypeAndReturn(Window.EquilibriumFactorComboBox, QStringLiteral("1.5"));
    EXPECT_EQ(Window.EquilibriumFactorComboBox->currentText().toStdString(), "1.5");
    Window.WriteButton->click();
    EXPECT_EQ(Window.Form().InitValues.CAL3, 32);
    EXPECT_EQ(Ui.Messages.size(), 1u);
}

} // namespace
} // namespace lumetra::test
