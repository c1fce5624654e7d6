#include "common/TestEnv.h"

#include "app/WindowRegistry.h"
#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "platform/Forms.h"
#include "platform/Settings.h"
#include "platform/preview/Printing.h"
#include "report/PreviewEntry.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::unique_ptr<QTemporaryDir> g_root;
QString g_workDir;
int g_testNumber = 0;
std::shared_ptr<ui::ScriptedServices> g_script;
std::unique_ptr<ProgramStateScope> g_state;

// Every window a test left behind goes, with what it holds open.
void DestroyWindows()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* f = qobject_cast<forms::Form*>(w); f && f->IsLoaded()) {
            try { f->Unload(); } catch (...) {}
        }
    }
    // A window may own another (a window with a parent is top-level too):
    // delete only the ones still there, owners first.
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) windows.append(w);
    for (const QPointer<QWidget>& w : windows)
        if (w && !w->parentWidget()) delete w.data();
    for (const QPointer<QWidget>& w : windows) delete w.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The window hooks a test may set, back to hooks that reach no test object;
// `showMainMenu` is what bringing the main menu back does.
void ResetHooks(std::function<void()> showMainMenu)
{
    SetShowMainMenuHandler(std::move(showMainMenu));
    forms::SetLastWindowHandler(nullptr);
    forms::SetEndProgramHandler(nullptr);
    forms::SetAvailableScreenArea(QRect());
    SetPreviewServices({});
    SetPreviewInfoDialogRunner(nullptr);
    SetPrintDialogRunner(nullptr);
    preview::SetPrintTarget(nullptr);
}

// Each test starts as a fresh program would: an empty working folder and
// settings folder of its own, a new program state, no windows, a new script
// of user answers and the default window hooks.
class IsolateEveryTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        const QString base = g_root->path() + QStringLiteral("/t%1").arg(++g_testNumber);
        g_workDir = base + QStringLiteral("/work");
        QDir().mkpath(g_workDir);
        QDir().mkpath(base + QStringLiteral("/config"));
        qputenv("XDG_CONFIG_HOME", (base + QStringLiteral("/config")).toLocal8Bit());
        reg::Reopen();
        QDir::setCurrent(g_workDir);
        g_state = std::make_unique<ProgramStateScope>();
        testenv::ResetScript();
        // The main menu comes back as the program brings it back.
        ResetHooks(nullptr);
    }

    void OnTestEnd(const ::testing::TestInfo&) override
    {
        // The test object is gone by now: hooks it set may point into it, so
        // the windows it left close with hooks that do nothing.
        ResetHooks([] {});
        DestroyWindows();
        g_state.reset();
        reg::Reopen();
        QDir::setCurrent(g_root->path());
    }
};

}  // namespace

namespace testenv {

QString WorkDir() { return g_workDir; }

QString MakeDir(const QString& name)
{
    QString p = WorkDir() + "/" + name;
    QDir().mkpath(p);
    return p;
}

ui::ScriptedServices& Script() { return *g_script; }

ui::ScriptedServices& ResetScript()
{
    g_script = std::make_shared<ui::ScriptedServices>();
    ui::SetCurrent(g_script);
    return *g_script;
}

QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QString FileHash(const QString& path)
{
    return QString::fromLatin1(QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha256).toHex());
}

QString SettingsFilePath() { return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/ZELKOVA/ZELKOVA.conf"); }

QString SettingOnDisk(const QString& key)
{
    const QString file = QString::fromUtf8(ReadFile(SettingsFilePath()));
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("(?m)^") + QRegularExpression::escape(key) + QStringLiteral("=(\\w+)")).match(file);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("<absent>");
}

void StorePlacement(const QString& section, const QStringList& keys, const QStringList& values)
{
    for (qsizetype k = 0; k < keys.size(); ++k) {
        if (values.isEmpty())
            reg::DeleteSetting(section, keys[k]);
        else
            reg::SaveSetting(section, keys[k], values[k]);
    }
}

void ExpectFrameAt(const StoredPlace& c, const QRect& frame)
{
    EXPECT_TRUE(c.screen.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height();
    // An edge, or the middle of the frame beside that of the area (within a
    // pixel, as halves of the sizes round).
    auto expectAt = [](int wanted, int near, int far, int middle, int areaFar, int areaMiddle) {
        if (wanted == kCentred)
            EXPECT_LE(std::abs(middle - areaMiddle), 1) << middle << " for " << areaMiddle;
        else if (wanted == kFarEdge)
            EXPECT_EQ(far, areaFar);
        else
            EXPECT_EQ(near, wanted);
    };
    expectAt(c.frameLeft, frame.left(), frame.right(), frame.center().x(), c.screen.right(), c.screen.center().x());
    expectAt(c.frameTop, frame.top(), frame.bottom(), frame.center().y(), c.screen.bottom(), c.screen.center().y());
}

}  // namespace testenv

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    g_root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/zelkova-test-XXXXXX");
    qputenv("XDG_CONFIG_HOME", (g_root->path() + "/config").toLocal8Bit());
    QDir::setCurrent(g_root->path());
    QApplication app(argc, argv);
    RegisterProgramWindows();
    ::testing::UnitTest::GetInstance()->listeners().Append(new IsolateEveryTest);
    return RUN_ALL_TESTS();
}
