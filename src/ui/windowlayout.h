#pragma once

#include "viewplaces.h"

#include <QFont>
#include <QIcon>

// What the two windows share: places kept in layout units (px, place and Place, in
// viewplaces.h), the dialog font and the icon.
namespace WindowLayout {

// A sans-serif face of the classic dialog font's width, at its size: every caption
// fits its fixed place at 96 dots per inch.
inline QFont dialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

inline QIcon applicationIcon()
{
    return QIcon(QStringLiteral(":/kestrel/kestrel.png"));
}

} // namespace WindowLayout
