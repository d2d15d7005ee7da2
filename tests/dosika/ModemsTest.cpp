// The AT dialogue: answer extraction on strings, and the dialogue over a line whose
// far end plays the modem.

#include "links/Modems.h"

#include "DkTestLine.h"
#include "core/Errors.h"
#include "support/ScriptedUserInterface.h"

#include <gtest/gtest.h>

namespace lumetra::test {
namespace {

Bytes B(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(RemoveBlanks, RemovesEveryBlank) {
    std::string text = " at&f; atq0;  atv1 ;";
    RemoveBlanks(text);
    EXPECT_EQ(text, "at&f;atq0;atv1;");
    std::string tabs = "a\tb";
    RemoveBlanks(tabs);
    EXPECT_EQ(tabs, "a\tb");
}

TEST(ModemCommandText, CarriageReturnButNotAfterTheEscape) {
    EXPECT_EQ(ModemCommandText("at&f"), "at&f\r");
    EXPECT_EQ(ModemCommandText("+++"), "+++");
}

TEST(ExtractModemAnswer, EchoAndFraming) {
    std::string answer;
    ASSERT_TRUE(ExtractModemAnswer("at&f\r", "at&f\r\r\nOK\r\n", answer));
    EXPECT_EQ(answer, "OK");
    ASSERT_TRUE(ExtractModemAnswer("at&f\r", "\r\nERROR\r\n", answer));
    EXPECT_EQ(answer, "ERROR");
    answer = "kept";
    EXPECT_FALSE(ExtractModemAnswer("at&f\r", "", answer));
    EXPECT_FALSE(ExtractModemAnswer("at&f\r", "at&f\r", answer));
    EXPECT_FALSE(ExtractModemAnswer("at&f\r", "at&f\r\r\n", answer)); // nothing between
    EXPECT_FALSE(ExtractModemAnswer("at&f\r", "\r\n", answer));
    EXPECT_FALSE(ExtractModemAnswer("at&f\r", "x", answer));
    EXPECT_EQ(answer, "kept");
}

TEST(ModemCommand, EchoAndAnswerInOneReading) {
    TDkTestLine line(
        [](const Bytes& request) -> TReply {
            return {TChunk{0, Join({request, B("\r\nOK\r\n")})}};
        },
        TDkTestLine::TMode::Text);
    TScriptedUserInterface ui;
    ConfigureModemPort(line.Handle());
    std::string answer;
    ModemCommand(ui, line.Handle(), "at&f", 0, answer);
    EXPECT_EQ(answer, "OK");
    EXPECT_EQ(line.Requests(), (std::vector<Bytes>{B("at&f\r")}));
    EXPECT_EQ(ui.PendingEventRuns, 1);
}

// The echo at once, the answer only after the first reading has ended (200 ms after
// the echo).
TDkTestLine::TResponder LateAnswer() {
    return [](const Bytes& request) -> TReply {
        return {TChunk{0, request}, TChunk{350, B("\r\nOK\r\n")}};
    };
}

TEST(ModemCommand, EchoFirstAnswerInTheNextReading) {
    TScriptedUserInterface ui;
    {
        TDkTestLine line(LateAnswer(), TDkTestLine::TMode::Text);
        ConfigureModemPort(line.Handle());
        std::string answer;
        ModemCommand(ui, line.Handle(), "at&f", 2, answer);
        EXPECT_EQ(answer, "OK");
        EXPECT_EQ(ui.ManualClock.Pauses, (std::vector<std::uint32_t>{500}));
    }
    {
        TDkTestLine line(LateAnswer(), TDkTestLine::TMode::Text);
        ConfigureModemPort(line.Handle());
        std::string answer;
        ModemCommand(ui, line.Handle(), "at&f", 0, answer);
        EXPECT_EQ(answer, "NO RESPONSE");
    }
}

TEST(ModemCommand, EscapeGoesOutAlone) {
    TDkTestLine line([](const Bytes&) -> TReply { return {TChunk{0, B("\r\nOK\r\n")}}; },
                     TDkTestLine::TMode::Text);
    TScriptedUserInterface ui;
    ConfigureModemPort(line.Handle());
    std::string answer;
    ModemCommand(ui, line.Handle(), "+++", 0, answer);
    EXPECT_EQ(answer, "OK");
    EXPECT_EQ(line.Requests(), (std::vector<Bytes>{B("+++")}));
}

TEST(DetectModem, AnsweringAndSilentLines) {
    TScriptedUserInterface ui;
    {
        TDkTestLine line([](const Bytes&) -> TReply { return {TChunk{0, B("\r\nOK\r\n")}}; },
                         TDkTestLine::TMode::Text);
        EXPECT_EQ(DetectModem(ui, line.Handle()), Result::Success);
    }
    {
        TDkTestLine line([](const Bytes&) -> TReply { return {}; }, TDkTestLine::TMode::Text);
        EXPECT_EQ(DetectModem(ui, line.Handle()), Result::NoAnswer);
        EXPECT_EQ(line.Requests(), (std::vector<Bytes>{B("at&f\r")}));
    }
    EXPECT_EQ(DetectModem(ui, InvalidHandle), Result::NoAnswer);
}

} // namespace
} // namespace lumetra::test
