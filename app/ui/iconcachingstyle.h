// The application's own style with its standard icons kept once made. Every
// MDI window builds its system menu from four of them, and the style reads
// their pictures anew each time: once per window opened.
#pragma once

#include <QHash>
#include <QIcon>
#include <QProxyStyle>

class IconCachingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;

private:
    mutable QHash<int, QIcon> icons_;
};
