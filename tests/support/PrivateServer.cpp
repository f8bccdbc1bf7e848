#include "support/PrivateServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <unistd.h>

namespace shop::test {

namespace {

QString serverPrograms()
{
    const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    return versions.isEmpty() ? QString() : QStringLiteral("/usr/lib/postgresql/%1/bin").arg(versions.last());
}

} // namespace

PrivateServer::PrivateServer() : m_bin(serverPrograms())
{
    if (m_bin.isEmpty() || !m_dir.isValid())
        return;
    m_port = 40000 + static_cast<int>(QRandomGenerator::global()->bounded(20000));
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                            | QFileDevice::ReadOther | QFileDevice::ExeOther);
    // The server refuses to run as root: it runs as postgres, which must own its folder.
    if (geteuid() == 0 && QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:postgres"), m_dir.path()}) != 0)
        return;
    m_ready = run(QStringLiteral("initdb"), {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-U"),
                                             QStringLiteral("shop"), QStringLiteral("--auth=trust"), QStringLiteral("-E"),
                                             QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8")});
    if (m_ready)
        start();
    m_ready = m_ready
        && run(QStringLiteral("createdb"), {QStringLiteral("-h"), m_dir.path(), QStringLiteral("-p"), QString::number(m_port),
                                            QStringLiteral("-U"), QStringLiteral("shop"), QStringLiteral("lost")});
}

PrivateServer::~PrivateServer()
{
    if (!m_bin.isEmpty())
        stop();
}

QString PrivateServer::url() const
{
    return QStringLiteral("postgresql://shop@localhost:%1/lost?host=%2").arg(m_port).arg(m_dir.path());
}

QString PrivateServer::socketPath() const { return m_dir.filePath(QStringLiteral(".s.PGSQL.%1").arg(m_port)); }

void PrivateServer::stop()
{
    run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-m"),
                                   QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
}

void PrivateServer::start()
{
    run(QStringLiteral("pg_ctl"),
        {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("server.log")),
         QStringLiteral("-w"), QStringLiteral("-o"),
         QStringLiteral("-p %1 -k %2 -c listen_addresses='' -c fsync=off").arg(m_port).arg(m_dir.path()), QStringLiteral("start")});
}

bool PrivateServer::run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    const QString path = m_bin + QLatin1Char('/') + program;
    if (geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), path} + arguments);
    else
        p.start(path, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace shop::test
