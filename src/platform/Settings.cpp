#include "platform/Settings.h"

#include "platform/FolderLock.h"
#include "platform/OwnFile.h"
#include "platform/Runtime.h"
#include "platform/SafeFile.h"
#include "platform/SettingsText.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QStringList>
#include <QTimer>

#include <cerrno>
#include <cmath>
#include <memory>
#include <optional>

namespace reg {

namespace {

struct Entry {
    QString name;   // the full name, spelt as stored ("Input/Ramen/Zoom")
    QString value;
};

// The settings of the program, held in memory. The file is the user's
// "ZELKOVA/ZELKOVA.conf" under the configuration folder ($XDG_CONFIG_HOME).
// Another running copy of the program, or the user, may change the file at
// any time: each write reads it afresh and applies only the values this run
// changed since its last write, so that nothing stored meanwhile is reverted.
struct Store {
    QString path;
    QHash<QString, Entry> values;        // by full name in lower case
    QList<text::Change> pending;         // not yet in the file, in their order
    bool writePosted = false;            // a write waits for the event loop
    bool retryPosted = false;            // a write waits for another copy to finish
};

std::unique_ptr<Store>& StoreSlot()
{
    static std::unique_ptr<Store> store;
    return store;
}

QString SettingsFileName() { return QStringLiteral("ZELKOVA.conf"); }
QString FolderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

// How long a write that cannot wait waits while another copy writes.
constexpr int kLockWaitMs = 5000;
// When a write that can wait tries again after another copy held the file.
constexpr int kRetryMs = 1000;

// "Input\Ramen" and "Zoom" as the full name "Input/Ramen/Zoom".
QString FullName(const QString& section, const QString& key)
{
    QStringList levels = section.split(u'\\', Qt::SkipEmptyParts);
    levels << key;
    return levels.join(u'/');
}

QHash<QString, Entry> ValuesOf(const QByteArray& text)
{
    QHash<QString, Entry> values;
    for (auto& [name, value] : text::Values(text)) values.insert(name.toLower(), Entry{name, value});
    return values;
}

// A copy of the program reads and replaces the settings file only while it
// holds the lock on the settings folder, which every copy of that
// configuration shares, and then, where the file at the end of the links
// lies in another folder, the lock on that folder, which every copy writing
// that file shares, whatever its settings folder. The locks are taken in
// this order alone, so that copies sharing one file never wait for each
// other in a circle. This is the second lock; where the file lies in the
// settings folder, that folder's lock is the one lock.
class LockOfTheFilesFolder {
public:
    LockOfTheFilesFolder(const QString& settingsFolder, const QString& file, int waitMs)
    {
        if (!files::SameFolder(settingsFolder, FolderOf(file))) lock_.emplace(FolderOf(file), waitMs);
    }
    bool Held() const { return !lock_ || lock_->Held(); }
    bool HeldElsewhere() const { return lock_ && lock_->HeldElsewhere(); }

private:
    std::optional<files::FolderLock> lock_;
};

// Removes the safe writer's temporary files of `file`, which bear its mark,
// beside it.
void RemoveTemporaryFilesOf(const QString& file)
{
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (files::IsTemporaryNameOf(name, info.fileName())) QFile::remove(folder.filePath(name));
}

// Removes what a write killed on the way left in the settings folder and,
// where the settings file is a link, beside the file it points to. Under the
// locks a write holds, so that a write of another running copy keeps its
// file; skipped while one writes.
void RemoveLeftoverTemporaryFiles(const QString& path)
{
    const files::FolderLock lock(FolderOf(path));
    if (!lock.Held()) return;
    RemoveTemporaryFilesOf(path);
    const std::optional<QString> file = files::FileAtEndOfLinks(path);
    if (!file || *file == path) return;
    if (const LockOfTheFilesFolder fileLock(FolderOf(path), *file, 0); fileLock.Held()) RemoveTemporaryFilesOf(*file);
}

Store& CurrentStore()
{
    std::unique_ptr<Store>& store = StoreSlot();
    if (!store) {
        store = std::make_unique<Store>();
        store->path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                      + QStringLiteral("/ZELKOVA/") + SettingsFileName();
        RemoveLeftoverTemporaryFiles(store->path);
        // Any other thing than a file, or no file at all, gives the defaults.
        if (const std::optional<QString> file = files::FileAtEndOfLinks(store->path)) {
            QByteArray bytes;
            if (files::ReadOwnFile(*file, bytes) == files::OwnFileRead::Read) store->values = ValuesOf(bytes);
        }
    }
    return *store;
}

// True when `values` show every change: a value set reads back as the same
// text, a value removed is gone.
bool ShowsChanges(const QHash<QString, Entry>& values, const QList<text::Change>& changes)
{
    for (const text::Change& change : changes) {
        const auto it = values.constFind(change.name.toLower());
        if (change.value ? it == values.cend() || it->value != *change.value : it != values.cend()) return false;
    }
    return true;
}

// Puts the pending changes into the file as it is now, under the locks,
// waiting up to `waitMs` for both together. The new bytes go through the
// safe writer: the file is replaced whole or not at all. Through a link, the
// file it points to is written, and made when it is not there yet; a folder
// missing there is not made. Anything but a file is left as it is.
WriteResult WriteStore(Store& store, int waitMs)
{
    if (store.pending.isEmpty()) return WriteResult::Written;
    if (!QDir().mkpath(FolderOf(store.path))) return WriteResult::Failed;
    // Where the file system has no such locks, the write goes on without.
    const QDeadlineTimer deadline(waitMs, Qt::PreciseTimer);
    const files::FolderLock lock(FolderOf(store.path), waitMs);
    if (lock.HeldElsewhere()) return WriteResult::Busy;
    const std::optional<QString> file = files::FileAtEndOfLinks(store.path);
    if (!file) return errno == ELOOP ? WriteResult::LinkLoop : WriteResult::Failed;
    const LockOfTheFilesFolder fileLock(FolderOf(store.path), *file, static_cast<int>(deadline.remainingTime()));
    if (fileLock.HeldElsewhere()) return WriteResult::Busy;
    // The end of the links is no link itself: nothing but a file is read.
    QByteArray current;
    switch (files::ReadOwnFile(*file, current)) {
    case files::OwnFileRead::NotAFile:
        return WriteResult::NotAFile;
    case files::OwnFileRead::Failed:
        return WriteResult::Failed;
    case files::OwnFileRead::Absent:
    case files::OwnFileRead::Read:
        break;
    }
    const QByteArray next = text::WithChanges(current, store.pending);
    QHash<QString, Entry> values = ValuesOf(next);
    // The edit keeps other lines as they stand; what it made must read back.
    if (!ShowsChanges(values, store.pending)) return WriteResult::Failed;
    if (next != current && !files::WriteWholeFile(*file, next)) return WriteResult::Failed;
    // What the file holds now, other runs' values included.
    store.values = std::move(values);
    store.pending.clear();
    return WriteResult::Written;
}

void PostWrite(Store& store);

// The event loop's write: it does not wait for another copy of the program;
// while one writes, the changes stay pending and are tried again shortly.
void WritePending()
{
    Store* store = StoreSlot().get();
    if (!store) return;
    store->writePosted = false;
    if (WriteStore(*store, 0) != WriteResult::Busy || store->retryPosted || !QCoreApplication::instance()) return;
    store->retryPosted = true;
    QTimer::singleShot(kRetryMs, QCoreApplication::instance(), [] {
        if (!StoreSlot()) return;
        StoreSlot()->retryPosted = false;
        PostWrite(*StoreSlot());
    });
}

// Changes reach the file from the event loop too, as soon as the program
// waits for the user, not only at the program's end.
void PostWrite(Store& store)
{
    if (store.writePosted || store.pending.isEmpty() || !QCoreApplication::instance()) return;
    store.writePosted = true;
    QTimer::singleShot(0, QCoreApplication::instance(), WritePending);
}

void MarkChanged(Store& store, const QString& name, std::optional<QString> value)
{
    store.pending.removeIf([&name](const text::Change& c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
    store.pending.append(text::Change{name, std::move(value)});
    PostWrite(store);
}

// The stored spelling of a value's name, or the one asked for.
QString StoredName(const Store& store, const QString& section, const QString& key)
{
    const QString name = FullName(section, key);
    const auto it = store.values.constFind(name.toLower());
    return it == store.values.cend() ? name : it->name;
}

}  // namespace

QString GetSetting(const QString& section, const QString& key, const QString& defaultValue)
{
    const Store& store = CurrentStore();
    const auto it = store.values.constFind(FullName(section, key).toLower());
    return it == store.values.cend() ? defaultValue : it->value;
}

void SaveSetting(const QString& section, const QString& key, const QString& value)
{
    Store& store = CurrentStore();
    const QString name = StoredName(store, section, key);
    store.values.insert(name.toLower(), Entry{name, value});
    // Written even when the value seems the same: another run may have
    // stored another one meanwhile.
    MarkChanged(store, name, value);
}

WriteResult SaveSettingAtOnce(const QString& section, const QString& key, const QString& value)
{
    Store& store = CurrentStore();
    const QHash<QString, Entry> values = store.values;
    const QList<text::Change> pending = store.pending;
    SaveSetting(section, key, value);
    const WriteResult result = WriteStore(store, kLockWaitMs);
    if (result != WriteResult::Written) {
        store.values = values;
        store.pending = pending;
    }
    return result;
}

void DeleteSetting(const QString& section, const QString& key)
{
    Store& store = CurrentStore();
    const QString name = StoredName(store, section, key);
    store.values.remove(name.toLower());
    // Removed from the file too when another run stored it meanwhile.
    MarkChanged(store, name, std::nullopt);
}

bool HasSetting(const QString& section, const QString& key)
{
    return CurrentStore().values.contains(FullName(section, key).toLower());
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

std::optional<double> GetNumberIfStored(const QString& section, const QString& key)
{
    const QString text = GetSetting(section, key);
    if (!rt::IsNumeric(text)) return std::nullopt;
    return rt::Variant::Text(text).toDouble();
}

double GetNumber(const QString& section, const QString& key, double defaultValue)
{
    return GetNumberIfStored(section, key).value_or(defaultValue);
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
    return WriteStore(CurrentStore(), kLockWaitMs) == WriteResult::Written;
}

bool SyncIfFree()
{
    Store& store = CurrentStore();
    const WriteResult result = WriteStore(store, 0);
    if (result == WriteResult::Busy) PostWrite(store);
    return result == WriteResult::Written;
}

QString FilePath()
{
    const QString& path = CurrentStore().path;
    return files::FileAtEndOfLinks(path).value_or(path);
}

void Reopen()
{
    if (StoreSlot()) WriteStore(*StoreSlot(), kLockWaitMs);
    StoreSlot().reset();
}

}  // namespace reg
