#include "common/TestEnv.h"

#include "app/WindowRegistry.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {
std::unique_ptr<QTemporaryDir> g_root;
std::shared_ptr<ui::ScriptedServices> g_script;
}

namespace testenv {

QString WorkDir() { return g_root->path() + QStringLiteral("/work"); }

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

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

QString FileHash(const QString& path)
{
    return QString::fromLatin1(QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha256).toHex());
}

}  // namespace testenv

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Each process gets its own folder and settings, never the user's.
    g_root = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/zelkova-test-XXXXXX");
    QDir().mkpath(g_root->path() + "/work");
    QDir().mkpath(g_root->path() + "/config");
    qputenv("XDG_CONFIG_HOME", (g_root->path() + "/config").toLocal8Bit());
    QDir::setCurrent(g_root->path() + "/work");
    QApplication app(argc, argv);
    RegisterProgramWindows();
    testenv::ResetScript();
    return RUN_ALL_TESTS();
}
