#include "HostText.h"

#include "Change.h"

namespace HostText {

QString text(const char *key, const char *english)
{
    const QString k = QString::fromLatin1(key);
    const QString context = QString::fromLatin1(Change::HostContext);
    if (Change::HasTranslation(k, context))
        return Change::tr(k, context);
    return QString::fromUtf8(english);
}

} // namespace HostText
