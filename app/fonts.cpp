#include "app/fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes()
{
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("LcdD"),
                               QStringList{QStringLiteral("DSEG14 Classic"), QStringLiteral("DSEG7 Classic")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
}
