#include "app/ui/windowlist.h"

#include <QMenu>

#include "app/framerules.h"

void ShowWindowList(QMenu& menu, QAction* after, const QStringList& captions, int active,
                    const std::function<void(int)>& choose) {
    const QList<QAction*> items = menu.actions();
    for (qsizetype i = items.indexOf(after) + 1; i < items.size(); ++i) {
        menu.removeAction(items[i]);
        items[i]->deleteLater();
    }
    for (qsizetype i = 0; i < captions.size(); ++i) {
        if (i == 0) menu.addSeparator();
        const int index = static_cast<int>(i);
        QAction* item = menu.addAction(QString::fromStdString(orb8::WindowListText(index, captions[i].toStdString())));
        item->setObjectName(QStringLiteral("WindowItem%1").arg(index + 1));
        if (const int digit = orb8::WindowListShortcutDigit(index))
            item->setShortcut(QKeySequence(Qt::CTRL | (Qt::Key_0 + digit)));
        item->setCheckable(true);
        item->setChecked(index == active);
        QObject::connect(item, &QAction::triggered, &menu, [index, choose] { choose(index); });
    }
}
