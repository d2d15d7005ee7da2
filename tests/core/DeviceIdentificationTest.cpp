#include "core/DeviceIdentification.h"
#include "core/Errors.h"

#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

std::string Describe(Byte family, Byte type, Word serial, Byte software) {
    std::string text = "left over";
    DeviceDescription(family, type, serial, text, software);
    return text;
}

TEST(DeviceDescription, JoinsPrefixSerialAndSoftwareWithoutBlanks) {
    EXPECT_EQ(Describe(2, 5, 1234, 12), "Halvo PMT, SN:1234, SW:12");
    EXPECT_EQ(Describe(2, 1, 7, 3), "Halvo, (1) SN:7, SW:3");
    EXPECT_EQ(Describe(1, 2, 501, 40), "Dosika-PRO, SN:501, SW:40");
    EXPECT_EQ(Describe(1, 5, 9, 1), "Analogous Senra-R, SN:9, SW:1");
    EXPECT_EQ(Describe(2, 9, 2200, 5), "Halvo Home CO2, SN:2200, SW:5");
    EXPECT_EQ(Describe(4, 200, 17, 2), "Merix wireless network interface, SN:17, SW:2");
    EXPECT_EQ(Describe(5, 77, 3, 4), "Pemko based instrument, SN:3, SW:4");
}

TEST(DeviceDescription, SerialsAboveThe16BitSignRangeStayPositive) {
    EXPECT_EQ(Describe(2, 2, 32768, 1), "Halvo, SN:32768, SW:1");
    EXPECT_EQ(Describe(2, 2, 65535, 255), "Halvo, SN:65535, SW:255");
}

TEST(DeviceDescription, ModemAndUnknownPairs) {
    EXPECT_EQ(Describe(3, 0, 1234, 9), "MODEM, controlled by AT command set");
    EXPECT_EQ(Describe(3, 99, 0, 0), "MODEM, controlled by AT command set");
    // A coordinator of another type and an unknown Halvo type have no prefix.
    EXPECT_EQ(Describe(4, 7, 12, 3), "12, SW:3");
    EXPECT_EQ(Describe(2, 11, 5, 6), "5, SW:6");
    EXPECT_EQ(Describe(1, 3, 44, 2), "Morvel, SN:44, SW:2");
}

TEST(DeviceName, GivesTheModelOrLeavesTheNameAlone) {
    std::string name;
    DeviceName(2, 8, name);
    EXPECT_EQ(name, "Halvo Home");
    DeviceName(2, 10, name);
    EXPECT_EQ(name, "KVX5210-2 Geo");
    DeviceName(1, 2, name);
    EXPECT_EQ(name, "Dosika PRO");

    std::string unchanged = "as given";
    DeviceName(1, 3, unchanged); // the Morvel has a description but no model name
    EXPECT_EQ(unchanged, "as given");
    DeviceName(3, 1, unchanged);
    DeviceName(2, 0, unchanged);
    EXPECT_EQ(unchanged, "as given");
}

TEST(ShowResultMessage, FixedMessagesIgnoreTheCallersTextAndAreNotTranslated) {
    test::TScriptedUserInterface ui;
    ui.Translations["No response! Instrument connected? Right COM port? Cable OK?"] = "translated";
    ShowResultMessage(ui, 3, "ignored");
    ShowResultMessage(ui, 1);
    ShowResultMessage(ui, 19);
    ShowResultMessage(ui, 18);
    ASSERT_EQ(ui.Messages.size(), 4u);
    EXPECT_EQ(ui.Messages[0], "No response! Instrument connected? Right COM port? Cable OK?");
    EXPECT_EQ(ui.Messages[1],
              "No access to COM Port! Selected port available at this PC? No access by another application?");
    EXPECT_EQ(ui.Messages[2], "This instrument requires a later read-out software revision!");
    EXPECT_EQ(ui.Messages[3], "TCP/IP connection not established!");
}

TEST(ShowResultMessage, SuccessShowsTheCallersTextEvenWhenEmpty) {
    test::TScriptedUserInterface ui;
    ShowResultMessage(ui, 0, "Setup successful!");
    ShowResultMessage(ui, 0, "");
    ASSERT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(ui.Messages[0], "Setup successful!");
    EXPECT_EQ(ui.Messages[1], "");
}

TEST(ShowResultMessage, SilentCodesShowNothing) {
    test::TScriptedUserInterface ui;
    for (int code : {2, 7, 8, 9, 10, 11, 13, 15, 20, 255}) {
        ShowResultMessage(ui, static_cast<Byte>(code), "text");
    }
    EXPECT_TRUE(ui.Messages.empty());
    // Every code of the table has its own message.
    for (int code : {1, 3, 4, 5, 6, 12, 14, 16, 17, 18, 19}) {
        EXPECT_TRUE(ResultMessageText(static_cast<Byte>(code)).has_value()) << code;
    }
}

} // namespace
} // namespace lumetra
