#include "widgets/ui/ThemeColors.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vorrel {

namespace {

const char *const kTagColorProperty = "vorrelTagColor";
const char *const kTagRoleProperty = "vorrelTagRole";

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

const PreviewColors kLightPreview {
    .paper = QColor::fromRgb(0xFFFFFF),
    .text = QColor::fromRgb(0x000000),
    .tag = QColor::fromRgb(0x000080),
    .attribute = QColor::fromRgb(0x006F6F),
    .value = QColor::fromRgb(0x7F007F),
    .comment = QColor::fromRgb(0x5F6A00),
    .entity = QColor::fromRgb(0x800080),
    .declaration = QColor::fromRgb(0x800080),
    .cdata = QColor::fromRgb(0x800000),
    .error = QColor::fromRgb(0xC00000),
    .caret = QColor::fromRgb(0x000000),
    .lineNumber = QColor::fromRgb(0x606060),
    .margin = QColor::fromRgb(0xF0F0F0),
};

const PreviewColors kDarkPreview {
    .paper = QColor::fromRgb(0x1E1E1E),
    .text = QColor::fromRgb(0xDCDCDC),
    .tag = QColor::fromRgb(0x7CB7FF),
    .attribute = QColor::fromRgb(0x4EC9B0),
    .value = QColor::fromRgb(0xE59EE8),
    .comment = QColor::fromRgb(0xB5C26B),
    .entity = QColor::fromRgb(0xE0A0E0),
    .declaration = QColor::fromRgb(0xC9A6FF),
    .cdata = QColor::fromRgb(0xF0A8A8),
    .error = QColor::fromRgb(0xFF7B72),
    .caret = QColor::fromRgb(0xFFFFFF),
    .lineNumber = QColor::fromRgb(0xA0A0A0),
    .margin = QColor::fromRgb(0x2A2A2A),
};

void applyTagColor(QWidget *widget)
{
    const auto color = TagColor(widget->property(kTagColorProperty).toInt());
    const auto role = QPalette::ColorRole(widget->property(kTagRoleProperty).toInt());
    // The window's palette: the widget's own still holds the colour given last time, and the
    // window hears of a change before the widgets inside it take it on.
    const QPalette around = widget->window()->palette();
    QColor shade = tagColor(color, themeOf(around));
    double contrast = contrastRatio(shade, around.color(QPalette::Window));
    if (role == QPalette::ButtonText)
        contrast = std::min(contrast, contrastRatio(shade, around.color(QPalette::Button)));
    if (contrast < kLeastContrast)
        shade = around.color(role);
    QPalette palette = widget->palette();
    palette.setColor(role, shade);
    widget->setPalette(palette);
}

} // namespace

double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Theme themeOf(const QPalette &palette)
{
    // Black on this grey contrasts as much as white: (L + 0.05) / 0.05 = 1.05 / (L + 0.05).
    static const double kMiddle = std::sqrt(1.05 * 0.05) - 0.05;
    return relativeLuminance(palette.color(QPalette::Base)) < kMiddle ? Theme::Dark : Theme::Light;
}

const PreviewColors &previewColors(Theme theme)
{
    return theme == Theme::Dark ? kDarkPreview : kLightPreview;
}

QColor tagColor(TagColor color, Theme theme)
{
    const bool dark = theme == Theme::Dark;
    switch (color) {
    case TagColor::Blue:
        return dark ? QColor::fromRgb(0x8AB4FF) : QColor::fromRgb(0x0000FF);
    case TagColor::Maroon:
        return dark ? QColor::fromRgb(0xFF9E9E) : QColor::fromRgb(0x800000);
    case TagColor::Purple:
        return dark ? QColor::fromRgb(0xE29EE6) : QColor::fromRgb(0x800080);
    case TagColor::Green:
        // The form's green (#008000) is too light on a light grey window.
        return dark ? QColor::fromRgb(0x7DDC7D) : QColor::fromRgb(0x006400);
    }
    return {};
}

void useTagColor(QWidget *widget, TagColor color, QPalette::ColorRole role)
{
    widget->setProperty(kTagColorProperty, int(color));
    widget->setProperty(kTagRoleProperty, int(role));
    applyTagColor(widget);
}

void updateTagColors(QWidget *window)
{
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (widget->property(kTagColorProperty).isValid())
            applyTagColor(widget);
    }
}

} // namespace vorrel
