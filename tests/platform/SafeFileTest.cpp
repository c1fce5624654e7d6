// The safe writer: a writer killed before it commits leaves the old file and
// nothing beside it; a commit replaces the file whole, and a symbolic link in
// its place is followed or replaced as the caller asks. The folder lock that
// copies of the program take in turn.
#include "platform/SafeFile.h"

#include "common/LockHolder.h"
#include "common/TestEnv.h"
#include "platform/FolderLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using testenv::FilesIn;

TEST(SafeFile, AWriterKilledBeforeItsCommitLeavesNothingBeside)
{
    const QString dir = testenv::MakeDir(QStringLiteral("killed"));
    const QString target = dir + QStringLiteral("/report.pdf");
    const QByteArray old("the file before");
    ASSERT_TRUE(testenv::WriteFile(target, old));

    for (const bool synced : {false, true}) {
        SCOPED_TRACE(synced ? "killed after a sync" : "killed while writing");
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            files::SafeFile file(target);
            const QByteArray block(64 * 1024, 'n');
            if (!file.Open()) _exit(1);
            for (int i = 0; i < 16; ++i) file.Write(block.constData(), static_cast<size_t>(block.size()));
            if (synced) ::sync();
            ::raise(SIGKILL);
            _exit(2);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("report.pdf")});
        EXPECT_EQ(testenv::ReadFile(target), old);
    }

    // Committed, the new file takes the name and nothing else is left.
    const QByteArray fresh(100000, 'f');
    ASSERT_TRUE(files::WriteWholeFile(target, fresh));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("report.pdf")});
    EXPECT_EQ(testenv::ReadFile(target), fresh);
}

namespace {

// The events on the names in `dir` while `act` runs, in order: each a name
// and its inotify event mask.
std::vector<std::pair<QString, uint32_t>> EventsWhile(const QString& dir, const std::function<void()>& act)
{
    std::vector<std::pair<QString, uint32_t>> events;
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    EXPECT_GE(fd, 0);
    EXPECT_GE(inotify_add_watch(fd, QFile::encodeName(dir).constData(), IN_ALL_EVENTS), 0);
    act();
    alignas(inotify_event) char buffer[64 * 1024];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (const char* p = buffer; p < buffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len > 0) events.emplace_back(QFile::decodeName(e->name), e->mask);
            p += sizeof(inotify_event) + e->len;
        }
    }
    ::close(fd);
    return events;
}

}  // namespace

// The new file is whole, synced and given the old file's permissions before
// it has a name; named, it is only renamed, so a writer killed at any step
// leaves nothing beside the target but in the rename itself.
TEST(SafeFile, TheNamedFileIsOnlyRenamed)
{
    const QString dir = testenv::MakeDir(QStringLiteral("named"));
    const int unnamed = ::open(QFile::encodeName(dir).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (unnamed < 0) GTEST_SKIP() << "no unnamed files on this file system";
    ::close(unnamed);
    const QString target = dir + QStringLiteral("/report.pdf");
    ASSERT_TRUE(testenv::WriteFile(target, "the file before"));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const QByteArray fresh(100000, 'f');

    const auto events = EventsWhile(dir, [&] { EXPECT_TRUE(files::WriteWholeFile(target, fresh)); });
    QString temporary;
    std::vector<uint32_t> onTemporary;
    for (const auto& [name, mask] : events) {
        if (!files::IsTemporaryNameOf(name, QStringLiteral("report.pdf"))) continue;
        temporary = name;
        onTemporary.push_back(mask & ~IN_ISDIR);
    }
    EXPECT_FALSE(temporary.isEmpty());
    EXPECT_EQ(onTemporary, (std::vector<uint32_t>{IN_CREATE, IN_MOVED_FROM}));

    EXPECT_EQ(testenv::ReadFile(target), fresh);
    struct stat now {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &now), 0);
    EXPECT_EQ(now.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("report.pdf")});
}

// The safe writer's temporary names carry the program's mark, so that a
// sweep never takes a user's dated or numbered copy for one; only the exact
// name counts.
TEST(SafeFile, ATemporaryNameIsTheTargetTheMarkAndEightDigitsExactly)
{
    const struct {
        const char* name;
        const char* target;
        bool temporary;
    } cases[] = {
        {"pif.~zelkova-tmp-0123abcd", "pif", true},
        {"ZELKOVA.conf.~zelkova-tmp-89abcdef", "ZELKOVA.conf", true},
        {"/home/u/report.pdf.~zelkova-tmp-00000000", "/home/u/report.pdf", true},
        {"ZelkovaOpen-0123abcd.~zelkova-tmp.~zelkova-tmp-fedcba98", "ZelkovaOpen-0123abcd.~zelkova-tmp", true},
        {"pif.20250107", "pif", false},
        {"pif.0123abcd", "pif", false},
        {"ZELKOVA.conf.20250107", "ZELKOVA.conf", false},
        {"ZELKOVA.conf.12345678", "ZELKOVA.conf", false},
        {"pif.~zelkova-tmp-0123abcd\n", "pif", false},
        {"pif.~zelkova-tmp-0123abc\n", "pif", false},
        {"\npif.~zelkova-tmp-0123abcd", "pif", false},
        {"pif.~zelkova-tmp-0123ABCD", "pif", false},
        {"pif.~zelkova-tmp-0123abc", "pif", false},
        {"pif.~zelkova-tmp-0123abcde", "pif", false},
        {"pif.~zelkova-tmp-0123abcd.txt", "pif", false},
        {"pif.~zelkova-tmp0123abcd", "pif", false},
        {"pif.~ZELKOVA-TMP-0123abcd", "pif", false},
        {"mypif.~zelkova-tmp-0123abcd", "pif", false},
        {"vpf.~zelkova-tmp-0123abcd", "pif", false},
        {"pif.~zelkova-tmp-0123abcd", "pif.~zelkova-tmp-0123abcd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(files::IsTemporaryNameOf(QString::fromUtf8(c.name), QString::fromUtf8(c.target)), c.temporary)
            << c.name;

    const QString target = QStringLiteral("folder/vpf");
    const QString first = files::TemporaryNameOf(target);
    EXPECT_TRUE(files::IsTemporaryNameOf(first, target)) << first.toStdString();
    EXPECT_TRUE(first.startsWith(QStringLiteral("folder/vpf.~zelkova-tmp-"))) << first.toStdString();
    EXPECT_NE(files::TemporaryNameOf(target), first);
}

// A symbolic link in the target's place: followed for a file the user chose
// (the link stays and the file it points to is replaced, or made when it is
// not there yet), or replaced itself for the program's own files (what it
// points to stays as it was, or missing). A loop of links is not written.
TEST(SafeFile, ALinkIsFollowedOrReplacedAsTheCallerAsks)
{
    const struct {
        const char* what;
        files::Link link;
        bool pointedThere;
        bool followed;
    } cases[] = {{"followed", files::Link::Follow, true, true},
                 {"followed to a file not made yet", files::Link::Follow, false, true},
                 {"replaced", files::Link::Replace, true, false},
                 {"replaced, pointing to no file", files::Link::Replace, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString work = testenv::MakeDir(QStringLiteral("link-%1/work").arg(c.what));
        const QString elsewhere = testenv::MakeDir(QStringLiteral("link-%1/elsewhere").arg(c.what));
        const QString pointed = elsewhere + QStringLiteral("/kept");
        const QString name = work + QStringLiteral("/file");
        const QByteArray old("what the link points to");
        if (c.pointedThere) {
            ASSERT_TRUE(testenv::WriteFile(pointed, old));
        }
        ASSERT_TRUE(QFile::link(pointed, name));

        const QByteArray fresh("written");
        ASSERT_TRUE(files::WriteWholeFile(name, fresh, nullptr, c.link));
        EXPECT_EQ(testenv::ReadFile(name), fresh);
        EXPECT_EQ(QFileInfo(name).isSymLink(), c.followed);
        EXPECT_EQ(testenv::ReadFile(pointed), c.followed ? fresh : c.pointedThere ? old : QByteArray());
        EXPECT_EQ(FilesIn(work), QStringList{QStringLiteral("file")});
        EXPECT_EQ(FilesIn(elsewhere), c.followed || c.pointedThere ? QStringList{QStringLiteral("kept")} : QStringList{});
    }

    const QString loop = testenv::MakeDir(QStringLiteral("loop"));
    ASSERT_TRUE(QFile::link(loop + QStringLiteral("/b"), loop + QStringLiteral("/a")));
    ASSERT_TRUE(QFile::link(loop + QStringLiteral("/a"), loop + QStringLiteral("/b")));
    QString error;
    EXPECT_FALSE(files::WriteWholeFile(loop + QStringLiteral("/a"), "written", &error));
    EXPECT_TRUE(error.endsWith(QString::fromLocal8Bit(std::strerror(ELOOP)))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(loop + QStringLiteral("/a")).isSymLink());
    EXPECT_EQ(FilesIn(loop), QStringList({QStringLiteral("a"), QStringLiteral("b")}));
}

// A lock that another copy lets go of while this one waits is held, and no
// longer counts as held elsewhere; one still held is reported as such.
TEST(FolderLock, ALockLetGoOfWhileWaitingIsHeld)
{
    const QString folder = testenv::MakeDir("locked");
    {
        testenv::LockHolder other(folder, -1);
        ASSERT_TRUE(other.Holding());
        const files::FolderLock refused(folder);
        EXPECT_FALSE(refused.Held());
        EXPECT_TRUE(refused.HeldElsewhere());
    }
    testenv::LockHolder other(folder, 200);
    ASSERT_TRUE(other.Holding());
    const files::FolderLock waited(folder, 5000);
    EXPECT_TRUE(waited.Held());
    EXPECT_FALSE(waited.HeldElsewhere());
}
