// Placeholder painting: clears the face to the back colour. The full pipeline replaces this file.
#include "Button.h"

void Button::PaintButton()
{
    syncToggleLook();
    if (face_.size() != size())
        face_ = QImage(size(), QImage::Format_RGB32);
    // Direct colours are 0x00BBGGRR; system colours wait for the real colour translation.
    const QColor back = backColor_ & 0x80000000u
                            ? palette().color(QPalette::Button)
                            : QColor(backColor_ & 0xFF, (backColor_ >> 8) & 0xFF, (backColor_ >> 16) & 0xFF);
    face_.fill(back);
    ++paintCount_;
    update();
}
