#include "platform/richtext/richtextedit.h"

#include "platform/platformerror.h"
#include "platform/richtext/richtextloader.h"

#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

namespace platform {

RichTextEdit::RichTextEdit(const WinPath &paths, QWidget *parent)
    : QTextEdit(parent), m_paths(paths)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setReadOnly(false);
    setUndoRedoEnabled(true);
    keepSelectionColours();
}

void RichTextEdit::loadFile(const QString &windowsPath)
{
    const QString host = m_paths.toHost(windowsPath);
    QFile file(host);
    if (host.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw PlatformError(QStringLiteral("Cannot read the text file %1: %2")
                                .arg(windowsPath, host.isEmpty() ? QStringLiteral("no such drive")
                                                                 : file.errorString()));
    const QByteArray bytes = file.read(maxFileBytes);
    if (file.error() != QFileDevice::NoError)
        throw PlatformError(QStringLiteral("Cannot read the text file %1: %2")
                                .arg(windowsPath, file.errorString()));
    loadBytes(bytes);
}

void RichTextEdit::loadBytes(QByteArrayView bytes)
{
    RichTextLoader().load(bytes, *document());
    QTextCursor cursor(document());
    setTextCursor(cursor);
    verticalScrollBar()->setValue(0);
}

int RichTextEdit::textLength() const
{
    return document()->characterCount() - 1;
}

void RichTextEdit::setCaretPosition(int position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(position, 0, textLength()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void RichTextEdit::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(event->key(), event->modifiers());
    QTextEdit::keyPressEvent(event);
}

void RichTextEdit::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !m_adjustingPalette)
        keepSelectionColours();
}

void RichTextEdit::keepSelectionColours()
{
    m_adjustingPalette = true;
    QPalette colours = palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);
    m_adjustingPalette = false;
}

} // namespace platform
