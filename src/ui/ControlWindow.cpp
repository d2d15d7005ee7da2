#include "ui/ControlWindow.h"

#include "i18n/Translation.h"

#include <QPushButton>

namespace lumetra {

TControlWindow::TControlWindow(const TTranslationCatalog& catalog, QWidget* parent)
    : QDialog(parent), Catalog(catalog), UserInterface(this, catalog) {
    // Sized by its layout when shown; the close box stays, the help button goes.
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

std::string TControlWindow::T(const std::string& english) const { return Catalog.Translate(english); }

TTranslate TControlWindow::Translator() const {
    return [this](const std::string& english) { return T(english); };
}

QPushButton* TControlWindow::CommandButton() {
    auto* button = new QPushButton(this);
    // Enter in an edit must not fire a command at the instrument.
    button->setAutoDefault(false);
    return button;
}

void TControlWindow::SetHint(QPushButton* button, const QString& hint) {
    button->setText(hint);
    button->setToolTip(hint);
    // Some room beside the text, which the style's own margin leaves tight.
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(hint) + 24);
}

} // namespace lumetra
