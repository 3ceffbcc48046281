#include "widgets/ui/FormFont.h"

#include <QStringList>

namespace vorrel {

namespace {

// Liberation Sans and Arial share the metrics the layouts were measured in; without them
// the system's own sans-serif face stands in. A substitute rather than a family list, so
// that any font naming the form face, made here or not, comes out the same.
void registerSubstitutes()
{
    static const bool registered = [] {
        QFont::insertSubstitutions(formFamily(), { QStringLiteral("Liberation Sans"), QStringLiteral("Arial") });
        return true;
    }();
    (void)registered;
}

QFont baseFont()
{
    registerSubstitutes();
    QFont font(formFamily());
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

QString formFamily()
{
    return QStringLiteral("MS Sans Serif");
}

QFont formFont(int points)
{
    QFont font = baseFont();
    font.setPointSize(points);
    return font;
}

QFont formFontPixels(int pixels)
{
    QFont font = baseFont();
    font.setPixelSize(pixels);
    return font;
}

} // namespace vorrel
