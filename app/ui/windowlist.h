// The Window menu's list of open document windows: "&1:caption" with Ctrl+1
// up to the ninth, then "10:caption" without a shortcut; the active one ticked.
#pragma once

#include <QList>
#include <functional>

class DocumentWindow;
class QAction;
class QMenu;

// Replaces every item after `after` with the list; choosing an item calls `choose`.
void ShowWindowList(QMenu& menu, QAction* after, const QList<DocumentWindow*>& windows, const DocumentWindow* active,
                    const std::function<void(DocumentWindow*)>& choose);
