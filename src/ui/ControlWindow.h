#pragma once
// What the instrument control windows share: a modal dialog that reports through the
// user seam (its own Qt dialogs, or the one a test puts in their place) and shows its
// texts through the program's translation catalog.

#include "core/UserInterface.h"
#include "ui/QtUserInterface.h"

#include <QDialog>
#include <QString>

#include <string>

class QPushButton;

namespace lumetra {

class TTranslationCatalog;

class TControlWindow : public QDialog {
public:
    TControlWindow(const TTranslationCatalog& catalog, QWidget* parent);

    // Replaces the Qt dialogs of the user seam (tests); null restores them.
    void UseUserInterface(TUserInterface* ui) { OverrideUi = ui; }
    TUserInterface& User() { return OverrideUi ? *OverrideUi : UserInterface; }

protected:
    std::string T(const std::string& english) const;
    QString Tr(const char* english) const { return QString::fromStdString(T(english)); }
    TTranslate Translator() const;

    // A command button whose hint is also its caption: the window's buttons carry no
    // pictures, so the text says what they do.
    QPushButton* CommandButton();
    static void SetHint(QPushButton* button, const QString& hint);

private:
    const TTranslationCatalog& Catalog;
    TQtUserInterface UserInterface;
    TUserInterface* OverrideUi = nullptr;
};

} // namespace lumetra
