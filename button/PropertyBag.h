#pragma once
// The stored settings of one control in a window design: typed values under string keys.
// Keys are matched without regard to case and written in lower case; a value equal to the
// default it is written with is left out, so a bag holds only what differs from a fresh control.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

class PropertyBag
{
public:
    PropertyBag() = default;
    /// A bag holding the given entries, keys lower-cased, in the given order (a window design's data).
    PropertyBag(std::initializer_list<std::pair<QString, QVariant>> entries);

    /// The stored value of key, or defaultValue when the key is absent.
    QVariant read(const QString& key, const QVariant& defaultValue = {}) const;
    /// Stores value under key in lower case; when value equals defaultValue the key is removed
    /// instead. Without a default the value is always stored.
    void write(const QString& key, const QVariant& value, const QVariant& defaultValue = {});

    /// Whether key is stored (case does not matter).
    bool contains(const QString& key) const;
    /// The stored keys, lower case, in the order they were first written.
    QStringList keys() const;
    /// Number of stored keys.
    int size() const { return int(entries_.size()); }
    /// One "key = value" line per entry, in order, for logs and test failures.
    QString dump() const;

    /// Whether two values count as equal for the leave-out rule (pictures compare by pixels).
    static bool sameValue(const QVariant& a, const QVariant& b);

private:
    std::vector<std::pair<QString, QVariant>>::const_iterator find(const QString& key) const;

    std::vector<std::pair<QString, QVariant>> entries_;
};
