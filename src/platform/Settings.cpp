#include "platform/Settings.h"

#include "platform/Runtime.h"
#include "platform/SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>

#include <cmath>
#include <memory>
#include <optional>

namespace reg {

namespace {

// Every value by its full stored name ("Input/Ramen/Zoom"), in the order of
// the names, as QSettings keeps them.
using Values = QMap<QString, QVariant>;

// The settings of the program, held in memory. The file is the user's
// "ZELKOVA/ZELKOVA.conf" under the configuration folder ($XDG_CONFIG_HOME),
// in QSettings' INI format; it is read once and written only whole, through
// the safe writer, so a full disk never leaves it empty or cut short.
struct Store {
    QString path;
    Values values;
    bool changed = false;      // values differ from the file
    bool unreadable = false;   // the file is there but could not be read
    bool writePosted = false;  // a write waits for the event loop
};

std::unique_ptr<Store>& StoreSlot()
{
    static std::unique_ptr<Store> store;
    return store;
}

Store& CurrentStore()
{
    std::unique_ptr<Store>& store = StoreSlot();
    if (!store) {
        store = std::make_unique<Store>();
        // Named explicitly: Qt 6 would name a user-scope INI file ".ini".
        store->path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                      + QStringLiteral("/ZELKOVA/ZELKOVA.conf");
        if (QFileInfo::exists(store->path)) {
            QSettings file(store->path, QSettings::IniFormat);
            const QStringList keys = file.allKeys();
            // A file that cannot be read is never replaced by what little
            // this run would put in it.
            store->unreadable = file.status() == QSettings::AccessError;
            for (const QString& key : keys) store->values.insert(key, file.value(key));
        }
    }
    return *store;
}

// The file's bytes for `values`, as QSettings writes them; nothing when they
// cannot be made, or when reading them back does not give every value.
std::optional<QByteArray> SettingsFileBytes(const Values& values)
{
    if (values.isEmpty()) return QByteArray();
    QTemporaryDir scratch(QDir::tempPath() + QStringLiteral("/zelkova-settings-XXXXXX"));
    if (!scratch.isValid()) return std::nullopt;
    const QString written = scratch.filePath(QStringLiteral("written.conf"));
    const QString reread = scratch.filePath(QStringLiteral("reread.conf"));
    {
        QSettings out(written, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it) out.setValue(it.key(), it.value());
        out.sync();
        if (out.status() != QSettings::NoError) return std::nullopt;
    }
    // Under a name QSettings has not seen, the check parses the bytes on
    // disk, not what QSettings remembers of the file it wrote: QSettings
    // does not learn of a write that failed at the flush.
    if (!QFile::rename(written, reread)) return std::nullopt;
    QFile file(reread);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    file.close();

    QSettings check(reread, QSettings::IniFormat);
    const QStringList keys = check.allKeys();
    if (check.status() != QSettings::NoError || keys.size() != values.size()) return std::nullopt;
    for (const QString& key : keys)
        if (!values.contains(key) || check.value(key) != values.value(key)) return std::nullopt;
    return bytes;
}

bool WriteStore(Store& store)
{
    if (!store.changed) return true;
    if (store.unreadable) return false;
    const std::optional<QByteArray> bytes = SettingsFileBytes(store.values);
    if (!bytes) return false;
    QDir().mkpath(QFileInfo(store.path).absolutePath());
    if (!files::WriteWholeFile(store.path, *bytes)) return false;
    store.changed = false;
    return true;
}

// Changes reach the file from the event loop too, as soon as the program
// waits for the user, not only at the program's end.
void MarkChanged(Store& store)
{
    store.changed = true;
    if (store.writePosted || !QCoreApplication::instance()) return;
    store.writePosted = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        if (!StoreSlot()) return;
        StoreSlot()->writePosted = false;
        WriteStore(*StoreSlot());
    });
}

bool SameSegments(const QStringList& segments, const QStringList& group)
{
    for (qsizetype i = 0; i < group.size(); ++i)
        if (segments[i] != group[i]) return false;
    return true;
}

// The stored spelling of the group `name` directly under `parent`, matched
// without regard to case, or an empty text when there is none.
QString ChildGroup(const Values& values, const QStringList& parent, const QString& name)
{
    for (auto it = values.keyBegin(); it != values.keyEnd(); ++it) {
        const QStringList segments = it->split(u'/');
        if (segments.size() > parent.size() + 1 && SameSegments(segments, parent)
            && segments[parent.size()].compare(name, Qt::CaseInsensitive) == 0)
            return segments[parent.size()];
    }
    return QString();
}

// The stored spelling of a section ("Input\Ramen" is the sub-section Ramen of
// Input), each level matched without regard to case; levels not stored yet
// keep the spelling asked for.
QStringList GroupPath(const Values& values, const QString& section)
{
    QStringList resolved;
    bool exists = true;
    for (const QString& part : section.split(u'\\', Qt::SkipEmptyParts)) {
        QString found = exists ? ChildGroup(values, resolved, part) : QString();
        if (found.isEmpty()) {
            exists = false;
            found = part;
        }
        resolved << found;
    }
    return resolved;
}

// The full stored name of a value, or an empty text when it is absent.
QString ExistingKey(const Values& values, const QString& section, const QString& key)
{
    const QStringList group = GroupPath(values, section);
    for (auto it = values.keyBegin(); it != values.keyEnd(); ++it) {
        const QStringList segments = it->split(u'/');
        if (segments.size() == group.size() + 1 && SameSegments(segments, group)
            && segments.last().compare(key, Qt::CaseInsensitive) == 0)
            return *it;
    }
    return QString();
}

}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    const Values& values = CurrentStore().values;
    const QString k = ExistingKey(values, section, key);
    if (k.isEmpty()) return defaultValue;
    const QVariant v = values.value(k);
    // A hand-edited file may hold a list ("a, b"); read it back as written.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    Store& store = CurrentStore();
    QString k = ExistingKey(store.values, section, key);
    if (k.isEmpty()) k = (GroupPath(store.values, section) << key).join(u'/');
    const QVariant v(value);
    if (store.values.contains(k) && store.values.value(k) == v && store.values.value(k).typeId() == v.typeId()) return;
    store.values.insert(k, v);
    MarkChanged(store);
}

void DeleteSetting(const QString& section, const QString& key)
{
    Store& store = CurrentStore();
    const QString k = ExistingKey(store.values, section, key);
    if (k.isEmpty()) return;
    store.values.remove(k);
    MarkChanged(store);
}

bool HasSetting(const QString& section, const QString& key)
{
    return !ExistingKey(CurrentStore().values, section, key).isEmpty();
}

bool GetBool(const QString& section, const QString& key, bool defaultValue)
{
    if (!HasSetting(section, key)) return defaultValue;
    return rt::ReadBool(GetSetting(section, key), defaultValue);
}

void SaveBool(const QString& section, const QString& key, bool value)
{
    SaveSetting(section, key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

double GetNumber(const QString& section, const QString& key, double defaultValue)
{
    const QString text = GetSetting(section, key);
    if (!rt::IsNumeric(text)) return defaultValue;
    return rt::Variant::Text(text).toDouble();
}

int GetInteger(const QString& section, const QString& key, int defaultValue)
{
    const QString text = GetSetting(section, key);
    if (!rt::IsNumeric(text)) return defaultValue;
    const double v = rt::Variant::Text(text).toDouble();
    if (v != std::floor(v) || v < -32768.0 || v > 32767.0) return defaultValue;
    return static_cast<int>(v);
}

bool Sync()
{
    return WriteStore(CurrentStore());
}

void Reopen()
{
    if (StoreSlot()) WriteStore(*StoreSlot());
    StoreSlot().reset();
}

}  // namespace reg
