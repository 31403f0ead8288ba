#include "keyedcollection.h"

Result<void> KeyedCollection::add(const QString &key, const QString &value)
{
    if (contains(key)) {
        return Failure{
            FailureNumber::KeyAlreadyInCollection,
            QStringLiteral("This key is already associated with an element of this collection")};
    }
    m_entries.append({key, value});
    return {};
}

Result<void> KeyedCollection::remove(const QString &key)
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].key == key) {
            m_entries.removeAt(i);
            return {};
        }
    }
    return Failures::invalidProcedureCall();
}

bool KeyedCollection::contains(const QString &key) const
{
    for (const Entry &e : m_entries) {
        if (e.key == key) {
            return true;
        }
    }
    return false;
}

QString KeyedCollection::value(const QString &key) const
{
    for (const Entry &e : m_entries) {
        if (e.key == key) {
            return e.value;
        }
    }
    return {};
}

QStringList KeyedCollection::values() const
{
    QStringList out;
    out.reserve(m_entries.size());
    for (const Entry &e : m_entries) {
        out.append(e.value);
    }
    return out;
}
