// The Window menu's list of open document windows: "&1:caption" with Ctrl+1
// up to the ninth, then "10:caption" without a shortcut; the active one ticked.
#pragma once

#include <QStringList>
#include <functional>

class QAction;
class QMenu;

// Replaces every item after `after` with the captions (`active`: the ticked
// one, -1 none); choosing item i calls `choose(i)`.
void ShowWindowList(QMenu& menu, QAction* after, const QStringList& captions, int active,
                    const std::function<void(int)>& choose);
