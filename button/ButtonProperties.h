#pragma once
// The stored properties of a Button, each with its default written once: what a fresh control holds
// and what a property bag without the key reads as. Enumerations are 32-bit and unchecked (a value
// outside the list is kept as given and matches none of the cases that use it); colours are OLE
// colours, 0x00BBGGRR or 0x800000nn for system colour nn.
#include <QPixmap>
#include <QString>
#include <QtGlobal>

struct ButtonProperties {
    static constexpr quint32 kButtonFace = 0x8000000F; ///< system colour 15, the face of buttons
    static constexpr quint32 kDesktop = 0x80000001;    ///< system colour 1

    qint32 buttonShape = 0; ///< Button::Shape
    qint32 buttonStyle = 1;
    qint32 buttonStyleColors = 1;
    qint32 buttonTheme = 0; ///< Button::Theme
    qint32 buttonType = 0;  ///< Button::Type
    qint32 captionAlignment = 2;
    qint32 captionEffect = 0;
    qint32 captionStyle = 0;
    qint32 dropDown = 0;
    qint32 pictureAlignment = 2;
    quint32 backColor = kButtonFace;
    quint32 backColorPressed = kButtonFace;
    quint32 backColorHover = kButtonFace;
    quint32 borderColor = 0;
    quint32 borderColorPressed = 0;
    quint32 borderColorHover = 0;
    quint32 foreColor = 0;
    quint32 foreColorPressed = 0x0000FF; // red
    quint32 foreColorHover = 0xFF0000;   // blue
    quint32 effectColor = 0xFFFFFF;
    /// The surface's own name; a new instance takes its container's name for it instead.
    QString caption = QStringLiteral("Button");
    bool focusRect = true;
    bool value = false;
    bool handPointer = false;
    QPixmap picture;
    bool pictureGray = false;
};

/// Where painting put the caption: top-left of the text and its extent, in pixels. A paint with a
/// CaptionAlignment outside 0..4 keeps the last one.
struct CaptionRect {
    qint32 x = 0, y = 0, cx = 0, cy = 0;
};

/// Where painting put the picture, and its size in pixels. A PictureAlignment outside 0..4 keeps the
/// last position.
struct PictureRect {
    qint32 x = 0, y = 0, w = 0, h = 0;
};
