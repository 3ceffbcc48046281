#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace vorrel {

// The bot's own properties: what <bot name="..."/> gives in a template and matches in a
// pattern. The checker and the bot read the same ones, so that they agree on every pattern
// that names one.
class BotProperties final
{
public:
    // The test bot of the editor: its name is "Vessra", and it has no other property until it
    // is given one.
    BotProperties();

    // Empty for a property the bot does not have. Blanks around the name do not count.
    QString value(QStringView name) const;
    void set(const QString &name, const QString &value);
    void remove(const QString &name);
    // Every property's name, sorted.
    QStringList names() const;

    bool operator==(const BotProperties &other) const { return m_values == other.m_values; }

private:
    QHash<QString, QString> m_values;
};

} // namespace vorrel
