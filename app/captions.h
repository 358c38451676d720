#pragma once

#include <QLabel>

/** Sets a label's caption and fits the label to it, as the window's labels size themselves. */
inline void setCaption(QLabel *label, const QString &caption)
{
    label->setText(caption);
    label->adjustSize();
}
