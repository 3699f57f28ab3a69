#include "PropertyBag.h"

#include <QImage>
#include <QPixmap>

#include <algorithm>

PropertyBag::PropertyBag(std::initializer_list<std::pair<QString, QVariant>> entries)
{
    for (const auto& [key, value] : entries) {
        const auto it = find(key);
        if (it != entries_.end())
            entries_[it - entries_.begin()].second = value;
        else
            entries_.emplace_back(key.toLower(), value);
    }
}

std::vector<std::pair<QString, QVariant>>::const_iterator PropertyBag::find(const QString& key) const
{
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const auto& entry) { return entry.first.compare(key, Qt::CaseInsensitive) == 0; });
}

QVariant PropertyBag::read(const QString& key, const QVariant& defaultValue) const
{
    const auto it = find(key);
    return it != entries_.end() ? it->second : defaultValue;
}

void PropertyBag::write(const QString& key, const QVariant& value, const QVariant& defaultValue)
{
    const auto it = find(key);
    const auto index = it - entries_.cbegin();
    // Saving again into the same bag must not leave a stale value behind for a key now at its default.
    if (defaultValue.isValid() && sameValue(value, defaultValue)) {
        if (it != entries_.end())
            entries_.erase(entries_.begin() + index);
        return;
    }
    if (it != entries_.end())
        entries_[index].second = value;
    else
        entries_.emplace_back(key.toLower(), value);
}

bool PropertyBag::contains(const QString& key) const
{
    return find(key) != entries_.end();
}

QStringList PropertyBag::keys() const
{
    QStringList result;
    result.reserve(size());
    for (const auto& entry : entries_)
        result << entry.first;
    return result;
}

QString PropertyBag::dump() const
{
    QString text;
    for (const auto& [key, value] : entries_) {
        QString shown = value.toString();
        if (value.typeId() == QMetaType::UInt) {
            shown = QStringLiteral("0x") + QString::number(value.toUInt(), 16).toUpper();
        } else if (value.typeId() == QMetaType::QPixmap) {
            const QSize size = value.value<QPixmap>().size();
            shown = QStringLiteral("picture %1x%2").arg(size.width()).arg(size.height());
        }
        text += key + QStringLiteral(" = ") + shown + QLatin1Char('\n');
    }
    return text;
}

bool PropertyBag::sameValue(const QVariant& a, const QVariant& b)
{
    // QPixmap has no equality of its own; two pictures are the same when their pixels are.
    const auto isPicture = [](const QVariant& v) {
        return v.typeId() == QMetaType::QPixmap || v.typeId() == QMetaType::QImage;
    };
    if (isPicture(a) || isPicture(b)) {
        if (!isPicture(a) || !isPicture(b))
            return false;
        const QImage ia = a.typeId() == QMetaType::QPixmap ? a.value<QPixmap>().toImage() : a.value<QImage>();
        const QImage ib = b.typeId() == QMetaType::QPixmap ? b.value<QPixmap>().toImage() : b.value<QImage>();
        return ia == ib;
    }
    return a == b;
}
