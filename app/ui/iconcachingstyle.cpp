#include "app/ui/iconcachingstyle.h"

#include <QGuiApplication>
#include <QStyleOption>

QIcon IconCachingStyle::standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const {
    // Some icons (the arrows) are mirrored right to left: the direction is part of the key.
    const Qt::LayoutDirection direction = option ? option->direction : QGuiApplication::layoutDirection();
    const int key = static_cast<int>(icon) * 2 + (direction == Qt::RightToLeft ? 1 : 0);
    const auto known = icons_.constFind(key);
    if (known != icons_.constEnd()) return *known;
    const QIcon made = QProxyStyle::standardIcon(icon, option, widget);
    icons_.insert(key, made);
    return made;
}
