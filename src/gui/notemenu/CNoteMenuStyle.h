#pragma once

#include <QProxyStyle>

// Gives the note menu's items the sizes its model measures and the menu a thin frame without
// margins; everything else is the application's style.
class CNoteMenuStyle : public QProxyStyle {
public:
    // One for all note menus, living as long as the application.
    static CNoteMenuStyle* Instance();
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

    static constexpr int kFrame = 2;

private:
    CNoteMenuStyle();
};
