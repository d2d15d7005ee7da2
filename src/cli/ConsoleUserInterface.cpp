#include "cli/ConsoleUserInterface.h"

namespace lumetra::cli {

TConsoleUserInterface::TConsoleUserInterface(std::ostream& messages, bool showProgress)
    : Messages(messages), ProgressEnabled(showProgress) {}

void TConsoleUserInterface::ShowMessage(const std::string& text) {
    if (ProgressOpen && LastPercent >= 0) {
        Messages << '\n'; // the message must not land on the progress line
        LastPercent = -1;
    }
    Messages << text << '\n';
}

// The question and the answer given are shown, so that an operation declined by the
// default answer does not end without a word.
bool TConsoleUserInterface::AskYesNo(const std::string&, const std::string& question) {
    const auto it = YesNoAnswers.find(question);
    const bool answer = it != YesNoAnswers.end() && it->second;
    ShowMessage(question + (answer ? " Yes" : " No"));
    return answer;
}

bool TConsoleUserInterface::InputText(const std::string&, const std::string& prompt, std::string& value) {
    const auto it = TextAnswers.find(prompt);
    if (it == TextAnswers.end()) {
        return false;
    }
    value = it->second;
    return true;
}

int TConsoleUserInterface::ChooseFromList(const std::string& title, const std::vector<std::string>& items) {
    const auto it = ListAnswers.find(title);
    int choice = -1;
    if (it != ListAnswers.end() && it->second >= 0 && static_cast<std::size_t>(it->second) < items.size()) {
        choice = it->second;
    }
    ShowMessage(title + ": " +
                (choice < 0 ? std::string("(none)") : items[static_cast<std::size_t>(choice)]));
    return choice;
}

void TConsoleUserInterface::ShowProgress(const std::string& title, int maximum) {
    ProgressTitle = title;
    ProgressMaximum = maximum;
    LastPercent = -1;
    ProgressOpen = ProgressEnabled;
}

// One line rewritten in place, and only when the percentage moves, so that a download of
// thousands of records does not flood a log.
void TConsoleUserInterface::UpdateProgress(int position, const std::string& text) {
    if (!ProgressOpen) {
        return;
    }
    if (ProgressMaximum <= 0) {
        // No known end (a download counts records as they come): show the count itself.
        if (position == LastPercent) {
            return;
        }
        LastPercent = position;
        Messages << '\r' << ProgressTitle << ": " << text;
        Messages.flush();
        return;
    }
    const long long clamped = position < 0 ? 0 : (position > ProgressMaximum ? ProgressMaximum : position);
    const int percent = static_cast<int>(clamped * 100 / ProgressMaximum);
    if (percent == LastPercent) {
        return;
    }
    LastPercent = percent;
    Messages << '\r' << ProgressTitle << ": " << percent << '%';
    if (!text.empty()) {
        Messages << ' ' << text;
    }
    Messages.flush();
}

void TConsoleUserInterface::HideProgress() {
    if (ProgressOpen && LastPercent >= 0) {
        Messages << '\n';
    }
    ProgressOpen = false;
    LastPercent = -1;
}

} // namespace lumetra::cli
