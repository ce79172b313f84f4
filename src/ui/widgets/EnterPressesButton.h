#pragma once

class QWidget;

namespace kelvra::ui {

// Enter or Return on a focused push button of root (or below it) presses the button, as in a
// dialog; buttons outside a dialog ignore those keys otherwise. Buttons made later are not
// covered.
void MakeEnterPressButtons(QWidget* root);

} // namespace kelvra::ui
