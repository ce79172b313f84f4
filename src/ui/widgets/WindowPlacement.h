#pragma once

class QWidget;

namespace kelvra::ui {

// Moves a top-level window, frame included, to the middle of its screen (or of the primary
// screen); does nothing when there is no screen at all.
void CentreOnScreen(QWidget& window);

} // namespace kelvra::ui
