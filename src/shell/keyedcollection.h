#pragma once

#include <QList>
#include <QString>

#include "failure.h"

/// An ordered collection of texts, each under a unique key, kept in the order of adding.
class KeyedCollection
{
public:
    struct Entry
    {
        QString key;
        QString value;
    };

    /// Appends value under key; a key already present is refused (failure 457).
    Result<void> add(const QString &key, const QString &value);
    /// Removes the entry of key; a missing key is refused (failure 5).
    Result<void> remove(const QString &key);
    bool contains(const QString &key) const;
    QString value(const QString &key) const;
    void clear() { m_entries.clear(); }

    qsizetype count() const { return m_entries.size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    const QList<Entry> &entries() const { return m_entries; }
    /// The values in the order they were added.
    QStringList values() const;

private:
    QList<Entry> m_entries;
};
