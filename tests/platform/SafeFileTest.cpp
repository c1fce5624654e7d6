// The safe writer: a writer killed before it commits leaves the old file and
// nothing beside it; a commit replaces the file whole.
#include "platform/SafeFile.h"

#include "common/TestEnv.h"

#include <QDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

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
