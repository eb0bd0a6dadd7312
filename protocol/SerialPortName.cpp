#include "protocol/SerialLink.h"

#include "app/InstallFolder.h"

#include <QFileInfo>

QString serialPortName(int number)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    const QString link = InstallFolder::file(QStringLiteral("com%1").arg(number));
    const QFileInfo info(link);
    if (info.exists() || info.isSymLink())
        return link;
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}
