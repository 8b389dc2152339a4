#include "app/ui/windowlist.h"

#include <QMenu>
#include <QPointer>

#include "app/framerules.h"
#include "workspace/ui/documentwindow.h"

void ShowWindowList(QMenu& menu, QAction* after, const QList<DocumentWindow*>& windows, const DocumentWindow* active,
                    const std::function<void(DocumentWindow*)>& choose) {
    const QList<QAction*> items = menu.actions();
    for (qsizetype i = items.indexOf(after) + 1; i < items.size(); ++i) {
        menu.removeAction(items[i]);
        items[i]->deleteLater();
    }
    for (qsizetype i = 0; i < windows.size(); ++i) {
        DocumentWindow* window = windows[i];
        if (i == 0) menu.addSeparator();
        const int index = static_cast<int>(i);
        QAction* item =
            menu.addAction(QString::fromStdString(orb8::WindowListText(index, window->Caption().toStdString())));
        item->setObjectName(QStringLiteral("WindowItem%1").arg(index + 1));
        if (const int digit = orb8::WindowListShortcutDigit(index))
            item->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + digit)));
        item->setCheckable(true);
        item->setChecked(window == active);
        QPointer<DocumentWindow> target = window;
        QObject::connect(item, &QAction::triggered, window, [target, choose] {
            if (target) choose(target);
        });
    }
}
