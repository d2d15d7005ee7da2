#include "cli/ConsoleUserInterface.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lumetra::cli {
namespace {

TEST(ConsoleUserInterface, QuestionsTakePresetAnswersOrTheCautiousDefault) {
    std::ostringstream messages;
    TConsoleUserInterface ui(messages);
    ui.YesNoAnswers["Stop measurement?"] = true;
    ui.YesNoAnswers["Clear memory?"] = false;
    EXPECT_TRUE(ui.AskYesNo("Download", "Stop measurement?"));
    EXPECT_FALSE(ui.AskYesNo("Setup", "Clear memory?"));
    EXPECT_FALSE(ui.AskYesNo("Setup", "Overwrite setup?"));
    // The user sees what was decided for them.
    EXPECT_EQ(messages.str(), "Stop measurement? Yes\nClear memory? No\nOverwrite setup? No\n");
}

TEST(ConsoleUserInterface, TextInputWithoutPresetIsCancelled) {
    std::ostringstream messages;
    TConsoleUserInterface ui(messages);
    std::string value = "kept";
    EXPECT_FALSE(ui.InputText("Add comment to file", "Comment:", value));
    EXPECT_EQ(value, "kept");
    ui.TextAnswers["Comment:"] = "";
    EXPECT_TRUE(ui.InputText("Add comment to file", "Comment:", value));
    EXPECT_EQ(value, ""); // an empty preset is an answer, not a cancel
}

TEST(ConsoleUserInterface, ListChoiceOnlyWithinTheList) {
    std::ostringstream messages;
    TConsoleUserInterface ui(messages);
    const std::vector<std::string> nodes{"Node 1", "Node 2"};
    EXPECT_EQ(ui.ChooseFromList("Select node", nodes), -1);
    ui.ListAnswers["Select node"] = 1;
    EXPECT_EQ(ui.ChooseFromList("Select node", nodes), 1);
    ui.ListAnswers["Select node"] = 2;
    EXPECT_EQ(ui.ChooseFromList("Select node", nodes), -1);
    ui.ListAnswers["Select node"] = -3;
    EXPECT_EQ(ui.ChooseFromList("Select node", nodes), -1);
    EXPECT_EQ(ui.ChooseFromList("Select node", {}), -1);
}

TEST(ConsoleUserInterface, ProgressSilentUnlessAskedFor) {
    std::ostringstream quiet;
    TConsoleUserInterface silent(quiet);
    silent.ShowProgress("Download", 200);
    silent.UpdateProgress(100, "");
    silent.HideProgress();
    silent.ShowMessage("Download complete");
    EXPECT_EQ(quiet.str(), "Download complete\n");

    std::ostringstream shown;
    TConsoleUserInterface verbose(shown, true);
    verbose.ShowProgress("Download", 200);
    verbose.UpdateProgress(0, "");
    verbose.UpdateProgress(1, ""); // still 0 %
    verbose.UpdateProgress(100, "records");
    verbose.ShowMessage("Note"); // never on the progress line
    verbose.UpdateProgress(500, "");
    verbose.HideProgress();
    EXPECT_EQ(shown.str(), "\rDownload: 0%\rDownload: 50% records\nNote\n\rDownload: 100%\n");
}

TEST(ConsoleUserInterface, ProgressWithoutMaximumShowsTheCount) {
    // A download does not know its record count in advance: the line counts records.
    std::ostringstream shown;
    TConsoleUserInterface ui(shown, true);
    ui.ShowProgress("Data download", 0);
    ui.UpdateProgress(0, "-");
    ui.UpdateProgress(1, "1");
    ui.UpdateProgress(1, "1");
    ui.UpdateProgress(2, "2");
    ui.HideProgress();
    EXPECT_EQ(shown.str(), "\rData download: -\rData download: 1\rData download: 2\n");
}

} // namespace
} // namespace lumetra::cli
