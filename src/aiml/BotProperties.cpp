#include "aiml/BotProperties.h"

namespace vorrel {

BotProperties::BotProperties()
{
    m_values.insert(QStringLiteral("name"), QStringLiteral("Vessra"));
}

QString BotProperties::value(QStringView name) const
{
    return m_values.value(name.trimmed().toString());
}

void BotProperties::set(const QString &name, const QString &value)
{
    m_values.insert(name.trimmed(), value);
}

void BotProperties::remove(const QString &name)
{
    m_values.remove(name.trimmed());
}

QStringList BotProperties::names() const
{
    QStringList names = m_values.keys();
    names.sort();
    return names;
}

} // namespace vorrel
