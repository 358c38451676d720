#pragma once

#include "platform/winpath.h"

#include <QTextEdit>

namespace platform {

/**
 * The text pane: shows a song's words from an RTF or plain text file, lets the user edit
 * them (nothing is ever saved) and follows the song with its caret.
 *
 * The vertical scroll bar is always shown, lines wrap at the pane's width and the selection
 * keeps its colours while the pane has no focus. Font and colours are the owner's to set;
 * RTF text in the "auto" colour, or in a font the file does not name, uses them.
 */
class RichTextEdit : public QTextEdit
{
    Q_OBJECT

public:
    /** `paths` turns the Windows paths given to loadFile() into host paths; it must outlive the
     * pane. */
    explicit RichTextEdit(const WinPath &paths, QWidget *parent = nullptr);

    /**
     * Replaces the text with the file's: RTF when it begins with "{\rtf", else plain text.
     * A file that cannot be read throws PlatformError naming it; the old text then stays.
     */
    void loadFile(const QString &windowsPath);

    /** Replaces the text with `bytes`, read as loadFile() reads a file. */
    void loadBytes(QByteArrayView bytes);

    /** The number of characters; each paragraph end counts as one. */
    int textLength() const;

    /** Moves the caret there (clamped to the text) and scrolls it into view. */
    void setCaretPosition(int position);

    /** The bytes read from a file at most; the text of a longer file is cut there. */
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

signals:
    /**
     * A key went down in the pane, before the pane handles it: the key is not consumed, so a
     * space also goes into the text.
     */
    void keyDown(int key, Qt::KeyboardModifiers modifiers);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void keepSelectionColours();

    const WinPath &m_paths;
    bool m_adjustingPalette = false;
};

} // namespace platform
