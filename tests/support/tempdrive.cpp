#include "support/tempdrive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

TempDrive::TempDrive()
{
    m_paths.mapDrive(u'C', m_dir.path());
}

QString TempDrive::host(const QString &windowsPath) const
{
    QString rest = windowsPath.mid(2);
    rest.replace(u'\\', u'/');
    return m_dir.path() + rest;
}

void TempDrive::write(const QString &windowsPath, const QByteArray &bytes)
{
    const QString path = host(windowsPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        QTest::qFail(qPrintable(QStringLiteral("cannot write %1").arg(path)), __FILE__, __LINE__);
}

QByteArray TempDrive::read(const QString &windowsPath) const
{
    QFile file(host(windowsPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TempDrive::makeFolder(const QString &windowsPath) { QDir().mkpath(host(windowsPath)); }

void TempDrive::copyData(const QString &dataPath, const QString &windowsPath)
{
    QFile source(QStringLiteral(KARVEL_TEST_DATA) + u'/' + dataPath);
    if (!source.open(QIODevice::ReadOnly))
        QTest::qFail(qPrintable(QStringLiteral("no test data %1").arg(dataPath)), __FILE__, __LINE__);
    write(windowsPath, source.readAll());
}
