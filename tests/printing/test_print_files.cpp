#include <rtnmod08/ModuleError.h>
#include "printing/PrintDestinations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>

using namespace shop;

namespace {

// A disk that fills after `bytes`: writes beyond fail as on a full disk, for this
// process only, until the scope ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_saved{};
    void (*m_signal)(int) = nullptr;
};

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

TEST(PrintFiles, AFileIsReplacedWholeOrLeftAsItWasAndANewOneIsTheOwnersOnly)
{
    const QByteArray printout(64 * 1024, 'x');
    constexpr auto Owner = QFile::ReadOwner | QFile::WriteOwner;
    constexpr auto Shared = Owner | QFile::ReadGroup;
    const struct {
        const char *name;
        QByteArray before; // "<none>": no file there
        QFile::Permissions mode;
        rlim_t diskLeft;   // 0: room enough
        QByteArray after;
        QFile::Permissions modeAfter;
    } cases[] = {
        {"new", "<none>", {}, 0, printout, Owner},
        {"kept mode", "old printout\n", Shared, 0, printout, Shared},
        {"full disk, old file", "old printout\n", Shared, 4096, "old printout\n", Shared},
        {"full disk, no file", "<none>", {}, 4096, "<none>", {}},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("PurchaseReturn.txt");
        if (c.before != "<none>") {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.before);
            file.close();
            file.setPermissions(c.mode);
        }
        bool failed = false;
        {
            std::optional<FileSizeLimit> disk;
            if (c.diskLeft)
                disk.emplace(c.diskLeft);
            try {
                writePrintFile(path, printout);
            } catch (const ModuleError &e) {
                failed = true;
                EXPECT_TRUE(e.description().startsWith("Path/File access error: " + path)) << e.description().toStdString();
            }
        }
        EXPECT_EQ(failed, c.diskLeft != 0) << c.name;
        EXPECT_EQ(bytesOf(path), c.after) << c.name;
        if (c.after != "<none>") {
            EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), c.modeAfter) << c.name;
        }
        EXPECT_LE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << c.name << ": nothing left beside";
    }
}
