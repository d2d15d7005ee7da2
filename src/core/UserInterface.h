#pragma once
// The seam between operations and the user. Core operations that must tell or ask the
// user, show progress, let pending window events run or pause call this interface;
// the GUI implements it with Qt, the command-line tool with the console and its
// options, the tests with a scripted double.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumetra {

// The translation lookup as a plain function, for operations that only need to
// translate: the text to show for an English text.
using TTranslate = std::function<std::string(const std::string&)>;

// Waits go through one clock so that tests of retry logic need not wait for real.
class TClock {
public:
    virtual ~TClock() = default;
    virtual void Pause(std::uint32_t milliseconds) = 0;
    // Milliseconds on a steady clock with an arbitrary origin.
    virtual std::uint64_t NowMilliseconds() = 0;
};

// The real clock of the machine.
class TSystemClock final : public TClock {
public:
    void Pause(std::uint32_t milliseconds) override;
    std::uint64_t NowMilliseconds() override;
};

class TUserInterface {
public:
    virtual ~TUserInterface() = default;

    // A modal message box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& question) = 0;
    // A Yes/No question before something that cannot be undone (clearing the memory,
    // stopping a measurement): a warning, with No as the default answer.
    virtual bool AskWarning(const std::string& title, const std::string& question) { return AskYesNo(title, question); }
    // A text input box starting with `value`; false when cancelled (value unchanged).
    virtual bool InputText(const std::string& title, const std::string& prompt, std::string& value) = 0;
    // Choosing one of `items`; the 0-based index, or -1 when nothing was chosen.
    virtual int ChooseFromList(const std::string& title, const std::vector<std::string>& items) = 0;

    // A progress display running from 0 to `maximum`.
    virtual void ShowProgress(const std::string& title, int maximum) = 0;
    virtual void UpdateProgress(int position, const std::string& text) = 0;
    virtual void HideProgress() = 0;

    // Lets pending window events run between exchanges with an instrument.
    virtual void ProcessPendingEvents() = 0;

    // The translation lookup: the text to show for an English text.
    virtual std::string Translate(const std::string& english) const = 0;

    virtual TClock& Clock() = 0;
};

} // namespace lumetra
