#pragma once
// The one table of a Button's stored properties: the key (which is also the property's name) and the
// member that holds it, in the order of the stored settings. Initialising a new instance, reading and
// writing a property bag, and every setter's change report are driven by it; the defaults are the
// member initialisers of ButtonProperties.
#include "ButtonProperties.h"

#include <array>
#include <variant>

using PropertyMember = std::variant<qint32 ButtonProperties::*, quint32 ButtonProperties::*, bool ButtonProperties::*,
                                    QString ButtonProperties::*, QPixmap ButtonProperties::*>;

struct PropertyField {
    const char* key;
    PropertyMember member;
    /// Initialising a new instance leaves the value as it is (the border colours, which painting
    /// writes anyway).
    bool keptByInitNew = false;
};

inline constexpr std::array kPropertyFields = {
    PropertyField{"ButtonShape", &ButtonProperties::buttonShape},
    PropertyField{"ButtonStyle", &ButtonProperties::buttonStyle},
    PropertyField{"ButtonStyleColors", &ButtonProperties::buttonStyleColors},
    PropertyField{"ButtonTheme", &ButtonProperties::buttonTheme},
    PropertyField{"ButtonType", &ButtonProperties::buttonType},
    PropertyField{"CaptionAlignment", &ButtonProperties::captionAlignment},
    PropertyField{"CaptionEffect", &ButtonProperties::captionEffect},
    PropertyField{"CaptionStyle", &ButtonProperties::captionStyle},
    PropertyField{"DropDown", &ButtonProperties::dropDown},
    PropertyField{"PictureAlignment", &ButtonProperties::pictureAlignment},
    PropertyField{"BackColor", &ButtonProperties::backColor},
    PropertyField{"BackColorPressed", &ButtonProperties::backColorPressed},
    PropertyField{"BackColorHover", &ButtonProperties::backColorHover},
    PropertyField{"BorderColor", &ButtonProperties::borderColor, true},
    PropertyField{"BorderColorPressed", &ButtonProperties::borderColorPressed, true},
    PropertyField{"BorderColorHover", &ButtonProperties::borderColorHover, true},
    PropertyField{"ForeColor", &ButtonProperties::foreColor},
    PropertyField{"ForeColorPressed", &ButtonProperties::foreColorPressed},
    PropertyField{"ForeColorHover", &ButtonProperties::foreColorHover},
    PropertyField{"EffectColor", &ButtonProperties::effectColor},
    PropertyField{"Caption", &ButtonProperties::caption},
    PropertyField{"FocusRect", &ButtonProperties::focusRect},
    PropertyField{"Value", &ButtonProperties::value},
    PropertyField{"HandPointer", &ButtonProperties::handPointer},
    PropertyField{"Picture", &ButtonProperties::picture},
    PropertyField{"PictureGray", &ButtonProperties::pictureGray},
};

/// The key of the property held in Member, found at compile time.
template <auto Member>
constexpr const char* propertyKey()
{
    for (const PropertyField& field : kPropertyFields)
        if (const auto* member = std::get_if<decltype(Member)>(&field.member); member && *member == Member)
            return field.key;
    return nullptr;
}
