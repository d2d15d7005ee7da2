#pragma once
// The user seam of the core, answered with Qt dialogs.

#include "core/UserInterface.h"

#include <QDialog>
#include <QLabel>
#include <QWidget>

#include <memory>

namespace lumetra {

class TTranslationCatalog;

// "Merix Lumetra 6.6.0": the caption of the main window and of its message boxes.
QString ProgramCaption();

class TQtUserInterface final : public TUserInterface {
public:
    TQtUserInterface(QWidget* parent, const TTranslationCatalog& catalog);
    ~TQtUserInterface() override;

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& title, const std::string& question) override;
    bool AskWarning(const std::string& title, const std::string& question) override;
    bool InputText(const std::string& title, const std::string& prompt, std::string& value) override;
    int ChooseFromList(const std::string& title, const std::vector<std::string>& items) override;
    void ShowProgress(const std::string& title, int maximum) override;
    void UpdateProgress(int position, const std::string& text) override;
    void HideProgress() override;
    void ProcessPendingEvents() override;
    std::string Translate(const std::string& english) const override;
    QDialog* ProgressWindow() const { return Progress.get(); }
    QString ProgressText() const;
    TClock& Clock() override { return SystemClock; }

private:
    QWidget* Parent;
    const TTranslationCatalog& Catalog;
    // The download window: "Records:" and the count so far, 200 × 80.
    std::unique_ptr<QDialog> Progress;
    QLabel* ProgressCount = nullptr;
    TSystemClock SystemClock;
};

} // namespace lumetra
