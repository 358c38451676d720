#include "platform/dialogs.h"

#include <QStringList>

namespace platform {

Dialogs::~Dialogs() = default;

QList<std::pair<QString, QString>> Dialogs::filterPairs(const QString &filter)
{
    const QStringList fields = filter.split(u'|');
    QList<std::pair<QString, QString>> pairs;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2)
        pairs.append({fields[i], fields[i + 1]});
    return pairs;
}

} // namespace platform
