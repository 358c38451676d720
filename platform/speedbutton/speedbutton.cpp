#include "platform/speedbutton/speedbutton.h"

#include "platform/picture/transparency.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>
#include <qdrawutil.h>

namespace platform {

namespace {

// The width of the raised frame; margins count from inside it.
constexpr int frameWidth = 2;

constexpr int textFlags =
    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;

} // namespace

SpeedButton::SpeedButton(QWidget *parent) : QAbstractButton(parent)
{
    // Speed buttons never take the focus, so the space bar stays with the window.
    setFocusPolicy(Qt::NoFocus);
}

void SpeedButton::setGroupIndex(int index)
{
    m_groupIndex = index;
    if (m_groupIndex == 0)
        m_down = false;
    else if (m_down)
        putPartnersUp();
    update();
}

void SpeedButton::setAllowAllUp(bool allow)
{
    m_allowAllUp = allow;
    for (SpeedButton *partner : groupPartners())
        partner->m_allowAllUp = allow;
}

void SpeedButton::setDown(bool down)
{
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = down;
    if (m_down)
        putPartnersUp();
    update();
}

void SpeedButton::click()
{
    setDown(!m_down);
    emit clicked(m_down);
}

void SpeedButton::setGlyph(const QPixmap &glyph)
{
    m_glyph = glyph.hasAlphaChannel() ? glyph
                                      : QPixmap::fromImage(bottomLeftTransparent(glyph.toImage()));
    m_glyphCount = 1;
    if (!m_glyph.isNull() && m_glyph.width() % m_glyph.height() == 0) {
        const int count = m_glyph.width() / m_glyph.height();
        if (count <= 4)
            m_glyphCount = count;
    }
    updateGeometry();
    update();
}

void SpeedButton::setMargin(int pixels)
{
    m_margin = pixels;
    update();
}

void SpeedButton::setSpacing(int pixels)
{
    m_spacing = pixels;
    updateGeometry();
    update();
}

void SpeedButton::setCaptionColor(const QColor &color)
{
    m_captionColor = color;
    update();
}

void SpeedButton::setHandCursor(bool hand)
{
    m_handCursor = hand;
    if (hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QSize SpeedButton::glyphSize() const
{
    return m_glyph.isNull() ? QSize(0, 0) : QSize(m_glyph.width() / m_glyphCount, m_glyph.height());
}

QPixmap SpeedButton::shownGlyph() const
{
    enum Image { Up, Disabled, Pressed, Down };
    Image image = Up;
    if (!isEnabled())
        image = Disabled;
    else if (m_pressed)
        image = Pressed;
    else if (m_down)
        image = Down;
    const QSize size = glyphSize();
    if (image < m_glyphCount)
        return m_glyph.copy(image * size.width(), 0, size.width(), size.height());
    const QPixmap up = m_glyph.copy(0, 0, size.width(), size.height());
    if (image != Disabled)
        return up;
    QStyleOption option;
    option.initFrom(this);
    return style()->generatedIconPixmap(QIcon::Disabled, up, &option);
}

QSize SpeedButton::sizeHint() const
{
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
    const QSize glyph = glyphSize();
    int width = qMax(m_margin, 0) * 2 + glyph.width() + textSize.width();
    if (!m_glyph.isNull() && !text().isEmpty())
        width += m_spacing;
    const int height = qMax(glyph.height(), textSize.height()) + 2;
    return QSize(width, height) + QSize(2 * frameWidth, 2 * frameWidth);
}

bool SpeedButton::event(QEvent *event)
{
    // A mnemonic in the caption acts as a left click; QAbstractButton would emit clicked
    // without changing the down state.
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            click();
        return true;
    }
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_tracking = false;
        setPressed(false);
    }
    return QAbstractButton::event(event);
}

// Keys go to the window: QAbstractButton would click on the space bar.
void SpeedButton::keyPressEvent(QKeyEvent *event)
{
    event->ignore();
}

void SpeedButton::keyReleaseEvent(QKeyEvent *event)
{
    event->ignore();
}

void SpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    const bool sunken = m_down || m_pressed;

    painter.fillRect(rect(), pal.button());
    // A down button of a group shows a darker, dithered face, as grouped buttons do on Windows.
    if (m_down && !m_pressed) {
        painter.fillRect(rect(), pal.button().color().darker(118));
        painter.fillRect(rect(), QBrush(pal.light().color(), Qt::Dense4Pattern));
    }
    qDrawWinButton(&painter, rect(), pal, sunken, nullptr);

    QRect inner = rect().adjusted(frameWidth, frameWidth, -frameWidth, -frameWidth);
    if (sunken)
        inner.translate(1, 1);

    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
    const QSize glyph = glyphSize();
    const int gap = (!m_glyph.isNull() && !text().isEmpty()) ? m_spacing : 0;
    int left = inner.left() + m_margin;
    if (m_margin < 0)
        left = inner.left() + (inner.width() - (glyph.width() + gap + textSize.width())) / 2;

    if (!m_glyph.isNull()) {
        painter.drawPixmap(QPoint(left, inner.top() + (inner.height() - glyph.height()) / 2),
                           shownGlyph());
        left += glyph.width() + gap;
    }

    if (!text().isEmpty()) {
        // A glyph as high as the button may cover the frame; the caption stays inside it.
        const QRect textRect(left, inner.top(), inner.right() - left + 1, inner.height());
        painter.setClipRect(inner);
        painter.setFont(font());
        if (isEnabled()) {
            painter.setPen(m_captionColor.isValid() ? m_captionColor : pal.buttonText().color());
            painter.drawText(textRect, textFlags, text());
        } else {
            // The embossed grey of a disabled caption on Windows.
            painter.setPen(pal.light().color());
            painter.drawText(textRect.translated(1, 1), textFlags, text());
            painter.setPen(pal.dark().color());
            painter.drawText(textRect, textFlags, text());
        }
    }
}

void SpeedButton::mousePressEvent(QMouseEvent *event)
{
    const QPointer<SpeedButton> alive(this);
    emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
    // A mouse-down handler may have disabled, hidden or deleted the button, or run a modal window.
    if (!alive || !isEnabled() || !isVisible())
        return;
    if (event->button() == Qt::LeftButton) {
        m_tracking = true;
        setPressed(true);
    }
    event->accept();
}

void SpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracking)
        setPressed(hitButton(event->position().toPoint()));
    event->accept();
}

void SpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || !m_tracking)
        return;
    m_tracking = false;
    setPressed(false);
    if (hitButton(event->position().toPoint()))
        click();
}

QList<SpeedButton *> SpeedButton::groupPartners() const
{
    QList<SpeedButton *> partners;
    if (m_groupIndex == 0 || !parentWidget())
        return partners;
    const auto siblings = parentWidget()->findChildren<SpeedButton *>(Qt::FindDirectChildrenOnly);
    for (SpeedButton *sibling : siblings) {
        if (sibling != this && sibling->m_groupIndex == m_groupIndex)
            partners.append(sibling);
    }
    return partners;
}

void SpeedButton::putPartnersUp()
{
    for (SpeedButton *partner : groupPartners()) {
        if (partner->m_down) {
            partner->m_down = false;
            partner->update();
        }
    }
}

void SpeedButton::setPressed(bool pressed)
{
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    update();
}

} // namespace platform
