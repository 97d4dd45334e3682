#pragma once

class QWindow;

namespace velawidget::quick {

/// Marks `window` as one of the kit's own selector windows, which never
/// count as the host's windows.
void markSelectorWindow(QWindow& window);
bool isSelectorWindow(const QWindow& window);

/// The first of the application's top-level windows that the host made,
/// shown or not, in the order the platform lists them; none when the host
/// has no window. The kit's selector windows, hidden ones included, are not
/// the host's.
QWindow* firstHostWindow();

/// The first time `window` is shown: a smaller size where today's would run
/// off its screen's available area with the window manager's frame around it
/// (a large scale factor on a laptop), never a larger one, and then placed in
/// the middle of that area. Later showings keep whatever size and place the
/// shopper gave it.
void fitToScreen(QWindow& window);

/// Shows `selector` as a dialog of `parent` (of its top-level window): a
/// transient of it, so the window manager keeps it above the parent and
/// treats the two as one; modal to it; centred on it as far as the screen
/// allows.
void presentOver(QWindow& selector, QWindow& parent);

}  // namespace velawidget::quick
