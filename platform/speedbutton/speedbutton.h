#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

namespace platform {

/**
 * The push button used for every speed button of the program: a glyph and a caption, and a
 * down state that may be shared by a group of buttons.
 *
 * Groups: the buttons with the same non-zero group index and the same parent widget form one
 * group (direct children of that parent only), so a window needs no registry object: it places
 * the buttons and gives them their index. At most one button of a group is down. A group either
 * allows all its buttons up or keeps one down; setAllowAllUp sets this for the whole group.
 * A button of group 0 is never down.
 *
 * The program relies on these rules:
 * - setDown from code fires nothing, not even on the partners it puts up.
 * - A left click (press and release on the button) first changes the down state, as
 * setDown(!isDown()) would, then emits clicked(isDown()). So a click on the down button of a group
 * that does not allow all up leaves it down; with all-up allowed it goes up.
 * - Every mouse press (left, right or middle) emits mouseDown before anything else happens; a
 *   right or middle press neither presses the button nor leads to clicked.
 *
 * The glyph is drawn at its natural size at the left, `margin` pixels from the edge (-1 centres
 * glyph and caption together), `spacing` pixels before the caption. A glyph without an alpha
 * channel is transparent where it has the colour of its bottom-left pixel, as Windows glyph
 * bitmaps are. A glyph two to four times as wide as high holds that many square images side by
 * side, as Windows glyphs do: up, disabled, pressed, down; a state without its own image shows
 * the up image (greyed when disabled).
 *
 * isDown and setDown hide QAbstractButton's functions of the same name, which this button does
 * not use: call them on a SpeedButton.
 */
class SpeedButton : public QAbstractButton
{
    Q_OBJECT
    // As properties too, so a form file or setProperty reaches these and not QAbstractButton's.
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool allowAllUp READ allowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(bool down READ isDown WRITE setDown)
    Q_PROPERTY(QPixmap glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(int margin READ margin WRITE setMargin)
    Q_PROPERTY(int spacing READ spacing WRITE setSpacing)
    Q_PROPERTY(QColor captionColor READ captionColor WRITE setCaptionColor)
    Q_PROPERTY(bool handCursor READ handCursor WRITE setHandCursor)

public:
    explicit SpeedButton(QWidget *parent = nullptr);

    int groupIndex() const { return m_groupIndex; }
    /** A down button that joins a group puts the group's down button up; in group 0 it goes up. */
    void setGroupIndex(int index);

    bool allowAllUp() const { return m_allowAllUp; }
    /** Applies to every button of the group. */
    void setAllowAllUp(bool allow);

    bool isDown() const { return m_down; }
    /**
     * Puts the button down (its group partners go up) or up. Ignored for `true` in group 0 and
     * for `false` on the down button of a group that does not allow all up. Fires nothing.
     */
    void setDown(bool down);

    /** Does what a left click does: changes the down state, then emits clicked. */
    void click();

    QPixmap glyph() const { return m_glyph; }
    void setGlyph(const QPixmap &glyph);
    /** The number of images the glyph holds side by side (1 to 4). */
    int glyphCount() const { return m_glyphCount; }

    int margin() const { return m_margin; }
    void setMargin(int pixels);
    int spacing() const { return m_spacing; }
    void setSpacing(int pixels);

    /** An invalid colour uses the palette's button text colour. */
    QColor captionColor() const { return m_captionColor; }
    void setCaptionColor(const QColor &color);

    bool handCursor() const { return m_handCursor; }
    void setHandCursor(bool hand);

    QSize sizeHint() const override;

signals:
    /** A mouse button went down on the button; `position` is in the button's coordinates. */
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QSize glyphSize() const;
    /** The glyph image for the button's state, greyed when disabled without an image of its own. */
    QPixmap shownGlyph() const;
    QList<SpeedButton *> groupPartners() const;
    void putPartnersUp();
    void setPressed(bool pressed);

    int m_groupIndex = 0;
    bool m_allowAllUp = false;
    bool m_down = false;
    bool m_pressed = false; // the left button is held on the button
    bool m_tracking = false;
    QPixmap m_glyph;
    int m_glyphCount = 1;
    int m_margin = -1;
    int m_spacing = 4;
    QColor m_captionColor;
    bool m_handCursor = false;
};

} // namespace platform
