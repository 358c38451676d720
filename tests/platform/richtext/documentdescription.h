#pragma once

#include <QColor>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>

/**
 * A compact, line-based description of a document for golden files: one line per paragraph
 * with its non-default formats, then one line per run of equally formatted text.
 */
inline QString describeDocument(const QTextDocument &document)
{
    QStringList lines;
    const auto number = [](double v) { return QString::number(v, 'g', 4); };
    lines << QStringLiteral("D tabs every %1")
                 .arg(number(document.defaultTextOption().tabStopDistance()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat f = block.blockFormat();
        QString line = QStringLiteral("P");
        const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
        if (a & Qt::AlignHCenter)
            line += QStringLiteral(" center");
        else if (a & Qt::AlignRight)
            line += QStringLiteral(" right");
        else if (a & Qt::AlignJustify)
            line += QStringLiteral(" justify");
        if (f.leftMargin())
            line += QStringLiteral(" left=") + number(f.leftMargin());
        if (f.rightMargin())
            line += QStringLiteral(" right=") + number(f.rightMargin());
        if (f.textIndent())
            line += QStringLiteral(" first=") + number(f.textIndent());
        if (f.topMargin())
            line += QStringLiteral(" before=") + number(f.topMargin());
        if (f.bottomMargin())
            line += QStringLiteral(" after=") + number(f.bottomMargin());
        if (f.hasProperty(QTextFormat::LineHeight))
            line +=
                QStringLiteral(" line=%1/%2").arg(number(f.lineHeight())).arg(f.lineHeightType());
        if (!f.tabPositions().isEmpty()) {
            QStringList tabs;
            static const char *const kinds[] = {"", "r", "c", "d"};
            for (const QTextOption::Tab &tab : f.tabPositions())
                tabs << number(tab.position) + QLatin1String(kinds[tab.type]);
            line += QStringLiteral(" tabs=") + tabs.join(QLatin1Char(','));
        }
        if (f.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            line += QStringLiteral(" pagebreak");
        lines << line;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat c = fragment.charFormat();
            QStringList attributes;
            if (!c.fontFamilies().toStringList().isEmpty())
                attributes << c.fontFamilies().toStringList().join(QLatin1Char(','));
            if (c.hasProperty(QTextFormat::FontPointSize))
                attributes << number(c.fontPointSize());
            if (c.fontWeight() >= QFont::Bold)
                attributes << QStringLiteral("b");
            if (c.fontItalic())
                attributes << QStringLiteral("i");
            if (c.fontUnderline())
                attributes << QStringLiteral("u");
            if (c.fontStrikeOut())
                attributes << QStringLiteral("s");
            if (c.fontCapitalization() == QFont::AllUppercase)
                attributes << QStringLiteral("caps");
            if (c.fontCapitalization() == QFont::SmallCaps)
                attributes << QStringLiteral("smallcaps");
            if (c.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                attributes << QStringLiteral("super");
            if (c.verticalAlignment() == QTextCharFormat::AlignSubScript)
                attributes << QStringLiteral("sub");
            if (c.hasProperty(QTextFormat::ForegroundBrush))
                attributes << QStringLiteral("fg=") + c.foreground().color().name();
            if (c.hasProperty(QTextFormat::BackgroundBrush))
                attributes << QStringLiteral("bg=") + c.background().color().name();
            QString text = fragment.text();
            if (c.isImageFormat()) {
                const QTextImageFormat image = c.toImageFormat();
                text = QStringLiteral("<image %1x%2>")
                           .arg(qRound(image.width()))
                           .arg(qRound(image.height()));
            }
            text.replace(QLatin1Char('\t'), QLatin1String("\\t"));
            text.replace(QChar(0x2028), QLatin1String("\\n"));
            lines << QStringLiteral("  [%1] %2").arg(attributes.join(QLatin1Char(' ')), text);
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
